#include "text/ImageBytes.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace trellane {
namespace {

std::uint32_t LoadLittleEndian(const Image& image, std::size_t offset, std::size_t width) {
  if (offset > image.size() || width > image.size() - offset)
    throw std::out_of_range("load outside the image");
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i)
    value |= static_cast<std::uint32_t>(image[offset + i]) << (8 * i);
  return value;
}

// Copies the part of text that fits a slot of width bytes and returns how
// many bytes that is and whether all of text fitted.
std::pair<std::size_t, bool> CopyText(Image& image, std::size_t offset, std::size_t width, std::string_view text) {
  if (width == 0 || offset > image.size() || width > image.size() - offset)
    throw std::out_of_range("text slot outside the image");
  // memchr and memcpy take a text in words, where a loop takes it byte by byte.
  const std::size_t limit = std::min(text.size(), width - 1);
  const void* const zero = limit > 0 ? std::memchr(text.data(), '\0', limit) : nullptr;
  const std::size_t kept = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text.data()) : limit;
  if (kept > 0)
    std::memcpy(image.data() + offset, text.data(), kept);
  return {kept, kept == text.size() || text[kept] == '\0'};
}

}  // namespace

void ThrowStoreOutside() {
  throw std::out_of_range("store outside the image");
}

bool StoreText(Image& image, std::size_t offset, std::size_t width, std::string_view text) {
  const auto [kept, whole] = CopyText(image, offset, width, text);
  std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(offset + kept), width - kept, std::uint8_t{0});
  return whole;
}

bool StoreTextOnZeros(Image& image, std::size_t offset, std::size_t width, std::string_view text) {
  return CopyText(image, offset, width, text).second;
}

std::uint32_t LoadU16(const Image& image, std::size_t offset) {
  return LoadLittleEndian(image, offset, 2);
}

std::uint32_t LoadU32(const Image& image, std::size_t offset) {
  return LoadLittleEndian(image, offset, 4);
}

std::string_view LoadText(const Image& image, std::size_t offset, std::size_t width) {
  if (offset > image.size() || width > image.size() - offset)
    throw std::out_of_range("text slot outside the image");
  const char* begin = reinterpret_cast<const char*>(image.data() + offset);
  std::size_t length = 0;
  while (length < width && begin[length] != '\0')
    ++length;
  return std::string_view(begin, length);
}

}  // namespace trellane
