// Prints what GDI measures for fonts, one line per font:
//   FACE|POINTS|WEIGHT|tmHeight|sampleWidth
// The fonts come from the arguments as FACE:POINTS:WEIGHT[:italic], sized for the
// display's pixels per inch; with --frames it prints AdjustWindowRectEx's
// frame for each STYLE:EXSTYLE:MENU argument instead.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/MeasureRequests.h"

namespace {

constexpr char Sample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

void MeasureFont(const std::string& face, int points, int weight, bool italic) {
  HDC dc = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  LOGFONTA description{};
  description.lfHeight = -MulDiv(points, pixelsPerInch, 72);
  description.lfWeight = weight;
  description.lfItalic = italic ? TRUE : FALSE;
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
  std::printf("%s|%d|%d%s|%ld|%ld\n", face.c_str(), points, weight, italic ? " italic" : "",
              static_cast<long>(metrics.tmHeight), static_cast<long>(extent.cx));
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
  return trellane::ForEachMeasureRequest(argc, argv, MeasureFont,
                                         [](std::uint32_t style, std::uint32_t exStyle, int menu) {
                                           PrintFrame(static_cast<DWORD>(style), static_cast<DWORD>(exStyle), menu);
                                         });
}
