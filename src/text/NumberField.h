// Numeric fields of a script, read as C integer literals and as the flag
// expressions that resource editors write.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trellane {

// "0x"/"0X" and hexadecimal digits, or decimal digits with an optional
// leading '-'; blanks and tabs around it and a trailing L or U are allowed.
// The value wraps modulo 2^32. Anything else gives none.
std::optional<std::uint32_t> ParseIntegerLiteral(std::string_view text);

// Literals joined by '|' or '+', each optionally led by "NOT " (whose bits are
// cleared from the result), with parentheses for grouping.
// "NOT 0x10000000|0x40010003" gives 0x40010003. Anything else gives none.
std::optional<std::uint32_t> ParseFlagsExpression(std::string_view text);

}  // namespace trellane
