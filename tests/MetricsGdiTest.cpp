// GDI's own measurements against the portable arithmetic and the FreeType
// figures: run in the Windows build, under Wine here.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "metrics/DialogUnits.h"
#include "metrics/GdiMetrics.h"
#include "tests/ScriptTestSupport.h"

namespace trellane {
namespace {

TEST(MetricsGdi, ClassicFramesAreWhatAdjustWindowRectExGives) {
  struct Case {
    std::uint32_t style, exStyle;
    bool menu;
  };
  const std::vector<Case> cases{
      {0x10C80000, 0x00000000, false}, {0x10C80000, 0x00000080, false}, {0x50000000, 0x00000000, false},
      {0x10CC0000, 0x00000000, false}, {0x10CC0000, 0x00000000, true},  {0x80800000, 0x00000000, false},
      {0x80400000, 0x00000000, false}, {0x80040000, 0x00000000, false}, {0x80000000, 0x00000001, false},
      {0x80000000, 0x00000200, false}, {0x80000000, 0x00020000, false}, {0x80C80080, 0x00000001, false},
      {0x80C80000, 0x00000300, false}, {0x10CC0000, 0x00000080, true},
  };
  const auto metrics = MakeGdiMetrics(nullptr);
  for (const Case& c : cases) {
    const FrameSize windows = metrics->WindowFrame(c.style, c.exStyle, c.menu);
    const FrameSize classic = ComputeWindowFrame(c.style, c.exStyle, c.menu);
    EXPECT_EQ(windows.extraWidth, classic.extraWidth) << std::hex << c.style << " " << c.exStyle << " " << c.menu;
    EXPECT_EQ(windows.extraHeight, classic.extraHeight) << std::hex << c.style << " " << c.exStyle << " " << c.menu;
  }
}

TEST(MetricsGdi, DejaVuSansMeasuresAsTheFreeTypeMetricsDo) {
  HDC dc = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  if (pixelsPerInch != 96)
    GTEST_SKIP() << "the display has " << pixelsPerInch << " pixels per inch";
  const auto metrics = MakeGdiMetrics(nullptr);
  EXPECT_EQ(metrics->VerticalPixelsPerInch(), 96);
  ExpectDejaVuSansFigures(*metrics);
}

}  // namespace
}  // namespace trellane

#endif
