// How the dialog converter reads scripts that resource editors and people
// really write: keywords as statements only, expressions, user-defined
// classes, style-dependent types, the class slot, outer window sizes and
// 32-bit identifiers.
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

std::uint32_t ControlU32(const ConverterResult& result, std::size_t index, std::size_t field) {
  return LoadU32(result.image, ControlOffset(index) + field);
}

std::string ControlText(const ConverterResult& result, std::size_t index) {
  return std::string(LoadText(result.image, ControlOffset(index) + ControlRecord::text, ControlRecord::textWidth));
}

std::string OneControl(const std::string& classField, const std::string& style, const std::string& text = "t") {
  return JoinLines({
      "1 DIALOGEX 0, 0, 100, 50",
      "BEGIN",
      "CONTROL \"" + text + "\", 7, " + classField + ", " + style + ", 0, 0, 10, 10, 0x0",
      "END",
  });
}

TEST(DialogScriptRules, ControlCountsOnlyAsStatementKeywordInsideTheDialogBlock) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "#define IDC_CONTROL1 1001",
      "// CONTROL \"commented\", 1, \"Button\", 0, 0, 0, 1, 1",
      "IDR_MENU MENUEX",
      "BEGIN",
      "  MENUITEM \"CONTROL\", 5",
      "END",
      "IDD DIALOGEX 0, 0, 100, 50",
      "CAPTION \"CONTROL panel\"",
      "BEGIN",
      "  CONTROL \"a\", IDC_CONTROL1, \"Button\", 0x50010000, 0, 0, 10, 10",
      "  /* CONTROL \"b\", 2, \"Button\", 0, 0, 0, 1, 1 */",
      "\tCONTROL\"c\", 3, \"Static\", 0x50000000, 0, 0, 10, 10",
      "END",
  }));
  ASSERT_EQ(result.recordCount, 2u);
  EXPECT_EQ(result.image.size(), DialogImageSize(2));
  EXPECT_EQ(ControlU32(result, 0, ControlRecord::identifier), 1001u);
  EXPECT_EQ(ControlText(result, 0), "a");
  EXPECT_EQ(ControlText(result, 1), "c");
}

TEST(DialogScriptRules, OptionalStatementsComeOnlyFromTheDialogsOwnHead) {
  int requests = 0;
  const MenuNameRequest request = [&requests](MenuNameSlot&) { ++requests; };
  const ConverterResult result = ConvertDialog(JoinLines({
                                                   "IDR_MENU MENUEX",
                                                   "BEGIN",
                                                   "MENUITEM \"&Open\", 100",
                                                   "END",
                                                   "IDD DIALOGEX 0, 0, 10, 10",
                                                   "  STYLE 0x80000000",
                                                   "BEGIN",
                                                   "END",
                                                   "IDD_OTHER DIALOGEX 0, 0, 10, 10",
                                                   "CAPTION \"Other\"",
                                                   "CLASS \"AfterTheDialog\"",
                                                   "FONT 20, \"Other Face\", 700",
                                                   "MENU IDR_MENU",
                                                   "BEGIN",
                                                   "END",
                                               }),
                                               request);
  // The first dialog is converted, with nothing of the menu before it nor
  // of the dialog after it.
  ASSERT_TRUE(result.keywordFound);
  EXPECT_EQ(requests, 0);
  EXPECT_EQ(LoadText(result.image, DialogWindowOffset + ControlRecord::text, 241), "");
  EXPECT_EQ(LoadText(result.image, DialogHeader::fontFace, 32), "");
  EXPECT_EQ(LoadText(result.image, DialogHeader::className, 32), "");
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::style), 0x80000000u);
}

TEST(DialogScriptRules, FontOfTheDialogsHeadDecidesTheBaseUnits) {
  // The metrics measure every font alike; what matters is that the header
  // carries the dialog's own FONT, not an earlier one.
  FixedMetrics metrics({8, 16}, 120, {15, 364});
  const ConverterResult result = ConvertDialogScript(JoinLines({
                                                         "1 DIALOGEX 0, 0, 8, 16",
                                                         "FONT 9, \"Segoe UI\", 400, 0, 0x1",
                                                         "BEGIN",
                                                         "END",
                                                         "2 DIALOGEX 0, 0, 8, 16",
                                                         "FONT 20, \"Elsewhere\", 700",
                                                         "BEGIN",
                                                         "END",
                                                     }),
                                                     metrics, {});
  EXPECT_EQ(LoadText(result.image, DialogHeader::fontFace, 32), "Segoe UI");
  EXPECT_EQ(LoadU16(result.image, DialogHeader::pointSize), 9u);
  EXPECT_EQ(static_cast<std::int32_t>(LoadU32(result.image, DialogHeader::fontHeight)), -15);  // 9 × 120 / 72
  // Base units 7 and 15: 8 horizontal units are 14 pixels, 16 vertical 30,
  // and the default style's WS_BORDER adds a pixel on each side.
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::width), 14u + 2u);
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::height), 30u + 2u);
}

