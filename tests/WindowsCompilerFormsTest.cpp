// What the Windows compiler accepts and llvm-rc and windres refuse: each form
// reads as the same script written out in full, and values with no
// definition never vanish without a warning.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "cli/CommandLine.h"
#include "script/ModelDump.h"
#include "script/ScriptReader.h"

namespace trellane {
namespace {

class NoFiles final : public IncludeFileReader {
 public:
  IncludeFile Read(const std::string&) override { return {}; }
};

ScriptReading ReadScript(const std::string& script) {
  NoFiles none;
  return ReadResourceScript("app.rc", script, PreprocessorOptions{}, none);
}

std::string ModelOf(const ScriptReading& reading) {
  std::ostringstream dump;
  DumpResourceModel(reading.resources, dump);
  return dump.str();
}

std::string WarningsOf(const ScriptReading& reading) {
  std::string all;
  for (const Diagnostic& diagnostic : reading.diagnostics)
    all += std::to_string(diagnostic.line) + ":" + std::to_string(diagnostic.column) + ": " + diagnostic.message + "\n";
  return all;
}

const std::string DialogHead = "1 DIALOGEX 0, 0, 100, 50\nBEGIN\n";

TEST(WindowsCompilerForms, EachReadsAsTheScriptWrittenInFull) {
  struct Case {
    const char* form;
    std::string lenient;
    std::string written;  // as llvm-rc reads it
    std::string warning;  // part of the only warning, or empty for none
  };
  const Case cases[] = {
      {"no comma before a menu item's identifier", "1 MENU\nBEGIN\n  MENUITEM \"Start Preview\" 40005\nEND\n",
       "1 MENU\nBEGIN\n  MENUITEM \"Start Preview\", 40005\nEND\n", ""},
      {"no comma after a control's text", DialogHead + "  CTEXT \"Microsoft Windows\" -1, 0, 8, 160, 8\nEND\n",
       DialogHead + "  CTEXT \"Microsoft Windows\", -1, 0, 8, 160, 8\nEND\n", ""},
      {"a text and an identifier touching",
       "#define IDC_TAB 12\n" + DialogHead + "  CONTROL \"Tab\"IDC_TAB, \"Button\", 3, 1, 2, 3, 4\nEND\n",
       "#define IDC_TAB 12\n" + DialogHead + "  CONTROL \"Tab\", IDC_TAB, \"Button\", 3, 1, 2, 3, 4\nEND\n", ""},
      {"no comma between coordinates", DialogHead + "  LTEXT \"a\", 1, 0 8, 160 8\nEND\n",
       DialogHead + "  LTEXT \"a\", 1, 0, 8, 160, 8\nEND\n", ""},
      {"a comma too many after the keyword", DialogHead + "  EDITTEXT , 703, 1, 2, 3, 4\nEND\n",
       DialogHead + "  EDITTEXT 703, 1, 2, 3, 4\nEND\n", ""},
      {"a resource name with a dot", "FOLDER.GIF 2110 \"res\\\\Folder.gif\"\n1 MENU\nBEGIN\n  MENUITEM \"a\", 1\nEND\n",
       "FOLDERGIF 2110 \"res\\\\Folder.gif\"\n1 MENU\nBEGIN\n  MENUITEM \"a\", 1\nEND\n", ""},
      {"a dialog named with dots", "MY.DLG.2 DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n",
       "\"MY.DLG.2\" DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n", ""},
      {"the DOS end of the file", "1 MENU\r\nBEGIN\r\n  MENUITEM \"a\", 1\r\nEND\r\n\x1A\x1A not read (",
       "1 MENU\r\nBEGIN\r\n  MENUITEM \"a\", 1\r\nEND\r\n", ""},
      {"coordinates beyond 16 bits", "1 DIALOGEX 65535, 65535, 174, 135\nBEGIN\nEND\n",
       "1 DIALOGEX -1, -1, 174, 135\nBEGIN\nEND\n", "1:12: x 65535 does not fit the template's 16-bit field; -1"},
      {"a control's size beyond 16 bits", DialogHead + "  LTEXT \"a\", 1, 0, 0, 65536, 32768\nEND\n",
       DialogHead + "  LTEXT \"a\", 1, 0, 0, 0, -32768\nEND\n", "3:23: width 65536 does not fit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    const ScriptReading lenient = ReadScript(c.lenient);
    const ScriptReading written = ReadScript(c.written);
    ASSERT_TRUE(lenient.ok) << WarningsOf(lenient);
    ASSERT_TRUE(written.ok) << WarningsOf(written);
    EXPECT_EQ(ModelOf(lenient), ModelOf(written));
    const std::string warnings = WarningsOf(lenient);
    if (c.warning.empty()) {
      EXPECT_EQ(warnings, "");
    } else {
      EXPECT_NE(warnings.find(c.warning), std::string::npos) << warnings;
    }
  }
  EXPECT_NE(ModelOf(ReadScript(cases[6].lenient)).find("MY.DLG.2"), std::string::npos);
}

// An identifier without a value in any numeric field is a warning at the
// identifier, never a silent 0.
TEST(WindowsCompilerForms, IdentifiersWithNoValueWarnInEveryField) {
  struct Case {
    std::string script;
    std::string warning;  // line:column: message
  };
  const std::string control = "  CONTROL \"\", 5, \"SysLink\", ";
  const Case cases[] = {
      {DialogHead + control + "LWS_NOPREFIX | 0x00010000, 1, 2, 3, 4\nEND\n",
       "3:29: LWS_NOPREFIX has no #define; it counts as 0 in the style"},
      {DialogHead + "  LTEXT \"a\", 1, 1, 2, 3, 4, SS_NOWHERE\nEND\n",
       "3:29: SS_NOWHERE has no #define; it counts as 0 in the style"},
      {"1 DIALOGEX 0, 0, 100, 50\nSTYLE 0x80000000 | DS_NOWHERE\nBEGIN\nEND\n",
       "2:20: DS_NOWHERE has no #define; it counts as 0 in the STYLE"},
      {"1 DIALOGEX 0, 0, 100, 50\nEXSTYLE WS_EX_NOWHERE\nBEGIN\nEND\n", "2:9: WS_EX_NOWHERE has no #define; EXSTYLE 0"},
      {DialogHead + "  LTEXT \"a\", 1, 1, 2, 3, 4, 0, WS_EX_NOWHERE\nEND\n",
       "3:32: WS_EX_NOWHERE has no #define; extended style 0"},
      {DialogHead + "  LTEXT \"a\", 1, X_NOWHERE, 2, 3, 4\nEND\n", "3:17: X_NOWHERE has no #define; x 0"},
      {"1 DIALOGEX 0, 0, W_NOWHERE, 50\nBEGIN\nEND\n", "1:18: W_NOWHERE has no #define; width 0"},
      {"1 DIALOGEX 0, 0, 100, 50, HELP_NOWHERE\nBEGIN\nEND\n", "1:27: HELP_NOWHERE has no #define; help identifier 0"},
      {DialogHead + "  LTEXT \"a\", 1, 1, 2, 3, 4, 0, 0, HELP_NOWHERE\nEND\n",
       "3:35: HELP_NOWHERE has no #define; help identifier 0"},
      {"1 DIALOGEX 0, 0, 100, 50\nFONT SIZE_NOWHERE, \"MS Shell Dlg\"\nBEGIN\nEND\n",
       "2:6: SIZE_NOWHERE has no #define; FONT point size 0"},
      {"1 DIALOGEX 0, 0, 100, 50\nFONT 8, \"MS Shell Dlg\", FW_NOWHERE\nBEGIN\nEND\n",
       "2:25: FW_NOWHERE has no #define; FONT value 0"},
  };
  for (const Case& c : cases) {
    const ScriptReading reading = ReadScript(c.script);
    ASSERT_TRUE(reading.ok) << c.script << WarningsOf(reading);
    EXPECT_EQ(WarningsOf(reading), c.warning + "\n") << c.script;
  }
}

class SuccessLine : public TempFolderTest {};

// The success line counts the script's warnings, and reads as before when
// there are none.
TEST_F(SuccessLine, CountsTheWarnings) {
  struct Case {
    std::string script;
    ConversionMode mode;
    std::string line;
  };
  const Case cases[] = {
      {"1 MENU\nBEGIN\n  MENUITEM \"a\", 1\n  MENUITEM \"b\", 2\nEND\n", ConversionMode::Menu, ": 2 items\n"},
      {"1 MENU\nBEGIN\n  MENUITEM \"a\", ID_A\nEND\n", ConversionMode::Menu, ": 1 item, 1 warning\n"},
      {DialogHead + "  LTEXT \"a\", 1, 0, 0, 65535, 4, SS_NOWHERE\n  LTEXT \"b\", 2, 0, 0, 1, 1\nEND\n",
       ConversionMode::Dialog, ": 2 controls, 2 warnings\n"},
      {"#include \"afxres.rc\"\n1 MENU\nBEGIN\n  MENUITEM \"a\", 1\nEND\n", ConversionMode::Menu, ": 1 item\n"},
  };
  for (const Case& c : cases) {
    WriteFile("app.rc", c.script);
    ConvertOptions options;
    options.mode = c.mode;
    options.script.scriptPath = PathOf("app.rc");
    options.outputPath = PathOf(c.mode == ConversionMode::Menu ? "app.mnu" : "app.dlg");
    options.menuName = "";
    options.baseUnits = std::make_pair(6, 13);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunConvertCommand(options, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "wrote " + options.outputPath + c.line) << err.str();
  }
}

}  // namespace
}  // namespace trellane
