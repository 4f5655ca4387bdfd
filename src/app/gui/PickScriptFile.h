// The system's open-file dialog, asked for one existing resource script.
#pragma once

#include <windows.h>

namespace trellane {

constexpr int ChosenFileSize = 260;

// Shows the dialog over owner. chosenFile receives the full path of the chosen
// file; its first byte stays as it was (zero) when nothing was chosen.
void PickScriptFile(HWND owner, HINSTANCE instance, const char* title, const char* filter,
                    char (&chosenFile)[ChosenFileSize]);

}  // namespace trellane
