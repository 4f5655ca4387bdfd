#include "metrics/DialogUnits.h"

#include <limits>

#include "metrics/WindowStyles.h"

namespace trellane {

DialogBaseUnits SplitDialogBaseUnits(std::uint32_t packed) {
  return {static_cast<std::int32_t>(packed & 0xFFFF), static_cast<std::int32_t>(packed >> 16)};
}

DialogBaseUnits BaseUnitsOfFont(const FontMeasurement& measurement) {
  const auto width = static_cast<std::uint32_t>(measurement.sampleWidth);
  return {static_cast<std::int32_t>(((width / 26) + 1) / 2), measurement.textHeight};
}

std::int32_t FontHeightForPoints(std::int32_t points, std::int32_t pixelsPerInch) {
  const std::int32_t pixels = MulDiv(points, pixelsPerInch, 72);
  return pixels == std::numeric_limits<std::int32_t>::min() ? pixels : -pixels;
}

FontMeasurement MeasurementForBaseUnits(DialogBaseUnits units) {
  // ((26 × 2X) / 26 + 1) / 2 is X again.
  const std::int64_t width = std::int64_t{52} * units.baseX;
  const bool fits = units.baseX > 0 && width <= std::numeric_limits<std::int32_t>::max();
  return {units.baseY, fits ? static_cast<std::int32_t>(width) : 0};
}

WindowStyle DialogWindowStyle(std::uint32_t style, std::uint32_t exStyle) {
  if (style & DS_MODALFRAME)
    exStyle |= WS_EX_DLGMODALFRAME;
  if (style & DS_CONTROL)
    style &= ~(WS_CAPTION | WS_SYSMENU);
  return {style, exStyle};
}

FrameSize ComputeWindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu, const FrameMetrics& metrics) {
  std::int32_t side = 0;
  if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
    side = 1;
  else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME)))
    side = 2;
  if (style & WS_THICKFRAME)
    side += metrics.borderWidth + metrics.paddedBorderWidth;
  if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME))
    side += 1;
  if (exStyle & WS_EX_CLIENTEDGE)
    side += metrics.edgeWidth;

  FrameSize frame{2 * side, 2 * side};
  if ((style & WS_CAPTION) == WS_CAPTION)
    frame.extraHeight += ((exStyle & WS_EX_TOOLWINDOW) ? metrics.smallCaptionHeight : metrics.captionHeight) + 1;
  if (hasMenu)
    frame.extraHeight += metrics.menuHeight + 1;
  return frame;
}

}  // namespace trellane
