// Helpers the converter and metrics tests share.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/Converters.h"
#include "metrics/DialogUnits.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogRecordFile.h"
#include "text/Diagnostics.h"

namespace trellane {

// The lines of a script, each ended by lineEnd.
inline std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd = "\r\n") {
  std::string script;
  for (const std::string& line : lines)
    script.append(line).append(lineEnd);
  return script;
}

// Some warning contains text.
inline bool Mentions(const Diagnostics& diagnostics, const std::string& text) {
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.message.find(text) != std::string::npos)
      return true;
  }
  return false;
}

// The display of the dialog walk-through: 96 pixels per inch, text height 13
// and sample width 316 for every font, system base units 8 and 16.
inline FixedMetrics WalkThroughMetrics() {
  return FixedMetrics({8, 16}, 96, {13, 316});
}

inline ConverterResult ConvertDialog(const std::string& script, const MenuNameRequest& request = {}) {
  FixedMetrics metrics = WalkThroughMetrics();
  return ConvertDialogScript(script, metrics, request);
}

struct ClassFieldCase {
  const char* classField;  // as a script writes it, blank and quotes included
  std::uint32_t typeIndex;
  std::uint32_t typeCode;
};

// Class fields and the table row each falls to, the order of the rows deciding
// between names that contain one another.
inline const std::vector<ClassFieldCase>& ClassFieldCases() {
  static const std::vector<ClassFieldCase> cases{
      {" \"Button\"", 4, 4},
      {" \"Static\"", 2, 2},
      {" \"Edit\"", 1, 1},
      {" \"RichEdit20A\"", 22, 22},
      {" \"RichEdit20W\"", 1, 1},
      {" \"ComboBoxEx32\"", 24, 24},
      {" \"ComboBox\"", 7, 7},
      {" \"RAHexEdit\"", 35, 261},
      {" \"SysMonthCal32\"", 21, 21},
      {" \"SysListView32\"", 14, 14},
      {" \"SysTabControl32\"", 11, 11},
      {" \"CADCLASS\"", 33, 290},
      {" \"Hyperlink\"", 42, 12345},
      {" \"RAGrad\"", 43, 88888},
      {" \"ListBox\"", 8, 8},
      {" \"ScrollBar\"", 9, 9},
  };
  return cases;
}

// DejaVu Sans as GDI measures it at 96 pixels per inch (fonts-dejavu-core).
inline void ExpectDejaVuSansFigures(DisplayMetrics& metrics) {
  struct Case {
    std::int32_t points, weight, textHeight, sampleWidth;
  };
  const std::vector<Case> cases{
      {8, 400, 13, 359},  {8, 700, 13, 398},  {9, 400, 14, 385},  {9, 700, 14, 436},
      {10, 400, 15, 420}, {10, 700, 15, 468}, {12, 400, 19, 513}, {12, 700, 19, 574},
  };
  for (const Case& c : cases) {
    Diagnostics diagnostics;
    const FontMeasurement measured =
        metrics.MeasureFont({FontHeightForPoints(c.points, 96), c.weight, "DejaVu Sans"}, diagnostics);
    EXPECT_EQ(measured.textHeight, c.textHeight) << c.points << " points, weight " << c.weight;
    EXPECT_EQ(measured.sampleWidth, c.sampleWidth) << c.points << " points, weight " << c.weight;
    EXPECT_TRUE(diagnostics.empty()) << c.points << " points, weight " << c.weight;
  }
}

}  // namespace trellane
