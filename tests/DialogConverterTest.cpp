#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/Converters.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogRecordFile.h"
#include "tests/ScriptTestSupport.h"

namespace trellane {
namespace {

// 96 pixels per inch, tmHeight 13, sample width 316: base units 6 and 13.
// Raw little-endian stores, independent of the layout constants.
void Put32(Image& image, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    image[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Put16(Image& image, std::size_t offset, std::uint32_t value) {
  image[offset] = static_cast<std::uint8_t>(value);
  image[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutText(Image& image, std::size_t offset, const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    image[offset + i] = static_cast<std::uint8_t>(text[i]);
}

const std::vector<std::string> WalkThroughLines{
    "#define IDD_MAIN 100",
    "#define IDC_NAME 1001",
    "IDD_MAIN DIALOGEX 10, 20, 160, 80",
    "STYLE 0x10CC0000",
    "EXSTYLE 0x00000000",
    "CAPTION \"Login\"",
    "FONT 8, \"MS Sans Serif\", 400, 0, 0x1",
    "BEGIN",
    "CONTROL \"Name\", IDC_NAME, \"Edit\", 0x50010080, 7, 7, 100, 12, 0x00000200",
    "CONTROL \"OK\", 1, \"Button\", 0x50010001, 110, 60, 40, 14, 0x00000000",
    "END",
};

// One record of the walk-through: the dialog window's or a control's.
struct RecordBytes {
  std::uint32_t marker;
  std::uint32_t style;
  std::uint32_t exStyle;
  std::uint32_t x, y, width, height;
  std::string text;
  std::uint32_t typeIndex, typeCode, ordinal, identifier;
  std::string name;
};

void PutRecord(Image& image, std::size_t at, const RecordBytes& record) {
  Put16(image, at + 0, record.marker);
  Put32(image, at + 20, record.style);
  Put32(image, at + 24, record.exStyle);
  Put32(image, at + 28, record.x);
  Put32(image, at + 32, record.y);
  Put32(image, at + 36, record.width);
  Put32(image, at + 40, record.height);
  PutText(image, at + 44, record.text);
  Put32(image, at + 285, record.typeIndex);
  Put32(image, at + 289, record.typeCode);
  Put16(image, at + 293, record.ordinal);
  Put32(image, at + 297, record.identifier);
  PutText(image, at + 301, record.name);
}

Image WalkThroughImage() {
  Image image(485 + 2 * 341, 0);
  Put32(image, 0, 101);
  PutText(image, 72, "MS Sans Serif");
  Put16(image, 104, 8);
  Put32(image, 108, static_cast<std::uint32_t>(-11));
  Put16(image, 116, 101);
  Put16(image, 142, 400);
  // 248 is 240 client pixels and a thick frame; 157 is 130 client pixels, a
  // caption and a thick frame.
  PutRecord(image, 144, {0, 0x10CC0000, 0, 15, 33, 248, 157, "Login", 0, 0, 0, 100, "IDD_MAIN"});
  PutRecord(image, 485, {85, 0x50010080, 0x200, 11, 11, 150, 20, "Name", 1, 1, 0, 1001, "IDC_NAME"});
  PutRecord(image, 826, {85, 0x50010001, 0, 165, 98, 60, 23, "OK", 4, 4, 1, 1, ""});
  return image;
}

TEST(DialogConverter, WalkThroughGivesItsBytesExactly) {
  const ConverterResult result = ConvertDialog(JoinLines(WalkThroughLines));
  ASSERT_TRUE(result.keywordFound);
  EXPECT_EQ(result.recordCount, 2u);
  const Image expected = WalkThroughImage();
  ASSERT_EQ(result.image.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(result.image[i], expected[i]) << "byte " << i;
  EXPECT_TRUE(result.diagnostics.empty());
}

TEST(DialogConverter, LfAndCrLfScriptsGiveTheSameImage) {
  const ConverterResult crLf = ConvertDialog(JoinLines(WalkThroughLines));
  const ConverterResult lf = ConvertDialog(JoinLines(WalkThroughLines, "\n"));
  EXPECT_EQ(crLf.image, lf.image);
  EXPECT_EQ(lf.image, WalkThroughImage());
}

TEST(DialogConverter, ScriptWithoutDialogexGivesNoImage) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "IDR_MENU MENUEX",
      "BEGIN",
      "  MENUITEM \"&Open\", 100",
      "END",
  }));
  EXPECT_FALSE(result.keywordFound);
  EXPECT_TRUE(result.image.empty());
}

TEST(DialogConverter, DialogWithoutControlsIsHeaderAndWindowRecord) {
  const ConverterResult result = ConvertDialog(JoinLines({"1 DIALOGEX 0, 0, 100, 50", "BEGIN", "END"}));
  ASSERT_TRUE(result.keywordFound);
  EXPECT_EQ(result.image.size(), 485u);
  EXPECT_EQ(result.recordCount, 0u);
  EXPECT_TRUE(result.diagnostics.empty());
}

TEST(DialogConverter, NumericDialogNameLeavesNameEmpty) {
  const ConverterResult result = ConvertDialog(JoinLines({"101 DIALOGEX 0, 0, 100, 50", "BEGIN", "END"}));
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::identifier), 101u);
  EXPECT_EQ(LoadU16(result.image, DialogHeader::followingId), 102u);
  EXPECT_EQ(LoadText(result.image, DialogWindowOffset + ControlRecord::identifierName, 32), "");
}

TEST(DialogConverter, EmptyTextsLeaveSlotsEmptyAndTheRestIsRead) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "1 DIALOGEX 0, 0, 100, 50",
      "CAPTION \"\"",
      "CLASS \"\"",
      "STYLE 0x10000000",
      "EXSTYLE 0x8",
      "BEGIN",
      "CONTROL \"\", 5, \"Edit\", 0x50010000, 1, 2, 3, 4, 0x200",
      "END",
  }));
  EXPECT_EQ(LoadText(result.image, DialogWindowOffset + ControlRecord::text, 241), "");
  EXPECT_EQ(LoadText(result.image, DialogHeader::className, 32), "");
  // A CAPTION statement, even an empty one, adds WS_CAPTION as the compilers do.
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::style), 0x10C00000u);
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::exStyle), 0x8u);
  const std::size_t control = ControlOffset(0);
  EXPECT_EQ(LoadText(result.image, control + ControlRecord::text, 241), "");
  EXPECT_EQ(LoadU32(result.image, control + ControlRecord::identifier), 5u);
  EXPECT_EQ(LoadU32(result.image, control + ControlRecord::exStyle), 0x200u);
  EXPECT_EQ(LoadU32(result.image, control + ControlRecord::height), 8u);  // system base unit 16: 4 × 16 / 8
}

