#include "app/gui/PickScriptFile.h"

#include <commdlg.h>

namespace trellane {

void PickScriptFile(HWND owner, HINSTANCE instance, const char* title, const char* filter,
                    char (&chosenFile)[ChosenFileSize]) {
  OPENFILENAMEA dialog{};
  // The structure without the members later systems appended.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = owner;
  dialog.hInstance = instance;
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = chosenFile;
  dialog.nMaxFile = ChosenFileSize;
  dialog.lpstrTitle = title;
  dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
  // A cancel or a failure leaves the buffer's first byte zero; nothing else
  // of the result matters.
  GetOpenFileNameA(&dialog);
}

}  // namespace trellane
