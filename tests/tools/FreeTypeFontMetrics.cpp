// Prints what the FreeType metrics measure, in the format of
// GdiFontMetrics.exe: FACE|POINTS|WEIGHT|tmHeight|sampleWidth per font
// argument FACE:POINTS:WEIGHT (WEIGHT followed by " italic" for
// FACE:POINTS:WEIGHT:italic), or with --frames STYLE|EXSTYLE|MENU|width|height
// per argument STYLE:EXSTYLE:MENU (hexadecimal styles).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "metrics/DialogUnits.h"
#include "metrics/FreeTypeMetrics.h"
#include "tools/MeasureRequests.h"

int main(int argc, char** argv) {
  const auto metrics = trellane::MakeFreeTypeMetrics(96);
  return trellane::ForEachMeasureRequest(
      argc, argv,
      [&](const std::string& face, int points, int weight, bool italic) {
        trellane::Diagnostics diagnostics;
        const trellane::FontMeasurement measured =
            metrics->MeasureFont({trellane::FontHeightForPoints(points, 96), weight, face, italic}, diagnostics);
        std::printf("%s|%d|%d%s|%ld|%ld\n", face.c_str(), points, weight, italic ? " italic" : "",
                    static_cast<long>(measured.textHeight), static_cast<long>(measured.sampleWidth));
        for (const trellane::Diagnostic& diagnostic : diagnostics)
          std::fprintf(stderr, "warning: %s\n", diagnostic.message.c_str());
      },
      [](std::uint32_t style, std::uint32_t exStyle, int menu) {
        const trellane::FrameSize frame = trellane::ComputeWindowFrame(style, exStyle, menu != 0);
        std::printf("%08lx|%08lx|%d|%ld|%ld\n", static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle),
                    menu, static_cast<long>(frame.extraWidth), static_cast<long>(frame.extraHeight));
      });
}
