#include "cli/CommandLine.h"

namespace trellane {
namespace {

// Fixed figures until real measurement is wired in.
class FixedMetrics final : public DisplayMetrics {
 public:
  std::uint32_t SystemDialogBaseUnits() override { return (16u << 16) | 8u; }
  std::int32_t VerticalPixelsPerInch() override { return 96; }
  FontMeasurement MeasureFont(const FontDescription&, Diagnostics&) override { return {13, 316}; }
  FrameSize WindowFrame(std::uint32_t, std::uint32_t, bool) override { return {}; }
};

}  // namespace

std::unique_ptr<DisplayMetrics> MakeCommandLineMetrics(const ConvertOptions&) {
  return std::make_unique<FixedMetrics>();
}

MenuNameRequest MakeCommandLineMenuNameRequest(const ConvertOptions&, Diagnostics&) {
  return [](MenuNameSlot&) {};
}

}  // namespace trellane
