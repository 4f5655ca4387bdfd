#include <algorithm>
#include <iostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Terminal.h"
#include "metrics/DialogUnits.h"
#include "metrics/PlatformMetrics.h"

namespace trellane {
namespace {

constexpr std::size_t MenuNameLimit = 31;

// The display's resolution and frames with base units that are given, not
// measured: every font and the system yield them.
class ForcedBaseUnits final : public DisplayMetrics {
 public:
  ForcedBaseUnits(std::unique_ptr<DisplayMetrics> displayMetrics, DialogBaseUnits forcedUnits)
      : display(std::move(displayMetrics)), units(forcedUnits) {}

  std::uint32_t SystemDialogBaseUnits() override {
    return (static_cast<std::uint32_t>(units.baseY & 0xFFFF) << 16) | static_cast<std::uint32_t>(units.baseX & 0xFFFF);
  }
  std::int32_t VerticalPixelsPerInch() override { return display->VerticalPixelsPerInch(); }
  FontMeasurement MeasureFont(const FontDescription&, Diagnostics&) override { return MeasurementForBaseUnits(units); }
  FrameSize WindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu) override {
    return display->WindowFrame(style, exStyle, hasMenu);
  }

 private:
  std::unique_ptr<DisplayMetrics> display;
  DialogBaseUnits units;
};

void StoreMenuName(const std::string& name, MenuNameSlot& slot, Diagnostics& diagnostics) {
  if (name.size() > MenuNameLimit)
    Warn(
        diagnostics, 0,
        "menu name \"" + name + "\" is longer than 31 characters; \"" + name.substr(0, MenuNameLimit) + "\" is stored");
  const std::size_t kept = std::min(name.size(), MenuNameLimit);
  std::copy_n(name.begin(), kept, slot.begin());
  slot[kept] = '\0';
}

}  // namespace

std::unique_ptr<DisplayMetrics> MakeCommandLineMetrics(const ConvertOptions& options) {
  std::unique_ptr<DisplayMetrics> display = MakePlatformMetrics(options.dotsPerInch);
  if (!options.baseUnits)
    return display;
  return std::make_unique<ForcedBaseUnits>(std::move(display),
                                           DialogBaseUnits{options.baseUnits->first, options.baseUnits->second});
}

MenuNameRequest MakeCommandLineMenuNameRequest(const ConvertOptions& options, Diagnostics& diagnostics) {
  if (options.menuName) {
    const std::string name = *options.menuName;
    return [name, &diagnostics](MenuNameSlot& slot) { StoreMenuName(name, slot, diagnostics); };
  }
  return [&diagnostics](MenuNameSlot& slot) {
    if (!StandardInputIsTerminal()) {
      Warn(diagnostics, 0,
           "the dialog names a menu, but there is no --menu-name and no terminal to ask; the menu name stays empty");
      return;
    }
    std::cerr << "Please provide name of RadASM menu file, eg. \"menu.mnu\"\n" << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) {
      Warn(diagnostics, 0, "no menu name was typed; the menu name stays empty");
      return;
    }
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    StoreMenuName(line, slot, diagnostics);
  };
}

}  // namespace trellane
