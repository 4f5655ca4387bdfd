// The "MENU detected" prompt: asks for the name of the RadASM menu file that
// a converted dialog names.
#pragma once

#include <windows.h>

#include "app/ConverterResult.h"

namespace trellane {

// Opens the prompt, a template of instance, modally over owner. "OK" copies
// the typed name (at most 31 characters) with its zero into slot; the close
// box copies nothing.
void MenuNamePrompt(HINSTANCE instance, HWND owner, MenuNameSlot& slot);

}  // namespace trellane
