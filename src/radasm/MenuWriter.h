// Writes a menu of the resource model as a RadASM menu record file image.
#pragma once

#include "radasm/RecordWriter.h"
#include "script/ResourceModel.h"
#include "text/ImageBytes.h"

namespace trellane {

Image WriteMenuFile(const Menu& menu, const WriterOptions& options);

}  // namespace trellane
