// The constants of the Windows headers that resource scripts use, built in
// for systems that have no Windows headers.
#pragma once

#include <span>
#include <string_view>

namespace trellane {

struct BuiltinConstant {
  std::string_view name;
  std::string_view value;  // replacement text: a number such as 0x10000000L, or a quoted text such as "Button"
};

// Every built-in constant, sorted by name.
std::span<const BuiltinConstant> BuiltinWindowsConstants();

// The include names (compared case-insensitively, folders ignored) that the
// built-in constants stand in for when no such file is on the search path:
// windows.h, winres.h, afxres.h, commctrl.h, richedit.h and the like.
bool IsBuiltinWindowsHeader(std::string_view includeName);

}  // namespace trellane
