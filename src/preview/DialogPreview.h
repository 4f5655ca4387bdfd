// The picture of a dialog record file.
#pragma once

#include "preview/PreviewScene.h"
#include "text/ImageBytes.h"

namespace trellane {

// The dialog of a record file image at its outer pixel size; texts are read
// in codePage.
SceneBuild BuildDialogScene(const Image& image, int codePage);

}  // namespace trellane
