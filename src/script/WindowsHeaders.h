// The constants of the Windows headers that resource scripts use, built in
// for systems that have no Windows headers.
#pragma once

#include <span>
#include <string_view>

namespace trellane {

struct BuiltinConstant {
  std::string_view name;
  // Replacement text: a number such as 0x10000000L (hexadecimal for styles,
  // decimal otherwise, L where the headers have it), (-1), or a quoted text
  // such as "Button".
  std::string_view value;
};

// Every built-in constant, sorted by name.
std::span<const BuiltinConstant> BuiltinWindowsConstants();

// The include names (compared case-insensitively, after the last '/' or '\\')
// that the built-in constants stand in for when no such file is on the search
// path: windows.h, windef.h, winbase.h, wingdi.h, winuser.h, winuser.rh,
// winnt.h, winnt.rh, ntdef.h, winnls.h, winver.h, winres.h, winresrc.h,
// afxres.h, afxres.rh, commctrl.h, commctrl.rh, commdlg.h, dlgs.h, prsht.h,
// richedit.h, shellapi.h and sdkddkver.h.
bool IsBuiltinWindowsHeader(std::string_view includeName);

}  // namespace trellane
