// A menu record file as a readable table, for users checking a conversion
// and for tests that compare conversions field by field.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "text/ImageBytes.h"

namespace trellane {

// The names of a record's flag bits joined by '|' ("CHECKED|GRAYED"); "-" for
// none; bits without a name as 0xNN.
std::string MenuFlagNames(std::uint32_t flags);

// Prints the header line and one row per record. The image must have the
// size of a menu record file (40 + 120 × n bytes); trailing bytes of a
// partial record are reported, not read.
void DescribeMenuImage(const Image& image, std::ostream& out);

}  // namespace trellane
