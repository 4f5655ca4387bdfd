#include "radasm/MenuImageText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <vector>

#include "radasm/MenuRecordFile.h"
#include "radasm/MenuShortcut.h"
#include "text/TextTable.h"

namespace trellane {
namespace {

struct FlagName {
  std::uint32_t bit;
  std::string_view name;
};

constexpr std::array<FlagName, 7> FlagNames{{
    {MenuItemFlag::Checked, "CHECKED"},
    {MenuItemFlag::Grayed, "GRAYED"},
    {MenuItemFlag::RightJustify, "RIGHTJUSTIFY"},
    {MenuItemFlag::RadioCheck, "RADIOCHECK"},
    {MenuItemFlag::Disabled, "DISABLED"},
    {MenuItemFlag::OwnerDraw, "OWNERDRAW"},
    {MenuItemFlag::RightOrder, "RIGHTORDER"},
}};

std::string Signed(std::uint32_t value, unsigned bits) {
  const std::int64_t full = std::int64_t{1} << bits;
  std::int64_t number = value;
  if (number >= full / 2)
    number -= full;
  return std::to_string(number);
}

}  // namespace

std::string MenuFlagNames(std::uint32_t flags) {
  if (flags == 0)
    return "-";
  std::string names;
  for (const FlagName& flag : FlagNames) {
    if (flags & flag.bit) {
      names += names.empty() ? "" : "|";
      names += flag.name;
      flags &= ~flag.bit;
    }
  }
  for (std::uint32_t bit = 1; flags != 0; bit <<= 1) {
    if (flags & bit) {
      char text[16];
      std::snprintf(text, sizeof text, "0x%02X", bit);
      names += names.empty() ? "" : "|";
      names += text;
      flags &= ~bit;
    }
  }
  return names;
}

void DescribeMenuImage(const Image& image, std::ostream& out) {
  if (image.size() < MenuHeader::Size) {
    out << "menu record file too short: " << image.size() << " bytes\n";
    return;
  }
  const std::size_t count = (image.size() - MenuHeader::Size) / MenuItemRecord::Size;
  const std::string_view name = LoadText(image, MenuHeader::resourceName, MenuHeader::resourceNameWidth);
  out << "menu " << (name.empty() ? "(numeric)" : PrintableText(name)) << ", id "
      << Signed(LoadU32(image, MenuHeader::resourceId), 32) << ", following id "
      << LoadU16(image, MenuHeader::followingId) << ", " << count << (count == 1 ? " item" : " items");
  const std::uint32_t fixedValue = LoadU16(image, MenuHeader::fixedValue);
  if (fixedValue != MenuHeader::FixedValue)
    out << ", fixed value " << fixedValue << " (expected " << MenuHeader::FixedValue << ")";
  out << '\n';
  const std::size_t partial = (image.size() - MenuHeader::Size) % MenuItemRecord::Size;
  if (count == 0 && partial == 0)
    return;

  std::vector<std::vector<std::string>> rows;
  rows.push_back({"#", "name", "id", "caption", "level", "flags", "shortcut"});
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t record = MenuItemOffset(i);
    const std::string_view itemName =
        LoadText(image, record + MenuItemRecord::identifierName, MenuItemRecord::identifierNameWidth);
    std::string index = std::to_string(i);
    if (image[record + MenuItemRecord::itemTag] != 1)
      index += " (tag " + std::to_string(image[record + MenuItemRecord::itemTag]) + ")";
    rows.push_back(
        {index, itemName.empty() ? "-" : PrintableText(itemName),
         Signed(LoadU32(image, record + MenuItemRecord::identifier), 32),
         "\"" + PrintableText(LoadText(image, record + MenuItemRecord::caption, MenuItemRecord::captionWidth)) + "\"",
         Signed(LoadU16(image, record + MenuItemRecord::level), 16),
         MenuFlagNames(LoadU16(image, record + MenuItemRecord::flags)),
         ShortcutText(LoadU16(image, record + MenuItemRecord::shortcut))});
  }
  PrintTable(rows, {true, false, true, false, true, false, false}, out);
  if (partial != 0)
    out << partial << " bytes after the last record do not make a whole record\n";
}

}  // namespace trellane
