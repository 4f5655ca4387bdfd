#include "radasm/DialogImageText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "radasm/DialogRecordFile.h"
#include "text/TextTable.h"

namespace trellane {
namespace {

struct TypeName {
  std::uint32_t typeIndex;
  std::string_view name;
};

// clang-format off
constexpr std::array<TypeName, 42> TypeNames{{
    {1, "Edit"},           {2, "Static"},         {3, "GroupBox"},        {4, "Button"},
    {5, "CheckBox"},       {6, "RadioButton"},    {7, "ComboBox"},        {8, "ListBox"},
    {9, "ScrollBar"},      {11, "TabControl"},    {12, "ProgressBar"},    {13, "TreeView"},
    {14, "ListView"},      {15, "TrackBar"},      {16, "UpDown"},         {17, "Image"},
    {18, "ToolBar"},       {19, "StatusBar"},     {20, "DateTimePicker"}, {21, "MonthCalendar"},
    {22, "RichEdit"},      {23, "UserDefined"},   {24, "ComboBoxEx"},     {25, "Shape"},
    {26, "IPAddress"},     {27, "Animate"},       {28, "HotKey"},         {29, "Pager"},
    {31, "ReBar"},         {32, "Header"},        {33, "CAD"},            {34, "RAEdit"},
    {35, "RAHexEdit"},     {36, "RAGrid"},        {37, "SpreadSheet"},    {38, "WebBrowser"},
    {39, "RAFileBrowser"}, {40, "RACodeComplete"}, {41, "RAToolTip"},     {42, "Hyperlink"},
    {43, "RAGrad"},        {44, "RAVideo"},
}};
// clang-format on

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string Signed(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

std::string TypeText(std::uint32_t typeIndex, std::uint32_t typeCode) {
  std::string text(ControlTypeName(typeIndex));
  if (text.empty())
    text = "type " + std::to_string(typeIndex);
  if (typeCode != typeIndex)
    text += " (" + std::to_string(typeCode) + ")";
  return text;
}

using Row = std::vector<std::string>;

Row RecordRow(const Image& image, std::size_t record, const std::string& index, bool dialogWindow) {
  const std::string_view name =
      LoadText(image, record + ControlRecord::identifierName, ControlRecord::identifierNameWidth);
  return {index,
          dialogWindow ? "Dialog"
                       : TypeText(LoadU32(image, record + ControlRecord::typeIndex),
                                  LoadU32(image, record + ControlRecord::typeCode)),
          name.empty() ? "-" : PrintableText(name),
          Signed(LoadU32(image, record + ControlRecord::identifier)),
          "\"" + PrintableText(LoadText(image, record + ControlRecord::text, ControlRecord::textWidth)) + "\"",
          Hex(LoadU32(image, record + ControlRecord::style)),
          Hex(LoadU32(image, record + ControlRecord::exStyle)),
          Signed(LoadU32(image, record + ControlRecord::x)),
          Signed(LoadU32(image, record + ControlRecord::y)),
          Signed(LoadU32(image, record + ControlRecord::width)),
          Signed(LoadU32(image, record + ControlRecord::height))};
}

}  // namespace

std::string_view ControlTypeName(std::uint32_t typeIndex) {
  for (const TypeName& type : TypeNames) {
    if (type.typeIndex == typeIndex)
      return type.name;
  }
  return {};
}

void DescribeDialogImage(const Image& image, std::ostream& out) {
  if (image.size() < FirstControlOffset) {
    out << "dialog record file too short: " << image.size() << " bytes\n";
    return;
  }
  const std::size_t count = (image.size() - FirstControlOffset) / ControlRecord::Size;
  const std::string_view className = LoadText(image, DialogHeader::className, DialogHeader::classNameWidth);
  const std::string_view menuName = LoadText(image, DialogHeader::menuName, DialogHeader::menuNameWidth);
  const std::string_view face = LoadText(image, DialogHeader::fontFace, DialogHeader::fontFaceWidth);
  out << "dialog record file, format " << LoadU32(image, DialogHeader::formatTag) << ", " << count
      << (count == 1 ? " control" : " controls") << '\n';
  out << "class " << (className.empty() ? "-" : "\"" + PrintableText(className) + "\"") << ", menu "
      << (menuName.empty() ? "-" : "\"" + PrintableText(menuName) + "\"") << ", following id "
      << LoadU16(image, DialogHeader::followingId) << '\n';
  out << "font " << (face.empty() ? "-" : "\"" + PrintableText(face) + "\"") << ", "
      << LoadU16(image, DialogHeader::pointSize) << " points, height "
      << Signed(LoadU32(image, DialogHeader::fontHeight)) << ", weight " << LoadU16(image, DialogHeader::fontWeight)
      << '\n';
  const std::size_t partial = (image.size() - FirstControlOffset) % ControlRecord::Size;
  if (partial != 0)
    out << partial << " bytes after the last whole record\n";

  std::vector<Row> rows;
  rows.push_back({"#", "type", "name", "id", "text", "style", "exstyle", "x", "y", "width", "height"});
  rows.push_back(RecordRow(image, DialogWindowOffset, "-", true));
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t record = ControlOffset(i);
    std::string index = std::to_string(LoadU16(image, record + ControlRecord::ordinal));
    if (LoadU16(image, record + ControlRecord::marker) != ControlRecord::ControlMarker)
      index += " (marker " + std::to_string(LoadU16(image, record + ControlRecord::marker)) + ")";
    rows.push_back(RecordRow(image, record, index, false));
  }
  PrintTable(rows, {false, false, false, true, false, false, false, true, true, true, true}, out);
}

}  // namespace trellane
