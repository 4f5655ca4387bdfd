#include "app/gui/MainDialog.h"

#include <memory>
#include <string>

#include "app/ConversionJob.h"
#include "app/Converters.h"
#include "app/FileService.h"
#include "app/IncludeFiles.h"
#include "app/gui/AboutDialog.h"
#include "app/gui/DialogClose.h"
#include "app/gui/MenuNamePrompt.h"
#include "app/gui/OutputPathEdits.h"
#include "app/gui/PickScriptFile.h"
#include "app/gui/ResourceIds.h"
#include "metrics/GdiMetrics.h"

namespace trellane {
namespace {

constexpr char ScriptFilter[] = "Resource files\0*.rc\0";

// What the main window owns besides its controls.
struct MainDialogState {
  HINSTANCE instance = nullptr;
  ConversionMode mode = ConversionMode::Menu;
  char chosenFile[ChosenFileSize] = {};
  char workBuffer[PathWorkBufferSize] = {};
};

MainDialogState& StateOf(HWND window) {
  return *reinterpret_cast<MainDialogState*>(GetWindowLongPtrA(window, DWLP_USER));
}

void SetItemText(HWND window, int id, const char* text) {
  SendDlgItemMessageA(window, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// text holds at least PathBufferSize bytes; longer texts are cut to 511
// characters.
void GetItemText(HWND window, int id, char* text) {
  text[0] = '\0';
  SendDlgItemMessageA(window, id, WM_GETTEXT, PathBufferSize, reinterpret_cast<LPARAM>(text));
}

bool IsChecked(HWND window, int id) {
  return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Browse(HWND window, MainDialogState& state) {
  state.chosenFile[0] = '\0';
  PickScriptFile(window, state.instance, "Choose file", ScriptFilter, state.chosenFile);
  if (state.chosenFile[0] == '\0')
    return;
  SetItemText(window, IDC_SOURCE_PATH, state.chosenFile);
  state.mode = IsChecked(window, IDC_MENU_MODE) ? ConversionMode::Menu : ConversionMode::Dialog;
  ProposeOutputPath(state.chosenFile, std::string(ProposedOutputName(state.mode)).c_str(), state.workBuffer);
  SetItemText(window, IDC_OUTPUT_PATH, state.workBuffer);
  SetItemText(window, IDC_STATUS, "Ready to proceed!");
}

void ChooseMode(HWND window, MainDialogState& state, ConversionMode mode) {
  state.mode = mode;
  GetItemText(window, IDC_OUTPUT_PATH, state.workBuffer);
  ChangeExtension(mode == ConversionMode::Menu ? ".mnu" : ".dlg", state.workBuffer);
  SetItemText(window, IDC_OUTPUT_PATH, state.workBuffer);
}

void Convert(HWND window, const MainDialogState& state) {
  char sourcePath[PathBufferSize];
  char outputPath[PathBufferSize];
  GetItemText(window, IDC_SOURCE_PATH, sourcePath);
  GetItemText(window, IDC_OUTPUT_PATH, outputPath);
  const ConversionRequest request{sourcePath, outputPath, state.mode};

  // Dialog geometry is measured on the display that shows this window.
  const std::unique_ptr<DisplayMetrics> metrics = MakeGdiMetrics(window);
  FileIncludeReader includes;
  ConversionContext context;
  context.metrics = metrics.get();
  context.includes = &includes;
  context.preprocessor.environmentFolders = EnvironmentIncludeFolders();
  const HINSTANCE instance = state.instance;
  context.requestMenuName = [instance, window](MenuNameSlot& slot) { MenuNamePrompt(instance, window, slot); };

  const std::unique_ptr<FileService> files = MakePlatformFileService();
  const ConversionReport report = RunConversion(request, context, ProgramConverters(), *files);
  // Every outcome shows, so a failure never leaves an earlier success standing.
  SetItemText(window, IDC_STATUS, std::string(StatusText(report.outcome, request.mode)).c_str());
}

void OnCommand(HWND window, WPARAM command) {
  MainDialogState& state = StateOf(window);
  // The whole command word: clicks only. Enter (IDOK), Escape (IDCANCEL) and
  // edit notifications do nothing.
  switch (command) {
    case MAKEWPARAM(IDC_BROWSE, BN_CLICKED):
      Browse(window, state);
      break;
    case MAKEWPARAM(IDC_MENU_MODE, BN_CLICKED):
      ChooseMode(window, state, ConversionMode::Menu);
      break;
    case MAKEWPARAM(IDC_DIALOG_MODE, BN_CLICKED):
      ChooseMode(window, state, ConversionMode::Dialog);
      break;
    case MAKEWPARAM(IDC_ABOUT, BN_CLICKED):
      AboutDialog(state.instance, window);
      break;
    case MAKEWPARAM(IDC_CONVERT, BN_CLICKED):
      Convert(window, state);
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      // The window owns the state until WM_DESTROY, which the analyzer cannot see.
      // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
      auto* state = new MainDialogState;
      state->instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
      SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
      SendDlgItemMessageA(window, IDC_MENU_MODE, BM_SETCHECK, BST_CHECKED, 0);
      return TRUE;  // the system puts the focus on ".."
      // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
    }
    case WM_COMMAND:
      OnCommand(window, wParam);
      return TRUE;
    case WM_DESTROY:
      delete &StateOf(window);
      SetWindowLongPtrA(window, DWLP_USER, 0);
      return FALSE;
    default:
      return EndOnClose(window, message);
  }
}

}  // namespace trellane
