#include <windows.h>

#include <cstring>
#include <optional>

#include "metrics/DialogUnits.h"
#include "metrics/GdiMetrics.h"
#include "metrics/PlatformMetrics.h"

namespace trellane {
namespace {

constexpr char Sample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

class GdiMetrics final : public DisplayMetrics {
 public:
  GdiMetrics(HWND measuredWindow, std::optional<std::int32_t> pixelsPerInch)
      : window(measuredWindow), forcedPixelsPerInch(pixelsPerInch) {}

  std::uint32_t SystemDialogBaseUnits() override {
    const auto units = static_cast<std::uint32_t>(GetDialogBaseUnits());
    if (!forcedPixelsPerInch)
      return units;
    // The system units scale with the resolution that stands in for the display's.
    const DialogBaseUnits system = SplitDialogBaseUnits(units);
    const std::int32_t display = DisplayPixelsPerInch();
    const std::int32_t x = MulDiv(system.baseX, *forcedPixelsPerInch, display);
    const std::int32_t y = MulDiv(system.baseY, *forcedPixelsPerInch, display);
    return (static_cast<std::uint32_t>(y & 0xFFFF) << 16) | static_cast<std::uint32_t>(x & 0xFFFF);
  }

  std::int32_t VerticalPixelsPerInch() override {
    return forcedPixelsPerInch ? *forcedPixelsPerInch : DisplayPixelsPerInch();
  }

  FontMeasurement MeasureFont(const FontDescription& font, Diagnostics&) override {
    LOGFONTA description{};
    description.lfHeight = font.height;
    description.lfWeight = font.weight;
    description.lfItalic = font.italic ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(description.lfFaceName, font.face.c_str(), LF_FACESIZE - 1);
    HFONT created = CreateFontIndirectA(&description);
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, created);
    TEXTMETRICA textMetrics{};
    GetTextMetricsA(dc, &textMetrics);
    SIZE extent{};
    GetTextExtentPoint32A(dc, Sample, 52, &extent);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    DeleteObject(created);
    return {static_cast<std::int32_t>(textMetrics.tmHeight), static_cast<std::int32_t>(extent.cx)};
  }

  FrameSize WindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu) override {
    RECT rect{0, 0, 0, 0};
    if (!AdjustWindowRectEx(&rect, style, hasMenu ? TRUE : FALSE, exStyle))
      return ComputeWindowFrame(style, exStyle, hasMenu);
    return {static_cast<std::int32_t>(rect.right - rect.left), static_cast<std::int32_t>(rect.bottom - rect.top)};
  }

 private:
  std::int32_t DisplayPixelsPerInch() {
    HDC dc = GetDC(window);
    const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return pixelsPerInch;
  }

  HWND window;
  std::optional<std::int32_t> forcedPixelsPerInch;
};

}  // namespace

std::unique_ptr<DisplayMetrics> MakeGdiMetrics(void* window) {
  return std::make_unique<GdiMetrics>(static_cast<HWND>(window), std::nullopt);
}

std::unique_ptr<DisplayMetrics> MakePlatformMetrics(std::optional<std::int32_t> pixelsPerInch) {
  return std::make_unique<GdiMetrics>(nullptr, pixelsPerInch);
}

}  // namespace trellane
