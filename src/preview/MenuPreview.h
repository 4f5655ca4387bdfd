// The picture of a menu record file.
#pragma once

#include "preview/PreviewScene.h"
#include "text/ImageBytes.h"

namespace trellane {

// The menu bar of a menu record file image with every pop-up opened below it.
SceneBuild BuildMenuScene(const Image& image, int codePage);

}  // namespace trellane
