// Preview pictures as SVG, written directly: every platform has them.
#pragma once

#include <string>

#include "preview/PreviewScene.h"

namespace trellane {

// One <svg> of the scene's pixel size. Each control's group starts with a
// <rect> holding data-id, data-type and its rectangle in window coordinates.
std::string WriteSvg(const PreviewScene& scene);

}  // namespace trellane
