#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "script/WindowsHeaders.h"

namespace trellane {
namespace {

// The number a built-in value stands for: 0x40000000L, 3, (-1).
std::optional<std::int64_t> NumberOf(std::string_view value) {
  if (value.size() > 2 && value.front() == '(' && value.back() == ')')
    value = value.substr(1, value.size() - 2);
  while (!value.empty() && (value.back() == 'L' || value.back() == 'U'))
    value.remove_suffix(1);
  const std::string text(value);
  char* end = nullptr;
  const std::int64_t number = std::strtoll(text.c_str(), &end, 0);
  if (text.empty() || end != text.c_str() + text.size())
    return std::nullopt;
  return number;
}

std::optional<std::string_view> ValueOf(std::string_view name) {
  const auto constants = BuiltinWindowsConstants();
  const auto found = std::lower_bound(constants.begin(), constants.end(), name,
                                      [](const BuiltinConstant& c, std::string_view n) { return c.name < n; });
  if (found == constants.end() || found->name != name)
    return std::nullopt;
  return found->value;
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
  for (const Case& c : numbers) {
    const auto value = ValueOf(c.name);
    ASSERT_TRUE(value.has_value()) << c.name;
    EXPECT_EQ(NumberOf(*value), c.number) << c.name << " = " << *value;
  }
  const std::pair<std::string_view, std::string_view> texts[] = {
      {"WC_BUTTON", "\"Button\""},
      {"WC_STATIC", "\"Static\""},
      {"WC_LISTVIEW", "\"SysListView32\""},
      {"WC_LINK", "\"SysLink\""},
      {"PROGRESS_CLASS", "\"msctls_progress32\""},
      {"TOOLBARCLASSNAME", "\"ToolbarWindow32\""},
      {"RICHEDIT_CLASS", "\"RichEdit20A\""},
  };
  for (const auto& [name, text] : texts)
    EXPECT_EQ(ValueOf(name), text) << name;
}

TEST(WindowsHeaders, ConstantsAreSortedUniqueNumbersOrTexts) {
  const auto constants = BuiltinWindowsConstants();
  ASSERT_GT(constants.size(), 500u);
  for (std::size_t i = 1; i < constants.size(); ++i)
    EXPECT_LT(constants[i - 1].name, constants[i].name) << "at " << constants[i].name;
  for (const BuiltinConstant& c : constants) {
    const bool text = c.value.size() >= 2 && c.value.front() == '"' && c.value.back() == '"';
    EXPECT_TRUE(text || NumberOf(c.value).has_value()) << c.name << " = " << c.value;
    // A negative number in parentheses, so that "1-IDC_STATIC" does not read as "1--1".
    EXPECT_FALSE(c.value.starts_with('-')) << c.name;
  }
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
    EXPECT_EQ(IsBuiltinWindowsHeader(name), builtin) << name;
}

}  // namespace
}  // namespace trellane
