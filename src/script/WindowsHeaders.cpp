#include "script/WindowsHeaders.h"

#include <algorithm>
#include <iterator>

#include "text/AsciiCase.h"

namespace trellane {
namespace {

constexpr BuiltinConstant BuiltinConstants[] = {
#include "script/WindowsConstants.inc"
};

// Lower case, as IsBuiltinWindowsHeader compares.
constexpr std::string_view BuiltinHeaders[] = {
    "afxres.h",   "afxres.rh",   "commctrl.h", "commctrl.rh", "commdlg.h", "dlgs.h",     "ntdef.h",  "prsht.h",
    "richedit.h", "sdkddkver.h", "shellapi.h", "winbase.h",   "windef.h",  "windows.h",  "wingdi.h", "winnls.h",
    "winnt.h",    "winnt.rh",    "winres.h",   "winresrc.h",  "winuser.h", "winuser.rh", "winver.h",
};

}  // namespace

std::span<const BuiltinConstant> BuiltinWindowsConstants() {
  return BuiltinConstants;
}

bool IsBuiltinWindowsHeader(std::string_view includeName) {
  const std::size_t slash = includeName.find_last_of("/\\");
  if (slash != std::string_view::npos)
    includeName.remove_prefix(slash + 1);
  return std::any_of(std::begin(BuiltinHeaders), std::end(BuiltinHeaders), [includeName](std::string_view header) {
    return header.size() == includeName.size() &&
           std::equal(header.begin(), header.end(), includeName.begin(),
                      [](char expected, char given) { return expected == AsciiLower(given); });
  });
}

}  // namespace trellane
