#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/Converters.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogRecordFile.h"
#include "script/ModelDump.h"
#include "script/ScriptReader.h"

namespace trellane {
namespace {

// Serves files from memory; every other path is missing.
class MemoryFiles final : public IncludeFileReader {
 public:
  explicit MemoryFiles(std::map<std::string, std::string> contents) : files(std::move(contents)) {}
  IncludeFile Read(const std::string& path) override {
    IncludeFile file;
    const auto found = files.find(path);
    if (found != files.end()) {
      file.status = IncludeStatus::Read;
      file.bytes = found->second;
    }
    return file;
  }

 private:
  std::map<std::string, std::string> files;
};

ScriptReading Read(const std::string& script, std::map<std::string, std::string> includes = {}) {
  MemoryFiles files(std::move(includes));
  return ReadResourceScript("/s/main.rc", script, PreprocessorOptions{}, files);
}

std::string Messages(const Diagnostics& diagnostics) {
  std::string all;
  for (const Diagnostic& diagnostic : diagnostics)
    all += (diagnostic.file.empty() ? "main.rc" : diagnostic.file) + ":" + std::to_string(diagnostic.line) + ":" +
           std::to_string(diagnostic.column) + (diagnostic.severity == Severity::Error ? ": error: " : ": warning: ") +
           diagnostic.message + "\n";
  return all;
}

// Broken scripts: each is refused with an error, or read with a warning;
// either way the message says what is wrong and where.
TEST(FrontEnd, BrokenScriptsGiveAnErrorOrAWarningAtTheirPlace) {
  struct Case {
    std::string script;
    bool ok;
    std::string message;  // part of the diagnostic, with its line and column
  };
  const std::string deepParentheses = std::string(10000, '(') + "1" + std::string(10000, ')');
  const Case cases[] = {
      {"1 MENUEX\nBEGIN\n  MENUITEM \"open, 1\nEND\n", false, "main.rc:3:12: error:"},
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE 0x10 |\nBEGIN\nEND\n", false, "main.rc:3:1: error: expected a number"},
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  BUTTONX \"a\", 1, 0, 0, 1, 1\nEND\n", false,
       "main.rc:3:3: error: 'BUTTONX' is no statement of a dialog's block"},
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE 4 / (2 - 2)\nBEGIN\nEND\n", false, "division by zero"},
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE " + deepParentheses + "\nBEGIN\nEND\n", false, "nested too deeply"},
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\n", true,
       "main.rc:2:1: warning: the BEGIN of the DIALOGEX has no END"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"a\", 1\n", true, "main.rc:2:1: warning: the menu's BEGIN has no closing END"},
      {"1 MENUEX\n2 MENUEX\nBEGIN\nEND\n", false, "main.rc:2:1: error: expected BEGIN"},
      {"1 MENUEX", true, "main.rc:1:3: warning: MENUEX has no BEGIN"},
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", IDC_NOWHERE, 0, 0, 1, 1\nEND\n", true,
       "main.rc:3:14: warning: IDC_NOWHERE has no #define; identifier 0"},
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE WS_CHILD\nBEGIN\nEND\n", true,
       "main.rc:2:7: warning: WS_CHILD is not defined; the Windows headers' value is used"},
      {"1 MENU\nBEGIN\n  MENUITEM \"a\", 1, CHECKED,\nEND\n", false, "expected a menu option"},
  };
  for (const Case& c : cases) {
    const ScriptReading reading = Read(c.script);
    const std::string messages = Messages(reading.diagnostics);
    EXPECT_EQ(reading.ok, c.ok) << c.script.substr(0, 80) << "\n" << messages;
    EXPECT_NE(messages.find(c.message), std::string::npos) << c.script.substr(0, 80) << "\n" << messages;
  }
}

TEST(FrontEnd, ErrorsInIncludedFilesNameTheIncludeChain) {
  const ScriptReading reading =
      Read("#include \"dialogs.rc\"\n", {{"/s/dialogs.rc",
                                          "#include \"ids.h\"\n1 DIALOGEX 0, 0, 9, 9\nBEGIN\n"
                                          "  CONTROL \"a\", IDC_A, \"Button\", BAD +, 0, 0, 1, 1\nEND\n"},
                                         {"/s/ids.h", "#define IDC_A 5\nint Function(void);\n"}});
  ASSERT_FALSE(reading.ok);
  ASSERT_FALSE(reading.diagnostics.empty());
  const Diagnostic& error = reading.diagnostics.back();
  EXPECT_EQ(error.severity, Severity::Error);
  EXPECT_EQ(error.file, "/s/dialogs.rc");
  EXPECT_EQ(error.line, 4u);
  ASSERT_EQ(error.includedFrom.size(), 1u);
  EXPECT_EQ(error.includedFrom[0], "/s/main.rc:1");
}

