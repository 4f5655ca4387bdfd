#include "script/ResourceModel.h"

#include <cstring>

namespace trellane {
namespace {

constexpr std::size_t BlockSize = std::size_t{64} << 10;

}  // namespace

char* TextStore::Place(std::size_t size) {
  if (size > left) {
    // A text of more than a quarter block gets a block of its own, so the
    // rest of the current one is not given up for it.
    const std::size_t blockSize = size > BlockSize / 4 ? size : BlockSize;
    blocks.push_back(std::make_unique_for_overwrite<char[]>(blockSize));
    if (blockSize != BlockSize)
      return blocks.back().get();
    next = blocks.back().get();
    left = blockSize;
  }
  char* place = next;
  next += size;
  left -= size;
  return place;
}

std::string_view TextStore::Keep(std::string_view text) {
  if (text.empty())
    return {};
  char* place = Place(text.size());
  std::memcpy(place, text.data(), text.size());
  return {place, text.size()};
}

std::span<const std::uint8_t> TextStore::Keep(std::span<const std::uint8_t> bytes) {
  if (bytes.empty())
    return {};
  char* place = Place(bytes.size());
  std::memcpy(place, bytes.data(), bytes.size());
  return {reinterpret_cast<const std::uint8_t*>(place), bytes.size()};
}

std::uint32_t Dialog::TemplateStyle() const {
  constexpr std::uint32_t DefaultStyle = 0x80880000;  // WS_POPUP | WS_BORDER | WS_SYSMENU
  constexpr std::uint32_t WsCaption = 0x00C00000;
  constexpr std::uint32_t DsSetFont = 0x40;
  std::uint32_t used = style ? style->value : DefaultStyle;
  if (font)
    used |= DsSetFont;
  else
    used &= ~DsSetFont;
  if (caption)
    used |= WsCaption;
  return used;
}

}  // namespace trellane
