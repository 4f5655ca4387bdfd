#include "metrics/KnownFonts.h"

#include <array>
#include <cstdint>

#include "metrics/DialogUnits.h"

namespace trellane {
namespace {

struct KnownFont {
  std::string_view face;
  std::int32_t height;  // LOGFONTA height: 8 points at 96 pixels per inch
  FontMeasurement measurement;
};

// MS Sans Serif 8 is measured; the others are given by their base units
// (Tahoma and MS Shell Dlg 6 and 13, Courier New 7 and 14), with a sample
// width inside the range that yields that baseX.
constexpr std::array<KnownFont, 5> KnownFonts{{
    {"MS Sans Serif", -11, {13, 316}},
    {"MS Shell Dlg", -11, {13, 316}},
    {"MS Shell Dlg 2", -11, {13, 312}},
    {"Tahoma", -11, {13, 312}},
    {"Courier New", -11, {14, 364}},
}};

bool SameFace(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] + 32) : a[i];
    const char y = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] + 32) : b[i];
    if (x != y)
      return false;
  }
  return true;
}

}  // namespace

std::optional<FontMeasurement> KnownWindowsMeasurement(std::string_view face, std::int32_t height) {
  for (const KnownFont& known : KnownFonts) {
    if (known.height == height && SameFace(known.face, face))
      return known.measurement;
  }
  return std::nullopt;
}

FontMeasurement EstimatedMeasurement(std::int32_t height) {
  const std::int32_t em = height < 0 ? (height == INT32_MIN ? INT32_MAX : -height) : height;
  const FontMeasurement estimate{MulDiv(em, 13, 11), MulDiv(em, 316, 11)};
  return estimate.textHeight < 0 || estimate.sampleWidth < 0 ? FontMeasurement{13, 316} : estimate;
}

}  // namespace trellane
