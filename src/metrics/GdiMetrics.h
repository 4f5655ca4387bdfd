// Display metrics measured with GDI on the display of a window.
#pragma once

#include <memory>

#include "metrics/DisplayMetrics.h"

namespace trellane {

// window is an HWND; null measures on the screen.
std::unique_ptr<DisplayMetrics> MakeGdiMetrics(void* window);

}  // namespace trellane
