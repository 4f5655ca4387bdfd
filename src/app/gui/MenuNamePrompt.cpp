#include "app/gui/MenuNamePrompt.h"

#include "app/gui/DialogClose.h"
#include "app/gui/ResourceIds.h"
#include "text/TextPrimitives.h"

namespace trellane {
namespace {

INT_PTR CALLBACK MenuNamePromptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      // The slot rides in as the creation parameter. FALSE leaves the focus
      // where the dialog manager puts it without our help.
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      return FALSE;
    case WM_COMMAND:
      if (wParam == MAKEWPARAM(IDC_MENU_NAME_OK, BN_CLICKED)) {
        auto* slot = reinterpret_cast<MenuNameSlot*>(GetWindowLongPtrA(window, DWLP_USER));
        char name[sizeof(MenuNameSlot)] = {};
        SendDlgItemMessageA(window, IDC_MENU_NAME, WM_GETTEXT, sizeof name, reinterpret_cast<LPARAM>(name));
        CopyText(name, slot->data());
        EndDialog(window, 0);
      }
      return TRUE;
    default:
      // Closed without "OK": the slot keeps its zeros.
      return EndOnClose(window, message);
  }
}

}  // namespace

void MenuNamePrompt(HINSTANCE instance, HWND owner, MenuNameSlot& slot) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MENU_NAME), owner, MenuNamePromptProc,
                  reinterpret_cast<LPARAM>(&slot));
}

}  // namespace trellane
