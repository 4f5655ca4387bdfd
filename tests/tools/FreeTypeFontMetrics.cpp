// Prints what the FreeType metrics measure, in the format of
// GdiFontMetrics.exe: FACE|POINTS|WEIGHT|tmHeight|sampleWidth per font
// argument FACE:POINTS:WEIGHT, or with --frames STYLE|EXSTYLE|MENU|width|height
// per argument STYLE:EXSTYLE:MENU (hexadecimal styles).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dialog/DialogUnits.h"
#include "dialog/FreeTypeMetrics.h"

int main(int argc, char** argv) {
  const auto metrics = trellane::MakeFreeTypeMetrics(96);
  bool frames = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--frames") {
      frames = true;
      continue;
    }
    const std::size_t first = argument.find(':');
    const std::size_t second = argument.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) {
      std::fprintf(stderr, "expected FACE:POINTS:WEIGHT or STYLE:EXSTYLE:MENU, got %s\n", argument.c_str());
      return 2;
    }
    const std::string a = argument.substr(0, first);
    const std::string b = argument.substr(first + 1, second - first - 1);
    const std::string c = argument.substr(second + 1);
    if (frames) {
      const auto style = static_cast<std::uint32_t>(std::strtoul(a.c_str(), nullptr, 16));
      const auto exStyle = static_cast<std::uint32_t>(std::strtoul(b.c_str(), nullptr, 16));
      const int menu = std::atoi(c.c_str());
      const trellane::FrameSize frame = trellane::ComputeWindowFrame(style, exStyle, menu != 0);
      std::printf("%08lx|%08lx|%d|%ld|%ld\n", static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle),
                  menu, static_cast<long>(frame.extraWidth), static_cast<long>(frame.extraHeight));
      continue;
    }
    const int points = std::atoi(b.c_str());
    const int weight = std::atoi(c.c_str());
    trellane::Diagnostics diagnostics;
    const trellane::FontMeasurement measured =
        metrics->MeasureFont({trellane::FontHeightForPoints(points, 96), weight, a}, diagnostics);
    std::printf("%s|%d|%d|%ld|%ld\n", a.c_str(), points, weight, static_cast<long>(measured.textHeight),
                static_cast<long>(measured.sampleWidth));
    for (const trellane::Diagnostic& diagnostic : diagnostics)
      std::fprintf(stderr, "warning: %s\n", diagnostic.message.c_str());
  }
  return 0;
}
