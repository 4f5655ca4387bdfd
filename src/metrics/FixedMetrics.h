// Display metrics given as figures rather than measured: forced base units on
// the command line, and a display of known figures for tests and tools.
#pragma once

#include <cstdint>

#include "metrics/DialogUnits.h"
#include "metrics/DisplayMetrics.h"

namespace trellane {

class FixedMetrics final : public DisplayMetrics {
 public:
  // Every font measures as given; the frame is the classic Windows one.
  FixedMetrics(DialogBaseUnits systemUnits, std::int32_t pixelsPerInch, FontMeasurement fontMeasurement);

  // Base units forced to units for every font and for the system.
  static FixedMetrics ForBaseUnits(DialogBaseUnits units, std::int32_t pixelsPerInch);

  std::uint32_t SystemDialogBaseUnits() override;
  std::int32_t VerticalPixelsPerInch() override;
  FontMeasurement MeasureFont(const FontDescription& font, Diagnostics& diagnostics) override;
  FrameSize WindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu) override;

 private:
  DialogBaseUnits system;
  std::int32_t dotsPerInch;
  FontMeasurement measurement;
};

// System dialog base units of a display without a window system: 8 and 16 at
// 96 pixels per inch, in proportion otherwise.
DialogBaseUnits DefaultSystemBaseUnits(std::int32_t pixelsPerInch);

}  // namespace trellane
