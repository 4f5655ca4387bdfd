// Converts the MENUEX menu of a resource script into a menu record file image.
#pragma once

#include <string_view>

#include "text/ConverterResult.h"

namespace trellane {

ConverterResult ConvertMenuScript(std::string_view script);

}  // namespace trellane