// Short control statements take the compilers' class and default style, with
// NOT taking bits out of the default; RadASM types follow the class and style.
TEST(FrontEnd, VisualStudioAboutDialogConvertsEveryControl) {
  const std::string resourceHeader =
      "#define IDD_ABOUTBOX 100\n#define IDR_MAINFRAME 128\n#define IDC_CHECK 1000\n#define IDC_NAME 1001\n";
  const std::string script =
      "#include \"resource.h\"\n"
      "#include \"winres.h\"\n"
      "IDD_ABOUTBOX DIALOGEX 0, 0, 170, 62\n"
      "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
      "CAPTION \"About\"\n"
      "FONT 8, \"MS Shell Dlg\", 0, 0, 0x1\n"
      "BEGIN\n"
      "    ICON            IDR_MAINFRAME,IDC_STATIC,14,14,21,20\n"
      "    LTEXT           \"App, Version 1.0\",IDC_STATIC,42,14,114,8,SS_NOPREFIX\n"
      "    LTEXT           \"Copyright (C) 2026\",IDC_STATIC,42,26,114,8\n"
      "    DEFPUSHBUTTON   \"OK\",IDOK,113,41,50,14,WS_GROUP\n"
      "    CONTROL         \"Remember\",IDC_CHECK,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,7,41,60,10\n"
      "    EDITTEXT        IDC_NAME,7,52,60,12,ES_AUTOHSCROLL | NOT WS_BORDER\n"
      "END\n";
  FixedMetrics metrics({8, 16}, 96, {13, 316});
  ConversionContext context;
  context.metrics = &metrics;
  MemoryFiles files({{"/s/resource.h", resourceHeader}});
  context.includes = &files;
  context.scriptPath = "/s/main.rc";
  const ConverterResult result = ConvertDialogScript(script, context);
  ASSERT_EQ(result.recordCount, 6u) << Messages(result.diagnostics);
  EXPECT_EQ(Messages(result.diagnostics), "");
  struct Expected {
    std::string_view name;
    std::uint32_t id;
    std::uint32_t style;
    std::uint32_t type;
    std::string_view text;
  };
  const Expected expected[] = {
      {"IDC_STATIC", 0xFFFFFFFF, 0x50000003, 17, "IDR_MAINFRAME"},
      {"IDC_STATIC", 0xFFFFFFFF, 0x50020080, 2, "App, Version 1.0"},
      {"IDC_STATIC", 0xFFFFFFFF, 0x50020000, 2, "Copyright (C) 2026"},
      {"IDOK", 1, 0x50030001, 4, "OK"},
      {"IDC_CHECK", 1000, 0x50010003, 5, "Remember"},
      {"IDC_NAME", 1001, 0x50010080, 1, ""},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const std::size_t record = ControlOffset(i);
    EXPECT_EQ(LoadText(result.image, record + ControlRecord::identifierName, 32), expected[i].name) << i;
    EXPECT_EQ(LoadU32(result.image, record + ControlRecord::identifier), expected[i].id) << i;
    EXPECT_EQ(LoadU32(result.image, record + ControlRecord::style), expected[i].style) << i;
    EXPECT_EQ(LoadU32(result.image, record + ControlRecord::typeIndex), expected[i].type) << i;
    EXPECT_EQ(LoadText(result.image, record + ControlRecord::text, 241), expected[i].text) << i;
  }
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::style), 0x80C800C0u);
  EXPECT_EQ(LoadText(result.image, DialogWindowOffset + ControlRecord::identifierName, 32), "IDD_ABOUTBOX");
  EXPECT_EQ(LoadU32(result.image, DialogWindowOffset + ControlRecord::identifier), 100u);
}

