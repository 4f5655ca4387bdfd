#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/DefineTable.h"

namespace trellane {
namespace {

struct Resolution {
  std::uint32_t value;
  std::string name;
  std::size_t warnings;
};

Resolution Resolve(const std::string& script, const std::string& field) {
  const DefineTable defines(script);
  Diagnostics diagnostics;
  const ResolvedIdentifier resolved = ResolveIdentifier(field, defines, 0, diagnostics);
  return {resolved.value, std::string(resolved.name), diagnostics.size()};
}

TEST(DefineTable, NameResolvesThroughTheLineDefiningExactlyThatName) {
  const std::string script = "#define IDC_EDT10 110\r\n#define IDC_EDT1 101\r\n";
  EXPECT_EQ(Resolve(script, "IDC_EDT1").value, 101u);
  EXPECT_EQ(Resolve(script, "IDC_EDT10").value, 110u);
}

TEST(DefineTable, DefineLineLayoutsResourceEditorsWrite) {
  struct Case {
    const char* script;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"#define IDC_X 1001 \r\n", 1001},              // trailing blank
      {"#define\tIDC_X\t5\n", 5},                     // tabs, LF line end
      {"  #define IDC_X 5\r", 5},                     // indented, CR-only line end
      {"#define IDC_X 0x10\r\n", 16},                 // hexadecimal value
      {"#define IDC_X 7 // the seventh\r\n", 7},      // trailing comment
      {"#define IDC_X 1\r\n#define IDC_X 2\r\n", 1},  // the first line wins
      {"#define IDC_STATIC -1\r\n", 0xFFFFFFFFu},
      {"#define IDC_X (-1)\r\n", 0xFFFFFFFFu},
      {"#define IDC_X IDC_Y\r\n#define IDC_Y 42\r\n", 42},  // a name refers on
      {"IDC_X appears first\r\n#define IDC_X 9\r\n", 9},    // wherever the define stands
  };
  for (const Case& c : cases) {
    const Resolution resolved = Resolve(c.script, "IDC_X");
    if (std::string(c.script).find("IDC_STATIC") != std::string::npos)
      EXPECT_EQ(Resolve(c.script, "IDC_STATIC").value, c.expected) << c.script;
    else
      EXPECT_EQ(resolved.value, c.expected) << c.script;
  }
}

TEST(DefineTable, NumbersStandForThemselvesAndLeaveNoName) {
  const Resolution number = Resolve("", "1001");
  EXPECT_EQ(number.value, 1001u);
  EXPECT_EQ(number.name, "");
  EXPECT_EQ(Resolve("", "-1").value, 0xFFFFFFFFu);
  EXPECT_EQ(Resolve("", "0x10").value, 16u);
  const Resolution empty = Resolve("", "");
  EXPECT_EQ(empty.value, 0u);
  EXPECT_EQ(empty.warnings, 0u);
}

TEST(DefineTable, KnownIdentifiersNeedNoDefine) {
  EXPECT_EQ(Resolve("", "IDOK").value, 1u);
  EXPECT_EQ(Resolve("", "IDCANCEL").value, 2u);
  EXPECT_EQ(Resolve("", "IDCONTINUE").value, 11u);
  EXPECT_EQ(Resolve("", "IDC_STATIC").value, 0xFFFFFFFFu);
  EXPECT_EQ(Resolve("#define IDOK 77\r\n", "IDOK").value, 77u);  // a define line wins
}

TEST(DefineTable, UnresolvableNamesGiveZeroAndAWarningButKeepTheirName) {
  const char* scripts[] = {
      "",                                                // no define
      "#define IDC_X IDC_Y\r\n#define IDC_Y IDC_X\r\n",  // a loop
      "#define IDC_X (IDC_A + 1)\r\n",                   // an expression
      "#define IDC_X\r\n",                               // no value
  };
  for (const char* script : scripts) {
    const Resolution resolved = Resolve(script, "IDC_X");
    EXPECT_EQ(resolved.value, 0u) << script;
    EXPECT_EQ(resolved.name, "IDC_X") << script;
    EXPECT_EQ(resolved.warnings, 1u) << script;
  }
}

TEST(DefineTable, ManyDefinesAllResolve) {
  std::string script;
  for (int i = 0; i < 5000; ++i)
    script += "#define IDM_ITEM" + std::to_string(i) + " " + std::to_string(10000 + i) + "\r\n";
  const DefineTable defines(script);
  EXPECT_EQ(defines.Size(), 5000u);
  Diagnostics diagnostics;
  for (int i = 0; i < 5000; i += 97) {
    const std::string name = "IDM_ITEM" + std::to_string(i);
    EXPECT_EQ(ResolveIdentifier(name, defines, 0, diagnostics).value, static_cast<std::uint32_t>(10000 + i));
  }
  EXPECT_TRUE(diagnostics.empty());
}

TEST(DefineTable, LookupOrderNeverChangesWhichLineDefinesAName) {
  // Names looked up in the order of their lines, backwards and out of
  // order, with a name defined twice and lines between the defines: every
  // lookup gives the value of the name's first define line.
  const std::string script =
      "#define IDC_A 1\r\n"
      "#define IDC_B 2\r\n"
      "// IDC_C follows\r\n"
      "  #define IDC_C 3 /* third */\r\n"
      "#define IDC_AB 4\r\n"
      "#define IDC_D 5\n"
      "#define IDC_E 6\r";
  // The later IDC_B line follows IDC_E's line directly.
  const std::string twice = script + "\n#define IDC_B 22\r\n#define IDC_F 7\r\n";
  struct Case {
    std::vector<std::string> names;
    std::vector<std::uint32_t> values;
  };
  const Case cases[] = {
      {{"IDC_A", "IDC_B", "IDC_C", "IDC_AB", "IDC_D", "IDC_E"}, {1, 2, 3, 4, 5, 6}},
      {{"IDC_E", "IDC_D", "IDC_AB", "IDC_C", "IDC_B", "IDC_A"}, {6, 5, 4, 3, 2, 1}},
      {{"IDC_A", "IDC_AB", "IDC_A", "IDC_B", "IDC_B", "IDC_X", "IDC_C"}, {1, 4, 1, 2, 2, 0, 3}},
  };
  for (const std::string& text : {script, twice}) {
    const DefineTable defines(text);
    for (const Case& c : cases) {
      Diagnostics diagnostics;
      for (std::size_t i = 0; i < c.names.size(); ++i)
        EXPECT_EQ(ResolveIdentifier(c.names[i], defines, 0, diagnostics).value, c.values[i]) << c.names[i];
    }
  }
  const DefineTable defines(twice);
  Diagnostics diagnostics;
  EXPECT_EQ(ResolveIdentifier("IDC_E", defines, 0, diagnostics).value, 6u);
  EXPECT_EQ(ResolveIdentifier("IDC_B", defines, 0, diagnostics).value, 2u);  // not the later 22
  EXPECT_EQ(ResolveIdentifier("IDC_F", defines, 0, diagnostics).value, 7u);
}

TEST(DefineTable, OnlyAWholeNameOfWordBytesIsLookedUp) {
  // A field with a blank inside names nothing, also when it starts like the
  // define line after the last one found and goes on like its value.
  const std::string script = "#define IDC_X 1\r\n#define IDC_A IDC_B 5\r\n#define IDC_B 6\r\n";
  const DefineTable defines(script);
  Diagnostics diagnostics;
  EXPECT_EQ(ResolveIdentifier("IDC_X", defines, 0, diagnostics).value, 1u);
  EXPECT_EQ(ResolveIdentifier("IDC_A IDC_B", defines, 0, diagnostics).value, 0u);
  EXPECT_EQ(ResolveIdentifier("IDC_X", defines, 0, diagnostics).value, 1u);
  EXPECT_EQ(ResolveIdentifier("IDC_B", defines, 0, diagnostics).value, 6u);
  EXPECT_EQ(diagnostics.size(), 1u);
  std::string_view value;
  EXPECT_FALSE(defines.Find("IDC", value));  // a name's start is not the name
  EXPECT_FALSE(defines.Find("", value));
}

}  // namespace
}  // namespace trellane
