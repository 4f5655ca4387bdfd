// Little-endian stores and zero-terminated text slots in an output image.
// Every store is bounds-checked against the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace trellane {

using Image = std::vector<std::uint8_t>;

// Throws std::out_of_range for a store outside the image.
[[noreturn]] void ThrowStoreOutside();

// Inline: converters store several fields per record.
inline void StoreLittleEndian(Image& image, std::size_t offset, std::uint32_t value, std::size_t width) {
  if (offset > image.size() || width > image.size() - offset)
    ThrowStoreOutside();
  for (std::size_t i = 0; i < width; ++i)
    image[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void StoreU8(Image& image, std::size_t offset, std::uint32_t value) {
  StoreLittleEndian(image, offset, value, 1);
}

inline void StoreU16(Image& image, std::size_t offset, std::uint32_t value) {
  StoreLittleEndian(image, offset, value, 2);
}

inline void StoreU32(Image& image, std::size_t offset, std::uint32_t value) {
  StoreLittleEndian(image, offset, value, 4);
}

// Copies text (up to its first zero byte) into a slot of width bytes, cut to
// width - 1 bytes so the slot always ends in a zero. Returns false when the
// text had to be cut.
bool StoreText(Image& image, std::size_t offset, std::size_t width, std::string_view text);

std::uint32_t LoadU16(const Image& image, std::size_t offset);
std::uint32_t LoadU32(const Image& image, std::size_t offset);
// The zero-terminated text of a slot.
std::string_view LoadText(const Image& image, std::size_t offset, std::size_t width);

}  // namespace trellane
