#include "metrics/FixedMetrics.h"

namespace trellane {

FixedMetrics::FixedMetrics(DialogBaseUnits systemUnits, std::int32_t pixelsPerInch, FontMeasurement fontMeasurement)
    : system(systemUnits), dotsPerInch(pixelsPerInch), measurement(fontMeasurement) {}

FixedMetrics FixedMetrics::ForBaseUnits(DialogBaseUnits units, std::int32_t pixelsPerInch) {
  return FixedMetrics(units, pixelsPerInch, MeasurementForBaseUnits(units));
}

std::uint32_t FixedMetrics::SystemDialogBaseUnits() {
  return (static_cast<std::uint32_t>(system.baseY & 0xFFFF) << 16) | static_cast<std::uint32_t>(system.baseX & 0xFFFF);
}

std::int32_t FixedMetrics::VerticalPixelsPerInch() {
  return dotsPerInch;
}

FontMeasurement FixedMetrics::MeasureFont(const FontDescription&, Diagnostics&) {
  return measurement;
}

FrameSize FixedMetrics::WindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu) {
  return ComputeWindowFrame(style, exStyle, hasMenu);
}

DialogBaseUnits DefaultSystemBaseUnits(std::int32_t pixelsPerInch) {
  return {MulDiv(8, pixelsPerInch, 96), MulDiv(16, pixelsPerInch, 96)};
}

}  // namespace trellane
