// The display measurements that turn dialog units into pixels.
#pragma once

#include <cstdint>
#include <string>

#include "text/Diagnostics.h"

namespace trellane {

struct FontDescription {
  std::int32_t height = 0;  // negative: character height in pixels
  std::int32_t weight = 0;
  std::string face;  // at most 31 characters
  bool italic = false;
};

struct FontMeasurement {
  std::int32_t textHeight = 0;   // tmHeight
  std::int32_t sampleWidth = 0;  // width of the 52 letters A-Z a-z
};

struct FrameSize {
  std::int32_t extraWidth = 0;   // outer width minus client width
  std::int32_t extraHeight = 0;  // outer height minus client height
};

class DisplayMetrics {
 public:
  virtual ~DisplayMetrics() = default;

  // Low 16 bits horizontal, high 16 bits vertical, as GetDialogBaseUnits.
  virtual std::uint32_t SystemDialogBaseUnits() = 0;

  // LOGPIXELSY of the display.
  virtual std::int32_t VerticalPixelsPerInch() = 0;

  // Measures a font; warns when it has to stand in another face or figures.
  virtual FontMeasurement MeasureFont(const FontDescription& font, Diagnostics& diagnostics) = 0;

  // What the window frame adds to a client area, as AdjustWindowRectEx.
  virtual FrameSize WindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu) = 0;
};

}  // namespace trellane