TEST(DialogScriptRules, MenuMustBeTheWholeWord) {
  int requests = 0;
  const MenuNameRequest request = [&requests](MenuNameSlot&) { ++requests; };
  ConvertDialog(JoinLines({"1 DIALOGEX 0, 0, 10, 10", "CAPTION \"MENU\"", "BEGIN", "END", "2 MENUEX", "BEGIN", "END"}),
                request);
  EXPECT_EQ(requests, 0);
  const ConverterResult withMenu =
      ConvertDialog(JoinLines({"1 DIALOGEX 0, 0, 10, 10", "  MENU IDR_MAIN", "BEGIN", "END"}), request);
  EXPECT_EQ(requests, 1);
  // A menu bar adds 19 pixels to the outer height, the default style's
  // WS_BORDER one pixel above and one below.
  EXPECT_EQ(LoadU32(withMenu.image, DialogWindowOffset + ControlRecord::height), 20u + 19u + 2u);
}

TEST(DialogScriptRules, UnknownClassIsAUserDefinedControlNamedByItsClass) {
  const ConverterResult result = ConvertDialog(OneControl("\"MyGraph\"", "0x50000000", "caption"));
  EXPECT_EQ(ControlU32(result, 0, ControlRecord::typeIndex), 23u);
  EXPECT_EQ(ControlU32(result, 0, ControlRecord::typeCode), 23u);
  EXPECT_EQ(ControlText(result, 0), "MyGraph");
  EXPECT_TRUE(Mentions(result.diagnostics, "MyGraph"));
}

TEST(DialogScriptRules, UdcclassRowAlsoTakesTheClassNameAsText) {
  const ConverterResult result = ConvertDialog(OneControl("\"UdcClass\"", "0x50000000", ""));
  EXPECT_EQ(ControlU32(result, 0, ControlRecord::typeIndex), 23u);
  EXPECT_EQ(ControlText(result, 0), "UdcClass");
  EXPECT_TRUE(result.diagnostics.empty());
}

TEST(DialogScriptRules, StylesAreReadAsNumbersAndExpressions) {
  struct Case {
    std::string style;
    std::uint32_t value;
  };
  const std::vector<Case> cases{
      {"0x50010000", 0x50010000},       {"50010000", 50010000 | 0x50000000}, {"NOT 0x10000000|0x40010003", 0x40010003},
      {"0x50000000 | 0x1", 0x50000001}, {"0X50000000", 0x50000000},          {"0x00010003", 0x50010003},
  };
  for (const Case& c : cases) {
    const ConverterResult result = ConvertDialog(OneControl("\"Edit\"", c.style));
    EXPECT_EQ(ControlU32(result, 0, ControlRecord::style), c.value) << c.style;
  }
  const ConverterResult dialog =
      ConvertDialog(JoinLines({"1 DIALOGEX 0, 0, 10, 10", "STYLE 50010000", "BEGIN", "END"}));
  EXPECT_EQ(LoadU32(dialog.image, DialogWindowOffset + ControlRecord::style), 50010000u);
  const ConverterResult named = ConvertDialog(OneControl("\"Edit\"", "WS_CHILD | WS_VISIBLE | ES_LEFT"));
  EXPECT_EQ(ControlU32(named, 0, ControlRecord::style), 0x50000000u);
  EXPECT_TRUE(Mentions(named.diagnostics, "WS_CHILD is not defined"));
}

TEST(DialogScriptRules, ButtonAndStaticTypesFollowTheStyle) {
  struct Case {
    std::string classField;
    std::uint32_t style;
    std::uint32_t type;
  };
  const std::vector<Case> cases{
      {"\"Button\"", 0x50010000, 4},   // BS_PUSHBUTTON
      {"\"Button\"", 0x50010001, 4},   // BS_DEFPUSHBUTTON
      {"\"Button\"", 0x50010002, 5},   // BS_CHECKBOX
      {"\"Button\"", 0x50010003, 5},   // BS_AUTOCHECKBOX
      {"\"Button\"", 0x50010004, 6},   // BS_RADIOBUTTON
      {"\"Button\"", 0x50010005, 5},   // BS_3STATE
      {"\"Button\"", 0x50010006, 5},   // BS_AUTO3STATE
      {"\"Button\"", 0x50000007, 3},   // BS_GROUPBOX
      {"\"Button\"", 0x50010009, 6},   // BS_AUTORADIOBUTTON
      {"\"Button\"", 0x5001000B, 4},   // BS_OWNERDRAW
      {"\"Static\"", 0x50000000, 2},   // SS_LEFT
      {"\"Static\"", 0x50000003, 17},  // SS_ICON
      {"\"Static\"", 0x5000000B, 25},  // SS_SIMPLE
      {"\"Static\"", 0x50000010, 25},  // SS_ETCHEDHORZ
      {"\"Static\"", 0x5000000E, 2},   // SS_BITMAP
      {"\"Edit\"", 0x50010003, 1},
  };
  for (const Case& c : cases) {
    const ConverterResult result = ConvertDialog(OneControl(c.classField, std::to_string(c.style)));
    EXPECT_EQ(ControlU32(result, 0, ControlRecord::typeIndex), c.type) << c.classField << " " << std::hex << c.style;
    EXPECT_EQ(ControlU32(result, 0, ControlRecord::typeCode), c.type) << c.classField << " " << std::hex << c.style;
  }
}

