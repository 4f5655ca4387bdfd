// Preview pictures as PNG, drawn with cairo; built only where cairo is found
// (TRELLANE_PNG).
#pragma once

#include <string>

#include "preview/PreviewScene.h"
#include "text/ImageBytes.h"

namespace trellane {

struct PngPicture {
  bool ok = false;
  std::string problem;  // cairo's words, when !ok
  Image bytes;
};

// The scene at its pixel size, texts in the faces fontconfig finds.
PngPicture WritePng(const PreviewScene& scene);

}  // namespace trellane