TEST(DialogConverter, OrdinalsFollowTheOrderOfTheStatements) {
  std::vector<std::string> lines{"1 DIALOGEX 0, 0, 100, 50", "BEGIN"};
  for (int i = 0; i < 5; ++i)
    lines.push_back("CONTROL \"c" + std::to_string(i) + "\", " + std::to_string(10 + i) +
                    ", \"Static\", 0x50000000, 0, 0, 10, 10");
  lines.push_back("END");
  const ConverterResult result = ConvertDialog(JoinLines(lines));
  ASSERT_EQ(result.recordCount, 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(LoadU16(result.image, ControlOffset(i) + ControlRecord::ordinal), i);
    EXPECT_EQ(LoadU16(result.image, ControlOffset(i) + ControlRecord::marker), 85u);
    EXPECT_EQ(LoadText(result.image, ControlOffset(i) + ControlRecord::text, 241), "c" + std::to_string(i));
  }
  EXPECT_EQ(LoadU16(result.image, DialogWindowOffset + ControlRecord::marker), 0u);
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::typeIndex), 0u);
}

TEST(DialogConverter, WithoutFontTheSystemBaseUnitsApplyAndFontFieldsStayZero) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "1 DIALOGEX 4, 8, 100, 50",
      "BEGIN",
      "END",
  }));
  // System base units 8 and 16: 4 units are 8 pixels, 8 units 16 pixels.
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::x), 8u);
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::y), 16u);
  EXPECT_EQ(LoadU16(result.image, DialogHeader::pointSize), 0u);
  EXPECT_EQ(LoadU32(result.image, DialogHeader::fontHeight), 0u);
  EXPECT_EQ(LoadText(result.image, DialogHeader::fontFace, 32), "");
  EXPECT_EQ(LoadU16(result.image, DialogHeader::fontWeight), 0u);
}

TEST(DialogConverter, IndentedStatementsAreRead) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "IDD DIALOGEX 0, 0, 100, 50",
      "  CAPTION \"Indented\"",
      "\tFONT 8, \"MS Sans Serif\"",
      "BEGIN",
      "    CONTROL \"x\", 1, \"Button\", 0x50010000, 0, 0, 10, 10",
      "END",
  }));
  EXPECT_EQ(LoadText(result.image, DialogWindowOffset + ControlRecord::text, 241), "Indented");
  EXPECT_EQ(LoadText(result.image, DialogHeader::fontFace, 32), "MS Sans Serif");
  EXPECT_EQ(result.recordCount, 1u);
}

TEST(DialogConverter, FontWithoutWeightGivesWeightZeroAndTakesNothingFromTheNextLine) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "1 DIALOGEX 0, 0, 100, 50",
      "FONT 8, \"MS Sans Serif\"",
      "STYLE 700",
      "BEGIN",
      "END",
  }));
  EXPECT_EQ(LoadU16(result.image, DialogHeader::fontWeight), 0u);
  EXPECT_EQ(LoadU16(result.image, DialogHeader::pointSize), 8u);
  EXPECT_EQ(static_cast<std::int32_t>(LoadU32(result.image, DialogHeader::fontHeight)), -11);
}