TEST(DialogScriptRules, DialogClassGoesToOffsetEight) {
  const ConverterResult result =
      ConvertDialog(JoinLines({"1 DIALOGEX 0, 0, 10, 10", "CLASS \"" + std::string(31, 'k') + "\"", "BEGIN", "END"}));
  EXPECT_EQ(result.image[8], 'k');
  EXPECT_EQ(result.image[38], 'k');
  EXPECT_EQ(result.image[39], 0);  // the terminating zero, right before menuName
  EXPECT_TRUE(result.diagnostics.empty());
}

TEST(DialogScriptRules, DialogWindowHoldsTheOuterWindowSize) {
  struct Case {
    std::string style;
    std::string exStyle;
    std::uint32_t extraWidth;
    std::uint32_t extraHeight;
  };
  const std::vector<Case> cases{
      {"0x10C80000", "0x0", 6, 25},   // WS_CAPTION | WS_SYSMENU with a dialog frame
      {"0x10C80000", "0x80", 6, 22},  // the same as a tool window
      {"0x50000000", "0x0", 0, 0},    // a child dialog without frame bits
      {"0x10CC0000", "0x0", 8, 27},   // a caption and a thick frame
      {"0x90800000", "0x0", 2, 2},    // a popup with a border
      {"0x50000000", "0x200", 4, 4},  // a client edge
  };
  for (const Case& c : cases) {
    const ConverterResult result = ConvertDialog(
        JoinLines({"1 DIALOGEX 0, 0, 160, 80", "STYLE " + c.style, "EXSTYLE " + c.exStyle, "BEGIN", "END"}));
    EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::width), 320u + c.extraWidth) << c.style;
    EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::height), 160u + c.extraHeight) << c.style;
    EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::x), 0u);
  }
}

TEST(DialogScriptRules, IdentifiersFillTheirWhole32BitSlot) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "#define IDC_STATIC -1",
      "#define IDD_BIG 0x12345",
      "IDD_BIG DIALOGEX 0, 0, 10, 10",
      "BEGIN",
      "CONTROL \"a\", IDC_STATIC, \"Static\", 0x50000000, 0, 0, 10, 10",
      "CONTROL \"b\", 70000, \"Static\", 0x50000000, 0, 0, 10, 10",
      "CONTROL \"c\", -1, \"Static\", 0x50000000, 0, 0, 10, 10",
      "END",
  }));
  const std::size_t slot = ControlOffset(0) + ControlRecord::identifier;
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(result.image[slot + i], 0xFF);
  EXPECT_EQ(LoadText(result.image, ControlOffset(0) + ControlRecord::identifierName, 32), "IDC_STATIC");
  EXPECT_EQ(ControlU32(result, 1, ControlRecord::identifier), 70000u);
  EXPECT_EQ(ControlU32(result, 2, ControlRecord::identifier), 0xFFFFFFFFu);
  EXPECT_EQ(LoadText(result.image, ControlOffset(2) + ControlRecord::identifierName, 32), "");
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::identifier), 0x12345u);
  EXPECT_EQ(LoadU16(result.image, DialogHeader::followingId), 0x2346u);  // low 16 bits of the value plus one
}

TEST(DialogScriptRules, DefineOfALongerNameDoesNotResolveAShorterOne) {
  const ConverterResult result = ConvertDialog(JoinLines({
      "#define IDC_CHK10 110",
      "#define IDC_CHK1 101",
      "1 DIALOGEX 0, 0, 10, 10",
      "BEGIN",
      "CONTROL \"a\", IDC_CHK1, \"Button\", 0x50010003, 0, 0, 10, 10",
      "END",
  }));
  EXPECT_EQ(ControlU32(result, 0, ControlRecord::identifier), 101u);
}

// Every example class field of the record file's description and the type
// numbers it yields.
TEST(DialogScriptRules, ClassFieldsYieldTheirTableTypes) {
  for (const ClassFieldCase& c : ClassFieldCases()) {
    const ConverterResult result = ConvertDialog(OneControl(c.classField, "0x50000000"));
    EXPECT_EQ(ControlU32(result, 0, ControlRecord::typeIndex), c.typeIndex) << c.classField;
    EXPECT_EQ(ControlU32(result, 0, ControlRecord::typeCode), c.typeCode) << c.classField;
  }
}

}  // namespace
}  // namespace trellane
