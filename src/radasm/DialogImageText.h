// A readable table of a dialog record file image, for `trellane dump` and for
// tests that compare what a conversion produced.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "text/ImageBytes.h"

namespace trellane {

// The name of a control type, "UserDefined" for 23 and "Edit" for 1; a type
// without a name gives the empty text.
std::string_view ControlTypeName(std::uint32_t typeIndex);

void DescribeDialogImage(const Image& image, std::ostream& out);

}  // namespace trellane
