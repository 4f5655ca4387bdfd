// Display metrics without a window system: fonts measured with FreeType the
// way GDI measures a TrueType face, found through fontconfig.
#pragma once

#include <cstdint>
#include <memory>

#include "metrics/DisplayMetrics.h"

namespace trellane {

// A display of pixelsPerInch whose system base units are 8 and 16 at 96
// pixels per inch and whose window frames are the classic Windows ones.
std::unique_ptr<DisplayMetrics> MakeFreeTypeMetrics(std::int32_t pixelsPerInch);

}  // namespace trellane
