#include "app/gui/AboutDialog.h"

#include "app/gui/DialogClose.h"
#include "app/gui/ResourceIds.h"

namespace trellane {
namespace {

INT_PTR CALLBACK AboutDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      // The whole command word: Enter (IDOK) and Escape (IDCANCEL) close nothing.
      if (wParam == MAKEWPARAM(IDC_PEACE, BN_CLICKED))
        EndDialog(window, 0);
      return TRUE;
    default:
      return EndOnClose(window, message);
  }
}

}  // namespace

void AboutDialog(HINSTANCE instance, HWND owner) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}

}  // namespace trellane
