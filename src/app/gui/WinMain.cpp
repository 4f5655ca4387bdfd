// trellane-gui: the Windows program. One modal main window; the process ends
// when it closes.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "app/gui/MainDialog.h"
#include "app/gui/ResourceIds.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  InitCommonControls();
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, trellane::MainDialogProc, 0);
  ExitProcess(0);
}
