// Byte layout of RadASM's dialog record file: a 144-byte DialogHeader, the
// 341-byte ControlRecord of the dialog window, then one per control.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/ImageBytes.h"

namespace trellane {

namespace DialogHeader {
constexpr std::size_t Size = 144;
constexpr std::size_t formatTag = 0;  // 32-bit, always 101
constexpr std::uint32_t FormatTag = 101;
constexpr std::size_t className = 8;  // where RadASM reads the dialog's class
constexpr std::size_t classNameWidth = 32;
constexpr std::size_t menuName = 40;
constexpr std::size_t menuNameWidth = 32;
constexpr std::size_t fontFace = 72;
constexpr std::size_t fontFaceWidth = 32;
constexpr std::size_t pointSize = 104;    // 16-bit
constexpr std::size_t fontHeight = 108;   // signed 32-bit
constexpr std::size_t followingId = 116;  // 16-bit
constexpr std::size_t fontWeight = 142;   // 16-bit
}  // namespace DialogHeader

namespace ControlRecord {
constexpr std::size_t Size = 341;
constexpr std::size_t marker = 0;  // 16-bit: 0 for the dialog window, 85 for a control
constexpr std::uint32_t ControlMarker = 85;
constexpr std::size_t style = 20;
constexpr std::size_t exStyle = 24;
constexpr std::size_t x = 28;  // signed 32-bit pixels, as are y, width and height
constexpr std::size_t y = 32;
constexpr std::size_t width = 36;
constexpr std::size_t height = 40;
constexpr std::size_t text = 44;
constexpr std::size_t textWidth = 241;
constexpr std::size_t typeIndex = 285;
constexpr std::size_t typeCode = 289;
constexpr std::size_t ordinal = 293;     // 16-bit
constexpr std::size_t identifier = 297;  // 32-bit
constexpr std::size_t identifierName = 301;
constexpr std::size_t identifierNameWidth = 32;
}  // namespace ControlRecord

constexpr std::size_t DialogWindowOffset = DialogHeader::Size;
constexpr std::size_t FirstControlOffset = DialogWindowOffset + ControlRecord::Size;

constexpr std::size_t DialogImageSize(std::size_t controlCount) {
  return FirstControlOffset + ControlRecord::Size * controlCount;
}

constexpr std::size_t ControlOffset(std::size_t index) {
  return FirstControlOffset + ControlRecord::Size * index;
}

// RadASM's control types: the typeIndex of a record.
namespace ControlType {
constexpr std::uint32_t Edit = 1;
constexpr std::uint32_t Static = 2;
constexpr std::uint32_t GroupBox = 3;
constexpr std::uint32_t Button = 4;
constexpr std::uint32_t CheckBox = 5;
constexpr std::uint32_t RadioButton = 6;
constexpr std::uint32_t ComboBox = 7;
constexpr std::uint32_t ListBox = 8;
constexpr std::uint32_t ScrollBar = 9;
constexpr std::uint32_t ProgressBar = 12;
constexpr std::uint32_t UpDown = 16;
constexpr std::uint32_t Image = 17;
constexpr std::uint32_t UserDefined = 23;
constexpr std::uint32_t Shape = 25;
}  // namespace ControlType

struct ControlClass {
  std::string_view name;  // lower case
  std::uint32_t typeIndex;
  std::uint32_t typeCode;
};

// The 37 class names in the order in which they are tried.
extern const std::array<ControlClass, 37> ControlClassTable;

// RadASM's type for a user-defined control.
constexpr ControlClass UserDefinedControl{"udcclass", ControlType::UserDefined, ControlType::UserDefined};

// Lower-cases the raw class field (quotes and blanks included) and returns the
// first table row whose name occurs in it, or none.
const ControlClass* LookUpControlClass(std::string_view classField);

}  // namespace trellane
