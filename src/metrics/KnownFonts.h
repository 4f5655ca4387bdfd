// Measurements that Windows gives for dialog faces other systems rarely have.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "metrics/DisplayMetrics.h"

namespace trellane {

// The Windows measurement of face at the LOGFONTA height, when it is known;
// the face is compared without regard to case.
std::optional<FontMeasurement> KnownWindowsMeasurement(std::string_view face, std::int32_t height);

// Figures for a font that could not be measured at all: those of a Windows
// dialog font of the same em height (MS Sans Serif 8 gives 13 and 316).
FontMeasurement EstimatedMeasurement(std::int32_t height);

}  // namespace trellane
