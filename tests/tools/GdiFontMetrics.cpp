// Prints what GDI measures for fonts, one line per font:
//   FACE|POINTS|WEIGHT|tmHeight|sampleWidth
// The fonts come from the arguments as FACE:POINTS:WEIGHT, sized for the
// display's pixels per inch; with --frames it prints AdjustWindowRectEx's
// frame for each STYLE:EXSTYLE:MENU argument instead.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char Sample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

void MeasureFont(const std::string& face, int points, int weight) {
  HDC dc = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  LOGFONTA description{};
  description.lfHeight = -MulDiv(points, pixelsPerInch, 72);
  description.lfWeight = weight;
  description.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SIZE extent{};
  GetTextExtentPoint32A(dc, Sample, 52, &extent);
  char actualFace[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, actualFace);
  SelectObject(dc, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  std::printf("%s|%d|%d|%ld|%ld\n", face.c_str(), points, weight, static_cast<long>(metrics.tmHeight),
              static_cast<long>(extent.cx));
  if (pixelsPerInch != 96 || face != actualFace)
    std::fprintf(stderr, "warning: %s measured as %s at %d pixels per inch\n", face.c_str(), actualFace, pixelsPerInch);
}

void PrintFrame(DWORD style, DWORD exStyle, int menu) {
  RECT rect{0, 0, 100, 100};
  AdjustWindowRectEx(&rect, style, menu != 0, exStyle);
  std::printf("%08lx|%08lx|%d|%ld|%ld\n", static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle), menu,
              static_cast<long>(rect.right - rect.left - 100), static_cast<long>(rect.bottom - rect.top - 100));
}

}  // namespace

int main(int argc, char** argv) {
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
    if (frames)
      PrintFrame(static_cast<DWORD>(std::strtoul(argument.substr(0, first).c_str(), nullptr, 16)),
                 static_cast<DWORD>(std::strtoul(argument.substr(first + 1, second - first - 1).c_str(), nullptr, 16)),
                 std::atoi(argument.substr(second + 1).c_str()));
    else
      MeasureFont(argument.substr(0, first), std::atoi(argument.substr(first + 1, second - first - 1).c_str()),
                  std::atoi(argument.substr(second + 1).c_str()));
  }
  return 0;
}
