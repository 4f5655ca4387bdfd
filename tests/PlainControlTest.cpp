#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/DialogConverter.h"
#include "metrics/FixedMetrics.h"
#include "dialog/PlainControl.h"
#include "dialog/StatementFields.h"
#include "text/NumberField.h"

namespace trellane {
namespace {

// The fields after "CONTROL" on lines that resource editors write.
const std::vector<std::string> PlainLines = {
    R"( "Plain", IDC_A, "Button", 0x50010003, 1, 2, 60, 12, 0x00000200)",
    "\t\"Tabs\",\tIDC_B,\t\"Edit\",\t0x50010080,\t1,\t2,\t60,\t12",
    R"("NoBlank",IDC_C,"Static",0X5000000B,10,20,30,40,0X0)",
    R"( "Gap" , IDC_D , "Edit" , 1342177287 , 0007 , 08 , 1 , 2 , 512 )",
    R"( "", -1, "Static", 0x50000000, 0, 0, 0, 0)",
    R"( "Numeric id", 1001, "msctls_trackbar32", 0x50010000, 3, 4, 5, 6, 0)",
    R"( "Comma, and / inside", IDC_E, "Edit", 0x50010080, 1, 2, 3, 4, 0)",
    R"( "Wraps", IDC_F, "Edit", 0x150010080, 4294967297, 2, 3, 4, 0x123456789)",
    R"( "Tab	inside", IDC_G, "MyClass", 0x1, 1, 2, 3, 4, 0x2)",
};

TEST(PlainControl, ReadsThePlainShapeAsTheFieldByFieldReadingDoes) {
  for (const std::string& fields : PlainLines) {
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
      const std::string script = "  CONTROL" + fields + lineEnd + "END\r\n";
      const std::size_t from = 9;
      ControlStatement control;
      ASSERT_TRUE(PlainControlReader(script).Read(from, control)) << fields;

      const auto split = SplitFields<11>(script, from, CodeEnd);
      ASSERT_GE(split.count, 8u) << fields;
      const auto expectField = [&](const Field& field, std::size_t index) {
        EXPECT_EQ(field.text, split.items[index].text) << fields;
        EXPECT_EQ(field.position, split.items[index].position) << fields;
      };
      expectField(control.text, 0);
      expectField(control.identifier, 1);
      expectField(control.className, 2);
      EXPECT_EQ(control.style, ParseFlagsExpression(split.items[3].text)) << fields;
      EXPECT_EQ(static_cast<std::uint32_t>(control.x), ParseIntegerLiteral(split.items[4].text)) << fields;
      EXPECT_EQ(static_cast<std::uint32_t>(control.y), ParseIntegerLiteral(split.items[5].text)) << fields;
      EXPECT_EQ(static_cast<std::uint32_t>(control.width), ParseIntegerLiteral(split.items[6].text)) << fields;
      EXPECT_EQ(static_cast<std::uint32_t>(control.height), ParseIntegerLiteral(split.items[7].text)) << fields;
      const std::uint32_t exStyle = split.count > 8 ? ParseFlagsExpression(split.items[8].text).value() : 0;
      EXPECT_EQ(control.exStyle, exStyle) << fields;
    }
  }
}

TEST(PlainControl, LeavesEveryOtherShapeToTheFieldByFieldReading) {
  const char* const lines[] = {
      R"( "Comment", IDC_A, "Edit", 0x50010080, 1, 2, 3, 4 // note)",
      R"( "Block", IDC_A, "Edit", 0x50010080, 1, 2, 3, 4 /* note */)",
      R"( "Quote ""inside""", IDC_A, "Edit", 0x50010080, 1, 2, 3, 4, 0)",
      R"( "Not", IDC_A, "Edit", NOT 0x10000000|0x40010003, 1, 2, 3, 4)",
      R"( "Sum", IDC_A, "Edit", 0x1+0x2, 1, 2, 3, 4)",
      R"( "Suffix", IDC_A, "Edit", 0x50010080L, 1, 2, 3, 4)",
      R"( "Seven", IDC_A, "Edit", 0x50010080, 1, 2, 3)",
      R"( "Help", IDC_A, "Edit", 0x50010080, 1, 2, 3, 4, 0, 77)",
      R"( "Trailing comma", IDC_A, "Edit", 0x50010080, 1, 2, 3, 4,)",
      R"( "Empty style", IDC_A, "Edit", , 1, 2, 3, 4)",
      R"( "Negative", IDC_A, "Edit", 0x50010080, -3, 2, 3, 4)",
      R"( "Bare 0x", IDC_A, "Edit", 0x, 1, 2, 3, 4)",
      R"( "Paren", (IDC_A), "Edit", 0x50010080, 1, 2, 3, 4)",
      R"( "No id", , "Edit", 0x50010080, 1, 2, 3, 4)",
      R"( Bare, IDC_A, "Edit", 0x50010080, 1, 2, 3, 4)",
      R"( "Bare class", IDC_A, Edit, 0x50010080, 1, 2, 3, 4)",
      R"( "Unclosed, IDC_A, "Edit", 0x50010080, 1, 2, 3, 4)",
      R"( "After quote" x, IDC_A, "Edit", 0x50010080, 1, 2, 3, 4)",
      " \"Vertical tab\", IDC_A, \"Edit\", 0x50010080, 1, 2, 3, 4\v",
  };
  for (const char* fields : lines) {
    const std::string script = std::string("CONTROL") + fields + "\r\n";
    ControlStatement control;
    EXPECT_FALSE(PlainControlReader(script).Read(7, control)) << fields;
  }
  // No line end closes the last line: it is never read past its end.
  const std::string last = std::string("CONTROL") + PlainLines[0];
  ControlStatement control;
  EXPECT_FALSE(PlainControlReader(last).Read(7, control));
  EXPECT_FALSE(PlainControlReader("").Read(0, control));
}

// Each control converted as the only one of a dialog, with its plain line and
// with a comment after it, which only the field-by-field reading takes.
TEST(PlainControl, RecordsAreTheSameWhicheverReadingTakesTheLine) {
  const std::string head =
      "#define IDC_A 1001\r\n#define IDC_B 1002\r\n#define IDC_C 1003\r\n#define IDC_D 1004\r\n"
      "#define IDC_E 1005\r\n#define IDC_F 1006\r\n#define IDC_G 1007\r\n"
      "IDD_X DIALOGEX 0, 0, 100, 80\r\nFONT 8, \"MS Sans Serif\"\r\nBEGIN\r\n  CONTROL";
  FixedMetrics metrics({8, 16}, 96, {13, 316});
  const auto convert = [&](const std::string& script) { return ConvertDialogScript(script, metrics, {}); };
  for (const std::string& fields : PlainLines) {
    const ConverterResult plain = convert(head + fields + "\r\nEND\r\n");
    const ConverterResult commented = convert(head + fields + " // note\r\nEND\r\n");
    EXPECT_EQ(plain.recordCount, 1u) << fields;
    EXPECT_EQ(plain.image, commented.image) << fields;
    ASSERT_EQ(plain.diagnostics.size(), commented.diagnostics.size()) << fields;
    for (std::size_t i = 0; i < plain.diagnostics.size(); ++i) {
      EXPECT_EQ(plain.diagnostics[i].position, commented.diagnostics[i].position) << fields;
      EXPECT_EQ(plain.diagnostics[i].message, commented.diagnostics[i].message) << fields;
    }
  }
}

}  // namespace
}  // namespace trellane
