#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "script/Preprocessor.h"
#include "script/WindowsHeaders.h"

namespace trellane {
namespace {

// Include files held in memory, counting how often each is read.
class CountingIncludes final : public IncludeFileReader {
 public:
  explicit CountingIncludes(std::map<std::string, std::string> texts = {}) : files(std::move(texts)) {}

  IncludeFile Read(const std::string& path) override {
    IncludeFile file;
    const auto found = files.find(path);
    if (found == files.end())
      return file;
    ++reads[path];
    file.status = IncludeStatus::Read;
    file.bytes = found->second;
    return file;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, int> reads;
};

// The script's tokens joined by spaces, or its first error.
std::string Tokens(const std::string& script, IncludeFileReader& includes, const PreprocessorOptions& options = {}) {
  SourceFiles files;
  Diagnostics diagnostics;
  Preprocessor preprocessor(files, options, includes, diagnostics);
  preprocessor.Start("app.rc", script);
  std::string tokens;
  for (Token token; preprocessor.Next(token);)
    tokens += (tokens.empty() ? "" : " ") + std::string(token.text);
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.severity == Severity::Error)
      return "error: " + diagnostic.message;
  }
  return tokens;
}

std::optional<std::int64_t> ValueOf(std::string_view name) {
  const WindowsConstant* constant = FindWindowsConstant(name);
  if (constant == nullptr || !constant->text.empty())
    return std::nullopt;
  return constant->value;
}

TEST(WindowsHeaders, BuiltinHeadersDefineWhatTheRealOnesDefine) {
  struct Case {
    const char* script;
    const char* expected;
  };
  const Case cases[] = {
      // windows.h leaves the script's IDC_STATIC alone; winres.h and afxres.h redefine it.
      {"#define IDC_STATIC 101\n#include <windows.h>\nIDC_STATIC WS_CHILD", "101 0x40000000L"},
      {"#define IDC_STATIC 101\n#include <winres.h>\nIDC_STATIC", "( - 1 )"},
      {"#define IDC_STATIC 101\n#include \"afxres.h\"\nIDC_STATIC ID_FILE_OPEN AFX_IDS_APP_TITLE",
       "( - 1 ) 0xE101 0xE000"},
      // winres.h has no guard: a second include redefines again.
      {"#include <winres.h>\n#define IDC_STATIC 5\n#include <winres.h>\nIDC_STATIC", "( - 1 )"},
      // windows.h has one: a second include changes nothing.
      {"#include <windows.h>\n#undef WS_CHILD\n#include <windows.h>\nWS_CHILD", "WS_CHILD"},
      {"#include <dlgs.h>\npsh1 chx5 ico1 IDC_MANAGE_LINK", "0x0400 0x0414 0x043c 1592"},
      {"#include <commctrl.h>\nLWS_NOPREFIX WC_LINK", "0x4 L\"SysLink\""},
      // Any letter case, any separator; the last name counts.
      {"#include <WinSDKVer.h>\n#include \"..\\include\\WINDOWS.H\"\n#ifdef _INC_WINDOWS\nyes\n#endif", "yes"},
      {"#include <sdks/_mingw_ddk.h>\n#include <_MINGW_DDK.h>\nMINGW_HAS_DDK_H", "1"},
      // Only what is included is defined.
      {"#include <windows.h>\nRICHEDIT_CLASS ID_FILE_OPEN", "RICHEDIT_CLASS ID_FILE_OPEN"},
      {"#include <winspool.h>\n#include <winsock2.h>\n#include <custcntl.h>\n#include <colordlg.h>\nok", "ok"},
      {"#include <nosuchheader.h>\n",
       "error: cannot find include file 'nosuchheader.h' (looked in no folder); -I FOLDER adds a folder to the search"},
  };
  for (const Case& c : cases) {
    CountingIncludes none;
    EXPECT_EQ(Tokens(c.script, none), c.expected) << c.script;
  }
}

TEST(WindowsHeaders, BuiltinHeadersKeepTheirDirectivesInOrder) {
  const std::string winres = BuiltinHeaderText(*FindBuiltinHeader("winres.h"));
  // The compiler's reading gives an #undef only for a defined macro; the
  // definition after it replaces the script's all the same.
  EXPECT_EQ(winres, "#include <winresrc.h>\n#define IDC_STATIC (-1)\n");
  const std::string mingw = BuiltinHeaderText(*FindBuiltinHeader("_mingw.h"));
  const std::size_t undefine = mingw.find("#undef __stdcall\n");
  ASSERT_NE(undefine, std::string::npos);
  EXPECT_EQ(mingw.find("#define __stdcall", undefine), undefine + 17);
  const std::string windows = BuiltinHeaderText(*FindBuiltinHeader("windows.h"));
  EXPECT_TRUE(windows.starts_with("#ifndef _WINDOWS_\n")) << windows.substr(0, 40);
  EXPECT_TRUE(windows.ends_with("#endif\n"));
  EXPECT_EQ(FindBuiltinHeader("sys/stat.h"), std::optional<std::string_view>("sys/stat.h"));
  EXPECT_EQ(FindBuiltinHeader("Stat.h"), std::optional<std::string_view>("stat.h"));
}

TEST(WindowsHeaders, RealHeadersGainWhatTheBuiltInOnesAdd) {
  struct Case {
    const char* header;  // the real file
    const char* script;
    const char* expected;
  };
  const Case cases[] = {
      // MinGW-w64's afxres.h: IDC_STATIC, and MFC's identifiers added after it.
      {"#ifndef _AFXRES_H\n#define _AFXRES_H\n#define IDC_STATIC (-1)\n#endif\n",
       "#include \"afxres.h\"\nIDC_STATIC ID_FILE_OPEN AFX_IDS_APP_TITLE", "( - 1 ) 0xE101 0xE000"},
      // An MFC afxres.h keeps its own values; a second include adds nothing more.
      {"#pragma once\n#define ID_FILE_OPEN 57601\n", "#include <afxres.h>\n#include <AFXRES.H>\nID_FILE_OPEN", "57601"},
      {"#define psh1 0x400\n", "#include <dlgs.h>\npsh1 IDC_MANAGE_LINK", "0x400 1592"},
      // A header the built-in ones add nothing to stays as it is.
      {"#define WS_CHILD 7\n", "#include <windows.h>\nWS_CHILD WS_POPUP", "7 WS_POPUP"},
  };
  for (const Case& c : cases) {
    const std::string name = std::string(c.script).substr(10, std::string(c.script).find_first_of(">\"", 10) - 10);
    CountingIncludes includes(std::map<std::string, std::string>{{"sdk/" + name, c.header}});
    PreprocessorOptions options;
    options.includeFolders = {"sdk"};
    EXPECT_EQ(Tokens(c.script, includes, options), c.expected) << c.script;
  }
  // Every header the generator's data adds definitions to is one whose real file gains them.
  std::ifstream additions(TRELLANE_SOURCE_DIR "/scripts/data/sdk-additions.txt");
  for (std::string header, operation, rest; additions >> header >> operation && std::getline(additions, rest);) {
    if (header != "#" && operation == "define") {
      EXPECT_TRUE(AddsToRealHeader(header)) << header;
    }
  }
}

TEST(WindowsHeaders, GuardedHeadersAreReadOnce) {
  struct Case {
    const char* header;
    int reads;
  };
  const Case cases[] = {
      {"#ifndef A_H\n#define A_H\n#define X 1\n#endif\n", 1},
      {"#pragma once\n#define X 1\n", 1},
      {"#if !defined(A_H)\n#define A_H\n#define X 1\n#endif\n", 3},         // not a form the reading knows: read again
      {"#ifndef A_H\n#define A_H\n#define X 1\n#endif\n#define Y 2\n", 3},  // a directive outside the guard
      {"#ifndef A_H\n#define A_H\n#define X 1\n#else\n#endif\n", 3},
      // Guards one after another (_mingw.h, rpcndr.h): read once when every macro is defined by then.
      {"#ifndef A_H\n#define A_H\n#define X 1\n#endif\n#ifndef B_H\n#define B_H\n#endif\n", 1},
      {"#ifndef V\n#define V 475\n#endif\n#ifndef A_H\n#define A_H\n#define X 1\n#endif\n", 1},
      {"#ifndef A_H\n#define A_H\n#define X 1\n#endif\n#ifndef B_H\n#endif\n", 3},
      {"#ifndef A_H\n#define A_H\n#define X 1\n#endif\n#ifndef B_H\n#else\n#define B_H\n#endif\n", 3},
      {"#define X 1\n", 3},
  };
  for (const Case& c : cases) {
    CountingIncludes includes(std::map<std::string, std::string>{{"a.h", c.header}});
    EXPECT_EQ(Tokens("#include \"a.h\"\n#include \"a.h\"\n#include \"a.h\"\nX", includes), "1") << c.header;
    EXPECT_EQ(includes.reads["a.h"], c.reads) << c.header;
  }
  // A guard whose macro the script takes away lets the header in again.
  CountingIncludes includes(
      std::map<std::string, std::string>{{"a.h", "#ifndef A_H\n#define A_H\n#define X 1\n#endif\n"}});
  EXPECT_EQ(Tokens("#include \"a.h\"\n#undef A_H\n#undef X\n#include \"a.h\"\nX", includes), "1");
  EXPECT_EQ(includes.reads["a.h"], 2);
}

// A header's other lines are passed over sixteen bytes at a time: a comment,
// a backslash-newline or a quote counts wherever it stands in its block.
TEST(WindowsHeaders, SkippedLinesSeeTheirCommentsJoinsAndQuotesAnywhere) {
  for (std::size_t column = 0; column < 40; ++column) {
    std::string header;
    for (const char* line : {"/*\n#define X 2\n*/\n", "b\\\n#define Y 2\n", "'\n#define Z 3\n", "\r#define W 4\n"})
      header.append(column, 'a').append(line);
    CountingIncludes includes(std::map<std::string, std::string>{{"a.h", header}});
    EXPECT_EQ(Tokens("#include \"a.h\"\nX Y Z W", includes), "X Y 3 4") << column;
  }
}

TEST(WindowsHeaders, ConstantsHaveTheValuesOfTheWindowsHeaders) {
  struct Case {
    std::string_view name;
    std::int64_t number;
  };
  const Case numbers[] = {
      {"WS_CHILD", 0x40000000},
      {"WS_POPUP", 0x80000000},
      {"WS_OVERLAPPEDWINDOW", 0xCF0000},
      {"WS_EX_CLIENTEDGE", 0x200},
      {"DS_SHELLFONT", 0x48},
      {"BS_AUTOCHECKBOX", 3},
      {"SS_ICON", 3},
      {"ES_AUTOHSCROLL", 0x80},
      {"LBS_NOTIFY", 1},
      {"CBS_DROPDOWNLIST", 3},
      {"MFT_STRING", 0},
      {"MFS_GRAYED", 3},
      {"TBS_AUTOTICKS", 1},
      {"UDS_SETBUDDYINT", 2},
      {"LVS_REPORT", 1},
      {"TVS_HASLINES", 2},
      {"IDOK", 1},
      {"IDCANCEL", 2},
      {"IDCONTINUE", 11},
      {"IDC_STATIC", -1},
      {"LANG_ENGLISH", 9},
      {"SUBLANG_ENGLISH_US", 1},
      {"LANG_NEUTRAL", 0},
      {"SUBLANG_DEFAULT", 1},
      {"VK_F1", 0x70},
      {"VK_RETURN", 13},
  };
  for (const Case& c : numbers)
    EXPECT_EQ(ValueOf(c.name), c.number & 0xFFFFFFFF) << c.name;
  const std::pair<std::string_view, std::string_view> texts[] = {
      {"WC_BUTTON", "Button"},
      {"WC_STATIC", "Static"},
      {"WC_LISTVIEW", "SysListView32"},
      {"WC_LINK", "SysLink"},
      {"PROGRESS_CLASS", "msctls_progress32"},
      {"TOOLBARCLASSNAME", "ToolbarWindow32"},
      {"RICHEDIT_CLASS", "RichEdit20A"},
  };
  for (const auto& [name, text] : texts) {
    ASSERT_NE(FindWindowsConstant(name), nullptr) << name;
    EXPECT_EQ(FindWindowsConstant(name)->text, text) << name;
  }
}

TEST(WindowsHeaders, ConstantsAreSortedUniqueNumbersOrTexts) {
  const auto constants = WindowsConstants();
  ASSERT_GT(constants.size(), 500u);
  for (std::size_t i = 1; i < constants.size(); ++i)
    EXPECT_LT(constants[i - 1].name, constants[i].name) << "at " << constants[i].name;
  for (const WindowsConstant& c : constants)
    EXPECT_TRUE(c.text.empty() || c.value == 0) << c.name;
}

TEST(WindowsHeaders, HeadersAreKnownByTheirLastNameInAnyCase) {
  const std::pair<std::string_view, bool> cases[] = {
      {"windows.h", true},
      {"WINDOWS.H", true},
      {"sdk/include/Windows.h", true},
      {"C:\\SDK\\WinRes.h", true},
      {"..\\afxres.h", true},
      {"CommCtrl.h", true},
      {"richedit.h", true},
      {"winuser.rh", true},
      {"SDKDDKVer.h", true},
      {"resource.h", false},
      {"windows.hpp", false},
      {"mywindows.h", false},
      {"windows.h/", false},
      {"windows", false},
      {"", false},
      {"windows.h/resource.h", false},
  };
  for (const auto& [name, builtin] : cases)
    EXPECT_EQ(FindBuiltinHeader(name).has_value(), builtin) << name;
}

}  // namespace
}  // namespace trellane
