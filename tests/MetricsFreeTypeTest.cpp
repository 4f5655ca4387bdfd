// Fonts measured with FreeType as GDI measures them. The expected figures
// are what GDI reports under Wine for the same files (fonts-dejavu-core);
// scripts/checks/30-metrics-crosscheck.sh compares the two live.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metrics/DialogUnits.h"
#include "metrics/FreeTypeMetrics.h"
#include "metrics/KnownFonts.h"
#include "tests/ScriptTestSupport.h"

namespace trellane {
namespace {

TEST(MetricsFreeType, DejaVuSansMeasuresAsGdiMeasuresIt) {
  const auto metrics = MakeFreeTypeMetrics(96);
  ExpectDejaVuSansFigures(*metrics);
}

// An italic face has letters of its own widths; GDI's figures under Wine
// (fonts-liberation).
TEST(MetricsFreeType, ItalicFontsAreMeasuredOnTheItalicFace) {
  struct Case {
    std::int32_t points, weight;
    bool italic;
    std::int32_t textHeight, sampleWidth;
  };
  const std::vector<Case> cases{{9, 400, false, 14, 353}, {9, 400, true, 14, 334}, {10, 400, true, 15, 371}};
  const auto metrics = MakeFreeTypeMetrics(96);
  for (const Case& c : cases) {
    Diagnostics diagnostics;
    const FontMeasurement measured =
        metrics->MeasureFont({FontHeightForPoints(c.points, 96), c.weight, "Liberation Serif", c.italic}, diagnostics);
    if (!diagnostics.empty())
      GTEST_SKIP() << "Liberation Serif is not installed (fonts-liberation)";
    EXPECT_EQ(measured.textHeight, c.textHeight) << c.points << " points, italic " << c.italic;
    EXPECT_EQ(measured.sampleWidth, c.sampleWidth) << c.points << " points, italic " << c.italic;
  }
}

TEST(MetricsFreeType, WindowsDialogFacesUseTheirWindowsFigures) {
  struct Case {
    std::string face;
    std::int32_t baseX, baseY;
  };
  const std::vector<Case> cases{
      {"MS Sans Serif", 6, 13}, {"ms sans serif", 6, 13}, {"MS Shell Dlg", 6, 13},
      {"Tahoma", 6, 13},        {"Courier New", 7, 14},
  };
  for (const Case& c : cases) {
    const auto known = KnownWindowsMeasurement(c.face, -11);
    ASSERT_TRUE(known.has_value()) << c.face;
    EXPECT_EQ(BaseUnitsOfFont(*known).baseX, c.baseX) << c.face;
    EXPECT_EQ(BaseUnitsOfFont(*known).baseY, c.baseY) << c.face;
  }
  EXPECT_FALSE(KnownWindowsMeasurement("MS Sans Serif", -16).has_value());
  // Without the face installed, the metrics give its Windows figures.
  const auto metrics = MakeFreeTypeMetrics(96);
  Diagnostics diagnostics;
  const FontMeasurement sansSerif = metrics->MeasureFont({-11, 400, "MS Sans Serif"}, diagnostics);
  EXPECT_EQ(sansSerif.textHeight, 13);
  EXPECT_EQ(sansSerif.sampleWidth, 316);
}

TEST(MetricsFreeType, MissingFaceIsMeasuredOnItsSubstituteWithAWarning) {
  const auto metrics = MakeFreeTypeMetrics(96);
  Diagnostics diagnostics;
  const FontMeasurement measured = metrics->MeasureFont({-11, 400, "Nonexistent Face 42"}, diagnostics);
  EXPECT_GT(measured.textHeight, 0);
  EXPECT_GT(measured.sampleWidth, 0);
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_TRUE(Mentions(diagnostics, "Nonexistent Face 42"));
  EXPECT_TRUE(Mentions(diagnostics, "substitute"));
  // A Windows face at a size without known figures is measured on its substitute.
  Diagnostics larger;
  metrics->MeasureFont({-16, 400, "MS Sans Serif"}, larger);
  EXPECT_TRUE(Mentions(larger, "MS Sans Serif"));
}

TEST(MetricsFreeType, SystemBaseUnitsFollowThePixelsPerInch) {
  EXPECT_EQ(MakeFreeTypeMetrics(96)->SystemDialogBaseUnits(), (16u << 16) | 8u);
  EXPECT_EQ(MakeFreeTypeMetrics(120)->SystemDialogBaseUnits(), (20u << 16) | 10u);
  EXPECT_EQ(MakeFreeTypeMetrics(144)->VerticalPixelsPerInch(), 144);
}

TEST(MetricsFreeType, EstimateForAnUnmeasurableFontIsDeterministic) {
  EXPECT_EQ(EstimatedMeasurement(-11).textHeight, 13);
  EXPECT_EQ(EstimatedMeasurement(-11).sampleWidth, 316);
  EXPECT_EQ(EstimatedMeasurement(-22).textHeight, 26);
  EXPECT_GT(EstimatedMeasurement(INT32_MIN).textHeight, 0);
}

}  // namespace
}  // namespace trellane

#endif
