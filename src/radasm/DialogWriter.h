// Writes a dialog of the resource model as a RadASM dialog record file
// image, geometry in pixels of the given display.
#pragma once

#include <array>
#include <functional>

#include "metrics/DisplayMetrics.h"
#include "radasm/RecordWriter.h"
#include "script/ResourceModel.h"
#include "text/ImageBytes.h"

namespace trellane {

// A writable 32-byte slot for the name of the RadASM menu file: the request
// writes at most 31 characters and a zero, or nothing.
using MenuNameSlot = std::array<char, 32>;
using MenuNameRequest = std::function<void(MenuNameSlot& slot)>;

struct DialogWriterOptions {
  WriterOptions writer;
  DisplayMetrics* metrics = nullptr;
  MenuNameRequest requestMenuName;  // asked when the dialog names a menu
};

Image WriteDialogFile(const Dialog& dialog, const DialogWriterOptions& options);

}  // namespace trellane
