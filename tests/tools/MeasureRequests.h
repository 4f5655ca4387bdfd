// The arguments both measuring tools take: fonts as FACE:POINTS:WEIGHT, with
// ":italic" after it for the italic face, and, after --frames, window frames
// as STYLE:EXSTYLE:MENU (styles in hexadecimal).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace trellane {

// Calls measureFont(face, points, weight, italic) or printFrame(style, exStyle, menu)
// for each argument in turn; returns the exit code.
template <typename MeasureFont, typename PrintFrame>
int ForEachMeasureRequest(int argc, char** argv, MeasureFont measureFont, PrintFrame printFrame) {
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
    const std::string italicSuffix = ":italic";
    const bool italic = argument.size() > italicSuffix.size() &&
                        argument.compare(argument.size() - italicSuffix.size(), italicSuffix.size(), italicSuffix) == 0;
    const std::string a = argument.substr(0, first);
    const std::string b = argument.substr(first + 1, second - first - 1);
    const int c = std::atoi(argument.substr(second + 1).c_str());
    if (frames)
      printFrame(static_cast<std::uint32_t>(std::strtoul(a.c_str(), nullptr, 16)),
                 static_cast<std::uint32_t>(std::strtoul(b.c_str(), nullptr, 16)), c);
    else
      measureFont(a, std::atoi(b.c_str()), c, italic);
  }
  return 0;
}

}  // namespace trellane
