// Scripts that break the expected layout: each converts without reading past
// the script, keeps what it can and says what it could not read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Converters.h"
#include "radasm/DialogRecordFile.h"
#include "metrics/FixedMetrics.h"
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

TEST(DialogBrokenInput, BrokenScriptsConvertWithWarnings) {
  struct Case {
    std::string name;
    std::string script;
    std::size_t controls;
    std::string warning;  // a part of one warning
  };
  const std::vector<Case> cases{
      {"no BEGIN", "1 DIALOGEX 0, 0, 10, 10\nCONTROL \"a\", 1, \"Edit\", 0, 0, 0, 1, 1\n", 0, "no BEGIN"},
      {"no END", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\nCONTROL \"a\", 1, \"Edit\", 0, 0, 0, 1, 1", 1, "no END"},
      {"fifth head value", "1 DIALOGEX 0, 0, 10, 10, 77\nBEGIN\nEND\n", 0, "help identifier"},
      {"sixth head value", "1 DIALOGEX 0, 0, 10, 10, 77, 8\nBEGIN\nEND\n", 0, "more than five"},
      {"short head", "1 DIALOGEX 0, 0\nBEGIN\nEND\n", 0, "2 of its 4 values"},
      {"head value not a number", "1 DIALOGEX 0, zero, 10, 10\nBEGIN\nEND\n", 0, "y 'zero' is not a number"},
      {"no dialog name", "DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n", 0, "no name"},
      {"undefined dialog name", "IDD_X DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n", 0, "IDD_X has no #define"},
      {"control with three fields", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\", 1, \"Edit\"\nEND\n", 1,
       "3 of its 8 fields"},
      {"control without fields", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL\nEND\n", 0, "without fields"},
      {"control text without closing quote", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"abc\nEND\n", 1, "no closing quote"},
      {"eleven control fields", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\",1,\"Edit\",0,0,0,1,1,0,0,9\nEND\n", 1,
       "more than ten"},
      {"help identifier", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\",1,\"Edit\",0,0,0,1,1,0,5\nEND\n", 1,
       "help identifier"},
      {"short form control", "1 DIALOGEX 0,0,1,1\nBEGIN\nPUSHBUTTON \"OK\", 1, 0, 0, 10, 10\nEND\n", 0,
       "PUSHBUTTON is not a CONTROL statement"},
      {"style of names", "1 DIALOGEX 0,0,1,1\nSTYLE WS_POPUP | WS_CAPTION\nBEGIN\nEND\n", 0, "STYLE 'WS_POPUP"},
      {"caption without quotes", "1 DIALOGEX 0,0,1,1\nCAPTION Hello\nBEGIN\nEND\n", 0, "not a quoted text"},
      {"caption without closing quote", "1 DIALOGEX 0,0,1,1\nCAPTION \"Hello\nBEGIN\nEND\n", 0, "no closing quote"},
      {"lone keyword", "1 DIALOGEX 0,0,1,1\nSTYLE\nBEGIN\nEND\n", 0, "STYLE has no value"},
      {"second style", "1 DIALOGEX 0,0,1,1\nSTYLE 0x1\nSTYLE 0x2\nBEGIN\nEND\n", 0, "second STYLE"},
      {"font without face", "1 DIALOGEX 0,0,1,1\nFONT 8\nBEGIN\nEND\n", 0, "point size and a face"},
      {"font point size zero", "1 DIALOGEX 0,0,1,1\nFONT 0, \"X\"\nBEGIN\nEND\n", 0, "system's base units"},
      {"font point size huge", "1 DIALOGEX 0,0,1,1\nFONT 70000, \"X\"\nBEGIN\nEND\n", 0, "16-bit"},
      {"font weight not a number", "1 DIALOGEX 0,0,1,1\nFONT 8, \"X\", bold\nBEGIN\nEND\n", 0, "weight 'bold'"},
      {"font with six fields", "1 DIALOGEX 0,0,1,1\nFONT 8, \"X\", 400, 0, 1, 2\nBEGIN\nEND\n", 0, "more than five"},
      {"long face", "1 DIALOGEX 0,0,1,1\nFONT 8, \"" + std::string(40, 'f') + "\"\nBEGIN\nEND\n", 0, "longer than 31"},
      {"define loop",
       "#define A B\n#define B A\n1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"\", A, \"Edit\", 0,0,0,1,1\nEND\n", 1, "loop"},
      {"empty class", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\", 1, \"\", 0, 0, 0, 1, 1\nEND\n", 1,
       "class \"\" is not one RadASM knows"},
      {"text of user-defined control", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\", 1, \"Graph\", 0, 0, 0, 1, 1\nEND\n",
       1, "gives way to its class name"},
      {"geometry out of range", "1 DIALOGEX 0,0,1,1\nBEGIN\nCONTROL \"a\",1,\"Edit\",0,0x7FFFFFFF,0,1,1\nEND\n", 1, ""},
      {"lone carriage returns", "1 DIALOGEX 0,0,1,1\rBEGIN\rCONTROL \"a\",1,\"Edit\",0,0,0,1,1\rEND\r", 1, ""},
      {"ends inside the keyword", "1 DIALOGEX", 0, "0 of its 4 values"},
      {"block comment to the end", "1 DIALOGEX 0,0,1,1\nBEGIN\n/* CONTROL \"a\",1,\"Edit\",0,0,0,1,1\n", 0, "no END"},
  };
  for (const Case& c : cases) {
    const ConverterResult result = Convert(c.script);
    ASSERT_TRUE(result.keywordFound) << c.name;
    EXPECT_EQ(result.recordCount, c.controls) << c.name;
    EXPECT_EQ(result.image.size(), DialogImageSize(c.controls)) << c.name;
    if (!c.warning.empty()) {
      EXPECT_TRUE(Mentions(result.diagnostics, c.warning)) << c.name;
    }
  }
}

TEST(DialogBrokenInput, EveryPrefixOfAScriptConverts) {
  const std::string script =
      "#define IDC_A 5\r\nIDD DIALOGEX 1, 2, 3, 4\r\nCAPTION \"C\"\r\nFONT 8, \"MS Sans Serif\", 400, 0, 0x1\r\n"
      "MENU M\r\nBEGIN\r\n  CONTROL \"x\", IDC_A, \"Button\", NOT 0x10000000|0x40010003, 1, 2, 3, 4, 0x200\r\nEND\r\n";
  for (std::size_t length = 0; length <= script.size(); ++length) {
    const ConverterResult result = Convert(script.substr(0, length));
    if (result.keywordFound) {
      EXPECT_EQ(result.image.size(), DialogImageSize(result.recordCount)) << length;
    } else {
      EXPECT_TRUE(result.image.empty()) << length;
    }
  }
}

}  // namespace
}  // namespace trellane
