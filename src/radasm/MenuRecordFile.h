// Byte layout of RadASM's menu record file: a 40-byte MenuHeader followed by
// one 120-byte MenuItemRecord per pop-up and command.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/ImageBytes.h"

namespace trellane {

namespace MenuHeader {
constexpr std::size_t Size = 40;
constexpr std::size_t resourceName = 0;  // text slot
constexpr std::size_t resourceNameWidth = 32;
constexpr std::size_t resourceId = 32;   // 32-bit
constexpr std::size_t followingId = 36;  // 16-bit
constexpr std::size_t fixedValue = 38;   // 16-bit, always 100
constexpr std::uint32_t FixedValue = 100;
}  // namespace MenuHeader

namespace MenuItemRecord {
constexpr std::size_t Size = 120;
constexpr std::size_t itemTag = 0;  // 8-bit, always 1
constexpr std::size_t identifierName = 4;
constexpr std::size_t identifierNameWidth = 32;
constexpr std::size_t identifier = 36;  // 32-bit
constexpr std::size_t caption = 40;
constexpr std::size_t captionWidth = 64;
constexpr std::size_t level = 104;     // signed 16-bit
constexpr std::size_t flags = 112;     // 16-bit
constexpr std::size_t shortcut = 116;  // 16-bit
}  // namespace MenuItemRecord

// Bits of MenuItemRecord::flags.
namespace MenuItemFlag {
constexpr std::uint32_t Checked = 0x01;
constexpr std::uint32_t Grayed = 0x02;
constexpr std::uint32_t RightJustify = 0x04;
constexpr std::uint32_t RadioCheck = 0x08;
constexpr std::uint32_t Disabled = 0x10;
constexpr std::uint32_t OwnerDraw = 0x20;
constexpr std::uint32_t RightOrder = 0x40;
}  // namespace MenuItemFlag

// Modifier bits in the high byte of a shortcut code.
namespace ShortcutModifier {
constexpr std::uint32_t Shift = 0x100;
constexpr std::uint32_t Ctrl = 0x200;
constexpr std::uint32_t Alt = 0x400;
}  // namespace ShortcutModifier

constexpr std::size_t MenuImageSize(std::size_t itemCount) {
  return MenuHeader::Size + MenuItemRecord::Size * itemCount;
}

constexpr std::size_t MenuItemOffset(std::size_t index) {
  return MenuHeader::Size + MenuItemRecord::Size * index;
}

struct AccelKey {
  std::string_view name;  // lower case
  std::uint32_t code;
};

// The 75 key names in the order in which they are tried: longer names stand
// before the shorter names they contain.
extern const std::array<AccelKey, 75> AccelKeyTable;

}  // namespace trellane