TEST(FrontEnd, ResourceOptionChoosesByNameOrNumberInAnyCase) {
  const std::string script =
      "#define IDR_A 10\n#define IDR_B 20\n"
      "IDR_A MENUEX\nBEGIN\n MENUITEM \"a\"\nEND\n"
      "IDR_B MENUEX\nBEGIN\n MENUITEM \"b\"\n MENUITEM \"c\"\nEND\n"
      "Named MENUEX\nBEGIN\nEND\n";
  struct Case {
    std::optional<std::string> wanted;
    std::size_t items;
    std::string resource;
  };
  const Case cases[] = {
      {std::nullopt, 1, "IDR_A"}, {"idr_b", 2, "IDR_B"}, {"20", 2, "IDR_B"},
      {"0x14", 2, "IDR_B"},       {"NAMED", 0, "Named"}, {"IDR_C", 0, ""},
  };
  for (const Case& c : cases) {
    ConversionContext context;
    context.resourceName = c.wanted;
    const ConverterResult result = ConvertMenuScript(script, context);
    EXPECT_EQ(result.resourceName, c.resource) << c.wanted.value_or("first");
    EXPECT_EQ(result.recordCount, c.items) << c.wanted.value_or("first");
    EXPECT_EQ(result.image.empty(), c.resource.empty()) << c.wanted.value_or("first");
  }
  const ConverterResult first = ConvertMenuScript(std::string_view(script));
  EXPECT_NE(Messages(first.diagnostics).find("not IDR_B, Named"), std::string::npos) << Messages(first.diagnostics);
}

// Other resources are stepped over whole: their words never start a menu or
// a dialog.
TEST(FrontEnd, OtherResourcesAreSteppedOverWhole) {
  const ScriptReading reading = Read(
      "LANGUAGE 9, 1\n"
      "STRINGTABLE\nBEGIN\n  1 \"MENUEX\"\n  2, \"DIALOGEX\"\nEND\n"
      "IDI_APP ICON \"app.ico\"\n"
      "IDB_LOGO BITMAP res\\logo.bmp\n"
      "1 VERSIONINFO\n FILEVERSION 1,0,0,1\n FILEFLAGSMASK 0x3fL\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n"
      "  VALUE \"FileDescription\", \"MENU\"\n END\nEND\n"
      "IDR_ACCEL ACCELERATORS\nBEGIN\n \"N\", 1, VIRTKEY, CONTROL\nEND\n"
      "IDR_TB TOOLBAR 16, 15\nBEGIN\n BUTTON 1\n SEPARATOR\nEND\n"
      "1 TEXTINCLUDE\nBEGIN\n \"resource.h\\0\"\nEND\n"
      "IDD_X DLGINIT\nBEGIN\n 1000, 0x403, 6, 0\n 0x6f46, 0x006f,\n 0\nEND\n"
      "GUIDELINES DESIGNINFO\nBEGIN\n IDD_X, DIALOG\n BEGIN\n LEFTMARGIN, 7\n END\nEND\n"
      "1 RCDATA\nBEGIN\n 1, 2, \"MENUEX\"\nEND\n"
      "IDR_HTML HTML \"page.htm\"\n"
      "IDR_DATA MYTYPE \"data.bin\"\n"
      "1 24 \"app.manifest\"\n"
      "IDR_M MENUEX\nBEGIN\n MENUITEM \"only\", 1\nEND\n");
  EXPECT_TRUE(reading.ok) << Messages(reading.diagnostics);
  ASSERT_EQ(reading.resources.menus.size(), 1u);
  EXPECT_EQ(reading.resources.menus[0].language.Id(), 0x409);
  EXPECT_TRUE(reading.resources.dialogs.empty());
}

// The model's texts view the store: each must keep its bytes and place
// while more are added, small and larger than a block, and when the store moves.
TEST(FrontEnd, KeptTextsStayInPlaceAsTheStoreGrowsAndMoves) {
  TextStore store;
  std::vector<std::string> written;
  std::vector<std::string_view> kept;
  for (std::size_t i = 0; i < 20000; ++i) {
    const std::size_t size = i % 997 == 0 ? (i + 1) * 7 : i % 40;  // now and then one larger than a block
    written.push_back(std::string(size, static_cast<char>('a' + i % 26)) + std::to_string(i));
    kept.push_back(store.Keep(written.back()));
  }
  EXPECT_TRUE(store.Keep(std::string_view()).empty());
  const TextStore moved = std::move(store);
  for (std::size_t i = 0; i < written.size(); ++i)
    ASSERT_EQ(kept[i], written[i]) << "text " << i;
}

}  // namespace
}  // namespace trellane
