// The Windows headers, built in for systems that have none: each header of the
// MinGW-w64 include tree as a resource compiler reads it, and the values of
// the constants resource scripts use.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trellane {

// The built-in header an include name stands for, by its name below the
// include folder in lower case ("winuser.rh", "sdks/_mingw_ddk.h"): the
// include name's path below that folder or its last name (after the last '/'
// or '\\'), in any letter case.
std::optional<std::string_view> FindBuiltinHeader(std::string_view includeName);

// The text of a built-in header that FindBuiltinHeader named: its guard, then
// its #define, #undef and #include lines in the order the real header gives.
std::string BuiltinHeaderText(std::string_view header);

// Whether the built-in header of that name (as FindBuiltinHeader gives it)
// defines what the same header of MinGW-w64 lacks: MFC's identifiers in
// afxres.h, the Windows SDK's additions.
bool AddsToRealHeader(std::string_view header);

// The text read after the real header of that name: the built-in header's
// definitions, each under #ifndef, and its includes.
std::string BuiltinHeaderAdditions(std::string_view header);

// A constant of the Windows headers, as a script that uses it without any
// include takes it.
struct WindowsConstant {
  std::string_view name;
  std::uint32_t value = 0;
  std::string_view text;  // a window class name such as "Button"; empty for a number
};

// The constant of that name, if the Windows headers define one that resource
// scripts use.
const WindowsConstant* FindWindowsConstant(std::string_view name);

// Every such constant, sorted by name.
std::span<const WindowsConstant> WindowsConstants();

}  // namespace trellane
