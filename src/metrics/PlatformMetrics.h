// The display metrics of the platform the program runs on: GDI on Windows,
// FreeType and fontconfig elsewhere.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "metrics/DisplayMetrics.h"

namespace trellane {

// Metrics of this machine's display; pixelsPerInch replaces the display's own
// vertical resolution when given.
std::unique_ptr<DisplayMetrics> MakePlatformMetrics(std::optional<std::int32_t> pixelsPerInch);

}  // namespace trellane
