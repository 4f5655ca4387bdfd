// Dialog units, base units and window frames: the arithmetic with which a
// dialog's geometry becomes pixels, the same on every platform.
#pragma once

#include <cstdint>
#include <limits>

#include "metrics/DisplayMetrics.h"

namespace trellane {

// a × b / c with a 64-bit product, rounded to the nearest integer with halves
// going away from zero; -1 when c is 0 or the result does not fit in 32 bits.
// Inline: with a constant c the division becomes shifts.
inline std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0)
    return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  if (product >= 0 && c > 0) {
    // Adding half the divisor rounds a half up, which is away from zero here.
    const std::int64_t rounded = (product + c / 2) / c;
    return rounded > std::numeric_limits<std::int32_t>::max() ? -1 : static_cast<std::int32_t>(rounded);
  }
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  const std::int64_t absRemainder = remainder < 0 ? -remainder : remainder;
  const std::int64_t absDivisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
  if (2 * absRemainder >= absDivisor)
    quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  if (quotient > std::numeric_limits<std::int32_t>::max() || quotient < std::numeric_limits<std::int32_t>::min())
    return -1;
  return static_cast<std::int32_t>(quotient);
}

struct DialogBaseUnits {
  std::int32_t baseX = 0;  // 4 horizontal dialog units are baseX pixels
  std::int32_t baseY = 0;  // 8 vertical dialog units are baseY pixels
};

// The split of a GetDialogBaseUnits value: low 16 bits horizontal, high vertical.
DialogBaseUnits SplitDialogBaseUnits(std::uint32_t packed);

// Base units from a measured font: baseY is tmHeight, baseX is
// ((cx / 26) + 1) / 2 of the 52-letter sample width cx, unsigned divisions.
DialogBaseUnits BaseUnitsOfFont(const FontMeasurement& measurement);

// The LOGFONTA height of a point size: -MulDiv(points, pixelsPerInch, 72).
std::int32_t FontHeightForPoints(std::int32_t points, std::int32_t pixelsPerInch);

// A measurement whose base units are exactly the given ones, for displays
// whose base units are forced rather than measured.
FontMeasurement MeasurementForBaseUnits(DialogBaseUnits units);

inline std::int32_t HorizontalPixels(std::int32_t dialogUnits, DialogBaseUnits units) {
  return MulDiv(dialogUnits, units.baseX, 4);
}

inline std::int32_t VerticalPixels(std::int32_t dialogUnits, DialogBaseUnits units) {
  return MulDiv(dialogUnits, units.baseY, 8);
}

// System metrics that decide the size of a window's frame.
struct FrameMetrics {
  std::int32_t captionHeight = 18;       // SM_CYCAPTION less the line below it
  std::int32_t smallCaptionHeight = 15;  // the same for a tool window
  std::int32_t menuHeight = 18;          // a menu bar less the line below it
  std::int32_t borderWidth = 1;          // the sizing border's own width
  std::int32_t paddedBorderWidth = 0;
  std::int32_t edgeWidth = 2;  // SM_CXEDGE
};

// The classic Windows metrics: caption 19 pixels, tool-window caption 16,
// dialog frame 3 per side, thick frame 4, border 1, client edge 2, menu bar 19.
constexpr FrameMetrics ClassicFrameMetrics{};

struct WindowStyle {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
};

// The styles the dialog manager gives a dialog's window before it sizes it:
// DS_MODALFRAME adds WS_EX_DLGMODALFRAME, DS_CONTROL takes away the caption
// and the system menu.
WindowStyle DialogWindowStyle(std::uint32_t style, std::uint32_t exStyle);

// What AdjustWindowRectEx adds to a client area for a style, an extended style
// and a menu bar, computed from the given system metrics.
FrameSize ComputeWindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu,
                             const FrameMetrics& metrics = ClassicFrameMetrics);

}  // namespace trellane