TEST(DialogConverter, TextsLongerThanTheirSlotsAreCutWithAWarning) {
  const std::string longText(300, 't');
  const std::string longName = "IDC_" + std::string(40, 'N');
  const ConverterResult result = ConvertDialog(JoinLines({
      "#define " + longName + " 7",
      "1 DIALOGEX 0, 0, 100, 50",
      "CLASS \"" + std::string(40, 'c') + "\"",
      "BEGIN",
      "CONTROL \"" + longText + "\", " + longName + ", \"Edit\", 0x50010000, 0, 0, 10, 10",
      "END",
  }));
  const std::size_t control = ControlOffset(0);
  EXPECT_EQ(LoadText(result.image, control + ControlRecord::text, 241), std::string(240, 't'));
  EXPECT_EQ(LoadText(result.image, control + ControlRecord::identifierName, 32), longName.substr(0, 31));
  EXPECT_EQ(LoadU32(result.image, control + ControlRecord::identifier), 7u);
  EXPECT_EQ(LoadText(result.image, DialogHeader::className, 32), std::string(31, 'c'));
  EXPECT_EQ(result.image[control + ControlRecord::text + 240], 0);
  EXPECT_EQ(result.diagnostics.size(), 3u);
}

TEST(DialogConverter, TextOf200CharactersReachesItsSlotWhole) {
  const std::string text(200, 'w');
  const ConverterResult result = ConvertDialog(JoinLines({
      "1 DIALOGEX 0, 0, 100, 50",
      "BEGIN",
      "CONTROL \"" + text + "\", 1, \"Static\", 0x50000000, 0, 0, 10, 10",
      "END",
  }));
  EXPECT_EQ(LoadText(result.image, ControlOffset(0) + ControlRecord::text, 241), text);
  EXPECT_TRUE(result.diagnostics.empty());
}

TEST(DialogConverter, QuotedTextsKeepCommasBlanksAndDoubledQuotes) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "1 DIALOGEX 0, 0, 100, 50",
      "CAPTION \" Hello, \"\"world\"\" \"",
      "BEGIN",
      "CONTROL \"a, b\", 1, \"Static\", 0x50000000, 0, 0, 10, 10",
      "END",
  }));
  EXPECT_EQ(LoadText(result.image, DialogWindowOffset + ControlRecord::text, 241), " Hello, \"world\" ");
  EXPECT_EQ(LoadText(result.image, ControlOffset(0) + ControlRecord::text, 241), "a, b");
  EXPECT_EQ(LoadU32(result.image, ControlOffset(0) + ControlRecord::width), 20u);
}

TEST(DialogConverter, MenuStatementAsksForTheMenuNameOnce) {
  int requests = 0;
  const MenuNameRequest request = [&requests](MenuNameSlot& slot) {
    ++requests;
    const std::string name = "main.mnu";
    std::copy(name.begin(), name.end(), slot.begin());
  };
  const ConverterResult result = ConvertDialog(JoinLines({
                                                   "1 DIALOGEX 0, 0, 100, 50",
                                                   "MENU IDR_MAIN",
                                                   "BEGIN",
                                                   "END",
                                               }),
                                               request);
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(LoadText(result.image, DialogHeader::menuName, 32), "main.mnu");
}

TEST(DialogConverter, MenuRequestThatFillsTheWholeSlotStillEndsInZero) {
  const MenuNameRequest request = [](MenuNameSlot& slot) { slot.fill('m'); };
  const ConverterResult result =
      ConvertDialog(JoinLines({"1 DIALOGEX 0, 0, 100, 50", "MENU 5", "BEGIN", "END"}), request);
  EXPECT_EQ(LoadText(result.image, DialogHeader::menuName, 32), std::string(31, 'm'));
  EXPECT_EQ(result.image[DialogHeader::menuName + 31], 0);
}

TEST(DialogConverter, OnlyTheFirstDialogIsConvertedAndTheOthersAreWarned) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "1 DIALOGEX 0, 0, 100, 50",
      "BEGIN",
      "CONTROL \"a\", 1, \"Static\", 0x50000000, 0, 0, 10, 10",
      "END",
      "2 DIALOGEX 0, 0, 100, 50",
      "BEGIN",
      "CONTROL \"b\", 2, \"Static\", 0x50000000, 0, 0, 10, 10",
      "END",
  }));
  EXPECT_EQ(result.recordCount, 1u);
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_NE(result.diagnostics[0].message.find("further DIALOGEX"), std::string::npos);
}

}  // namespace
}  // namespace trellane
