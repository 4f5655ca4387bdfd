// Converts the DIALOGEX dialog of a resource script into a dialog record file
// image, geometry in pixels of the given display.
#pragma once

#include <string_view>

#include "metrics/DisplayMetrics.h"
#include "text/ConverterResult.h"

namespace trellane {

ConverterResult ConvertDialogScript(std::string_view script, DisplayMetrics& metrics,
                                    const MenuNameRequest& requestMenuName);

}  // namespace trellane
