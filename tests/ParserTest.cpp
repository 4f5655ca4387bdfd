#include <gtest/gtest.h>

#include <string>

#include "script/ScriptReader.h"

namespace trellane {
namespace {

class NoIncludes final : public IncludeFileReader {
 public:
  IncludeFile Read(const std::string&) override { return {}; }
};

std::string Messages(const ScriptReading& reading) {
  std::string all;
  for (const Diagnostic& diagnostic : reading.diagnostics)
    all += std::to_string(diagnostic.line) + ":" + std::to_string(diagnostic.column) +
           (diagnostic.severity == Severity::Error ? ": error: " : ": warning: ") + diagnostic.message + "\n";
  return all;
}

// Messages about a token the parser read many tokens before it knew of the
// problem: each still names that token's place and spelling.
TEST(Parser, LateMessagesNameTheTokenTheyAreAbout) {
  struct Case {
    std::string script;
    bool ok;
    std::string message;  // part of the diagnostics, with line and column
  };
  const Case cases[] = {
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE 4 / (2 - 2 + 0 * 7)\nBEGIN\nEND\n", false, "2:9: error: division by zero"},
      {"1 DIALOGEX 0, 0, 10 + 70000 + 1 + 1, 10\nBEGIN\nEND\n", true,
       "1:18: warning: width 70012 does not fit the template's 16-bit field; 4476 is stored"},
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", IDC_NOWHERE + 1 + 2 + 3, 0, 0, 1, 1\nEND\n", true,
       "3:14: warning: IDC_NOWHERE has no #define; it counts as 0"},
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE 1 | 2 | NOWHERE_STYLE | 4\nBEGIN\nEND\n", true,
       "2:15: warning: NOWHERE_STYLE has no #define; it counts as 0 in the STYLE"},
      {"1 MENUEX\nBEGIN\n  POPUP \"a\", 1, 2, 3, 4\n  MENUITEM \"b\", 5\nEND\n", true,
       "3:3: warning: POPUP has no BEGIN; the pop-up has no items"},
      {"1 MENUEX\nBEGIN\n  Popup \"a\", 1, 2, 3, 4, 5, 6\n  BEGIN\n  END\nEND\n", true,
       "3:3: warning: Popup takes at most 4 values after its text; the rest is ignored"},
      {"1 RCDATA\nBEGIN\n  1, 2, 3, 4, 5\n", true, "2:1: warning: this BEGIN has no END"},
      {"StringTable DISCARDABLE PURE\n", true, "1:1: warning: StringTable has no BEGIN"},
      {"1 DIALOGEX 0, 0, 10,", false, "1:20: error: expected a number, '(', '-', '~' or NOT, found the end"},
      {"1 DIALOG 0, 0 BEGIN\nEND\n", false, "1:15: error: expected ',' before the width of the DIALOG, found 'BEGIN'"},
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 0 END\n", false,
       "3:19: error: expected ',' before the control's y, found 'END'"},
      {"1 MENU\nVERSION 1 STYLE 2\nBEGIN\nEND\n", false,
       "2:11: error: expected BEGIN or an optional statement of the menu, found 'STYLE'"},
      {"1 DIALOG 0, 0, 1, 1\nVERSION 1 ACCELERATORS\nBEGIN\nEND\n", false,
       "2:11: error: expected BEGIN or an optional statement of the DIALOG, found 'ACCELERATORS'"},
      {"1 DIALOG 0, 0, 1, 1\ncaption \"a\" font 8, \"b\", 700", true,
       "2:13: warning: the FONT of a DIALOG has a point size and a face only"},
      {"1 DIALOG 0, 0, 1, 1\ncaption \"a\" font 8, \"b\"", true, "1:3: warning: DIALOG has no BEGIN"},
  };
  for (const Case& c : cases) {
    NoIncludes includes;
    const ScriptReading reading = ReadResourceScript("/s/main.rc", c.script, PreprocessorOptions{}, includes);
    const std::string messages = Messages(reading);
    EXPECT_EQ(reading.ok, c.ok) << c.script << "\n" << messages;
    EXPECT_NE(messages.find(c.message), std::string::npos) << c.script << "\n" << messages;
  }
}

}  // namespace
}  // namespace trellane
