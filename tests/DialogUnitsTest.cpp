#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "metrics/DialogUnits.h"

namespace trellane {
namespace {

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZeroAndFailsAsMinusOne) {
  struct Case {
    std::int32_t a, b, c, result;
  };
  constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
  const std::vector<Case> cases{
      {7, 6, 4, 11},                                                              // 10.5 goes up
      {-7, 6, 4, -11},                                                            // -10.5 goes away from zero
      {7, -6, 4, -11},      {7, 6, -4, -11}, {-7, -6, -4, -11}, {12, 13, 8, 20},  // 19.5
      {7, 13, 8, 11},                                                             // 11.375
      {8, 96, 72, 11},                                                            // 10.67
      {10, 3, 4, 8},                                                              // 7.5
      {9, 3, 4, 7},                                                               // 6.75
      {5, 1, 4, 1},                                                               // 1.25
      {5, 1, 2, 3},         {2, 1, 3, 1},    {1, 1, 3, 0},      {7, 1, 5, 1},     // odd and even divisors
      {0, 5, 3, 0},         {5, 5, 0, -1},                                        // zero divisor
      {Max, 2, 1, -1},                                                            // too large
      {Min, 2, 1, -1},                                                            // too small
      {Max, Max, Max, Max},                                                       // the 64-bit product fits
      {Min, 1, -1, -1},                                                           // 2^31 does not fit
      {Min, 1, 1, Min},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << " * " << c.b << " / " << c.c;
}

TEST(DialogUnits, PixelConversionsUseTheirOwnBaseUnit) {
  const DialogBaseUnits units{6, 13};
  EXPECT_EQ(HorizontalPixels(7, units), 11);
  EXPECT_EQ(HorizontalPixels(-7, units), -11);
  EXPECT_EQ(VerticalPixels(12, units), 20);
  EXPECT_EQ(VerticalPixels(7, units), 11);
  EXPECT_EQ(HorizontalPixels(160, units), 240);
  EXPECT_EQ(VerticalPixels(80, units), 130);
}

TEST(DialogUnits, BaseUnitsOfAMeasuredFont) {
  EXPECT_EQ(BaseUnitsOfFont({13, 316}).baseX, 6);
  EXPECT_EQ(BaseUnitsOfFont({13, 316}).baseY, 13);
  EXPECT_EQ(BaseUnitsOfFont({13, 338}).baseX, 7);
  EXPECT_EQ(BaseUnitsOfFont({13, 0}).baseX, 0);
  EXPECT_EQ(SplitDialogBaseUnits(0x00100008).baseX, 8);
  EXPECT_EQ(SplitDialogBaseUnits(0x00100008).baseY, 16);
  for (std::int32_t x = 1; x < 40; ++x) {
    const DialogBaseUnits forced{x, x + 7};
    EXPECT_EQ(BaseUnitsOfFont(MeasurementForBaseUnits(forced)).baseX, x);
    EXPECT_EQ(BaseUnitsOfFont(MeasurementForBaseUnits(forced)).baseY, x + 7);
  }
}

TEST(DialogUnits, FontHeightIsMinusThePixelsOfThePointSize) {
  EXPECT_EQ(FontHeightForPoints(8, 96), -11);
  EXPECT_EQ(FontHeightForPoints(9, 96), -12);
  EXPECT_EQ(FontHeightForPoints(10, 96), -13);
  EXPECT_EQ(FontHeightForPoints(12, 96), -16);
  EXPECT_EQ(FontHeightForPoints(8, 120), -13);
  EXPECT_EQ(FontHeightForPoints(0, 96), 0);
}

// The classic frame sizes; the Windows build checks the same table against
// AdjustWindowRectEx.
TEST(DialogUnits, ClassicWindowFramesMatchWindowsFrames) {
  struct Case {
    std::uint32_t style, exStyle;
    bool menu;
    std::int32_t width, height;
  };
  const std::vector<Case> cases{
      {0x10C80000, 0x00000000, false, 6, 25},   // caption, system menu, dialog frame
      {0x10C80000, 0x00000080, false, 6, 22},   // tool window
      {0x50000000, 0x00000000, false, 0, 0},    // child without frame
      {0x10CC0000, 0x00000000, false, 8, 27},   // caption and thick frame
      {0x10CC0000, 0x00000000, true, 8, 46},    // with a menu bar
      {0x80800000, 0x00000000, false, 2, 2},    // border
      {0x80400000, 0x00000000, false, 6, 6},    // dialog frame alone
      {0x80040000, 0x00000000, false, 6, 6},    // thick frame alone
      {0x80000000, 0x00000001, false, 6, 6},    // WS_EX_DLGMODALFRAME
      {0x80000000, 0x00000200, false, 4, 4},    // WS_EX_CLIENTEDGE
      {0x80000000, 0x00020000, false, 2, 2},    // WS_EX_STATICEDGE
      {0x80C80080, 0x00000001, false, 6, 25},   // DS_MODALFRAME dialog
      {0x80C80000, 0x00000300, false, 10, 29},  // client edge and window edge
  };
  for (const Case& c : cases) {
    const FrameSize frame = ComputeWindowFrame(c.style, c.exStyle, c.menu);
    EXPECT_EQ(frame.extraWidth, c.width) << std::hex << c.style << " " << c.exStyle;
    EXPECT_EQ(frame.extraHeight, c.height) << std::hex << c.style << " " << c.exStyle;
  }
}

// The frames the dialog manager gives dialogs, which the Wine check of
// scripts/checks measures with CreateDialogIndirectParam.
TEST(DialogUnits, DialogWindowsAreFramedAsTheDialogManagerFramesThem) {
  struct Case {
    std::uint32_t style;
    std::int32_t width, height;
  };
  const std::vector<Case> cases{
      {0x80000080, 6, 6},   // DS_MODALFRAME without a caption: a modal frame all the same
      {0x40C80400, 0, 0},   // DS_CONTROL child: no caption, no frame
      {0x40C80000, 6, 25},  // a child with a caption keeps it
      {0x80C80080, 6, 25},  // DS_MODALFRAME with a caption
  };
  for (const Case& c : cases) {
    const WindowStyle window = DialogWindowStyle(c.style, 0);
    const FrameSize frame = ComputeWindowFrame(window.style, window.exStyle, false);
    EXPECT_EQ(frame.extraWidth, c.width) << std::hex << c.style;
    EXPECT_EQ(frame.extraHeight, c.height) << std::hex << c.style;
  }
}

}  // namespace
}  // namespace trellane
