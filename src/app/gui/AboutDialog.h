// The About box.
#pragma once

#include <windows.h>

namespace trellane {

// Shows the About box, a template of instance, modally over owner until
// "Peace" or its close box ends it.
void AboutDialog(HINSTANCE instance, HWND owner);

}  // namespace trellane
