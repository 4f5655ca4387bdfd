// The close box of the program's dialogs.
#pragma once

#include <windows.h>

namespace trellane {

// What a dialog procedure answers for a message it has no case of its own
// for: the close box ends the dialog with 0; every other message goes to the
// dialog manager.
inline INT_PTR EndOnClose(HWND window, UINT message) {
  if (message != WM_CLOSE)
    return FALSE;
  EndDialog(window, 0);
  return TRUE;
}

}  // namespace trellane
