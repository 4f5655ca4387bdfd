// Scripts that break the expected layout: each converts without reading past
// the script and says what it could not read, or is refused with an error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Converters.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogRecordFile.h"
#include "tests/ScriptTestSupport.h"

namespace trellane {
namespace {

ConverterResult Convert(const std::string& script) {
  FixedMetrics metrics({8, 16}, 96, {13, 316});
  // A copy of exactly the script's bytes, so a read past its end is caught.
  const std::vector<char> bytes(script.begin(), script.end());
  return ConvertDialogScript(std::string_view(bytes.data(), bytes.size()), metrics,
                             [](MenuNameSlot& slot) { slot[0] = 'm'; });
}

// Each broken script converts with a warning that says what was not as
// expected, or is refused with an error that says where (controls -1).
TEST(DialogBrokenInput, BrokenScriptsConvertWithWarningsOrAreRefused) {
  constexpr int Refused = -1;
  struct Case {
    std::string name;
    std::string script;
    int controls;
    std::string message;  // a part of one diagnostic
  };
  const std::vector<Case> cases{
      {"no BEGIN", "1 DIALOGEX 0, 0, 10, 10\nCONTROL \"a\", 1, \"Edit\", 0, 0, 0, 1, 1\n", Refused,
       "expected BEGIN or an optional statement of the DIALOGEX, found 'CONTROL'"},
      {"no BEGIN at the end", "1 DIALOGEX 0, 0, 10, 10\n", 0, "no BEGIN"},
      {"no END", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\nCONTROL \"a\", 1, \"Edit\", 0, 0, 0, 1, 1", 1, "no END"},
      {"fifth head value", "1 DIALOGEX 0, 0, 10, 10, 77\nBEGIN\nEND\n", 0, "help identifier"},
      {"sixth head value", "1 DIALOGEX 0, 0, 10, 10, 77, 8\nBEGIN\nEND\n", Refused, "found ','"},
      {"short head", "1 DIALOGEX 0, 0\nBEGIN\nEND\n", Refused, "expected ',' before the width"},
      {"head value not a number", "1 DIALOGEX 0, zero, 10, 10\nBEGIN\nEND\n", 0, "zero has no #define; y 0"},
      {"no dialog name", "DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n", Refused, "stands outside any resource"},
      {"undefined dialog name", "IDD_X DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n", 0, "IDD_X is no number"},
      {"control with three fields", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\", 1, \"Edit\"\nEND\n", Refused,
       "expected ',' after the control's class"},
      {"control without fields", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL\nEND\n", Refused, "after the control's text"},
      {"control text without closing quote", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"abc\nEND\n", Refused,
       "unclosed string"},
      {"eleven control fields", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\",1,\"Edit\",0,0,0,1,1,0,0,9\nEND\n", Refused,
       "found ','"},
      {"help identifier", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\",1,\"Edit\",0,0,0,1,1,0,5\nEND\n", 1,
       "help identifier"},
      {"unknown statement", "1 DIALOGEX 0,0,1,1\nBEGIN\nBUTTON \"OK\", 1, 0, 0, 10, 10\nEND\n", Refused,
       "'BUTTON' is no statement of a dialog's block"},
      {"style of names without their header", "1 DIALOGEX 0,0,1,1\nSTYLE WS_POPUP | WS_CAPTION\nBEGIN\nEND\n", 0,
       "WS_POPUP is not defined; the Windows headers' value is used"},
      {"caption without quotes", "1 DIALOGEX 0,0,1,1\nCAPTION Hello\nBEGIN\nEND\n", Refused,
       "expected a quoted text for CAPTION"},
      {"caption without closing quote", "1 DIALOGEX 0,0,1,1\nCAPTION \"Hello\nBEGIN\nEND\n", Refused,
       "unclosed string"},
      {"lone keyword", "1 DIALOGEX 0,0,1,1\nSTYLE\nBEGIN\nEND\n", Refused, "found 'BEGIN'"},
      {"font without face", "1 DIALOGEX 0,0,1,1\nFONT 8\nBEGIN\nEND\n", Refused, "point size and face"},
      {"font point size zero", "1 DIALOGEX 0,0,1,1\nFONT 0, \"X\"\nBEGIN\nEND\n", 0, "system's base units"},
      {"font point size huge", "1 DIALOGEX 0,0,1,1\nFONT 70000, \"X\"\nBEGIN\nEND\n", 0, "16-bit"},
      {"font weight not a number", "1 DIALOGEX 0,0,1,1\nFONT 8, \"X\", bold\nBEGIN\nEND\n", 0, "bold has no #define"},
      {"font with six fields", "1 DIALOGEX 0,0,1,1\nFONT 8, \"X\", 400, 0, 1, 2\nBEGIN\nEND\n", 0, "more than five"},
      {"long face", "1 DIALOGEX 0,0,1,1\nFONT 8, \"" + std::string(40, 'f') + "\"\nBEGIN\nEND\n", 0, "longer than 31"},
      {"define loop",
       "#define A B\n#define B A\n1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"\", A, \"Edit\", 0,0,0,1,1\nEND\n", 1,
       "A has no #define"},
      {"empty class", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\", 1, \"\", 0, 0, 0, 1, 1\nEND\n", 1,
       "class \"\" is not one RadASM knows"},
      {"text of user-defined control", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\", 1, \"Graph\", 0, 0, 0, 1, 1\nEND\n",
       1, "gives way to its class name"},
      {"class by a number", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\", 1, 200, 0, 0, 0, 1, 1\nEND\n", 1,
       "class \"#200\" is not one RadASM knows"},
      {"text by a number", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL 7, 1, \"Graph\", 0, 0, 0, 1, 1\nEND\n", 1,
       "the text \"7\" of a user-defined control"},
      {"geometry out of range", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\",1,\"Edit\",0,0x7FFFFFFF,0,1,1\nEND\n", 1, ""},
      {"lone carriage returns", "1 DIALOGEX 0,0,1,1\rBEGIN\rCONTROL \"a\",1,\"Edit\",0,0,0,1,1\rEND\r", 1, ""},
      {"ends inside the keyword", "1 DIALOGEX", Refused, "found the end of the script"},
      {"block comment to the end", "1 DIALOGEX 0,0,1,1\nBEGIN\n/* CONTROL \"a\",1,\"Edit\",0,0,0,1,1\n", Refused,
       "unclosed comment"},
  };
  for (const Case& c : cases) {
    const ConverterResult result = Convert(c.script);
    if (c.controls == Refused) {
      EXPECT_TRUE(result.scriptFailed) << c.name;
      EXPECT_TRUE(result.image.empty()) << c.name;
    } else {
      ASSERT_TRUE(result.keywordFound) << c.name;
      EXPECT_EQ(result.recordCount, static_cast<std::size_t>(c.controls)) << c.name;
      EXPECT_EQ(result.image.size(), DialogImageSize(result.recordCount)) << c.name;
    }
    if (!c.message.empty()) {
      EXPECT_TRUE(Mentions(result.diagnostics, c.message)) << c.name;
    }
  }
}

TEST(DialogBrokenInput, EveryPrefixOfAScriptConverts) {
  const std::string script =
      "#define IDC_A 5\r\nIDD DIALOGEX 1, 2, 3, 4\r\nCAPTION \"C\"\r\nFONT 8, \"MS Sans Serif\", 400, 0, 0x1\r\n"
      "MENU M\r\nBEGIN\r\n  CONTROL \"x\", IDC_A, \"Button\", NOT 0x10000000|0x40010003, 1, 2, 3, 4, 0x200\r\nEND\r\n";
  for (std::size_t length = 0; length <= script.size(); ++length) {
    const ConverterResult result = Convert(script.substr(0, length));
    if (!result.image.empty()) {
      EXPECT_EQ(result.image.size(), DialogImageSize(result.recordCount)) << length;
    } else {
      EXPECT_TRUE(result.image.empty()) << length;
    }
  }
}

}  // namespace
}  // namespace trellane
