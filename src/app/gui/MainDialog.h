// The main window: the two paths, the mode radios, browse, convert and about.
#pragma once

#include <windows.h>

namespace trellane {

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace trellane
