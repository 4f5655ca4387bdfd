// Numeric fields of a script, read as C integer literals and as the flag
// expressions that resource editors write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace trellane {

// Plain decimal digits or 0x and hexadecimal digits, nothing around them: the
// fields that scripts almost always hold, read in one pass. False for
// anything else, which the full reading then takes. Inline: every numeric
// field of every statement passes here.
inline bool ReadPlainLiteral(std::string_view text, std::uint32_t& value) {
  value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    for (std::size_t i = 2; i < text.size(); ++i) {
      const char c = text[i];
      std::uint32_t digit = 0;
      if (c >= '0' && c <= '9')
        digit = static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<std::uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<std::uint32_t>(c - 'A' + 10);
      else
        return false;
      value = value * 16u + digit;
    }
    return true;
  }
  if (text.empty())
    return false;
  for (const char c : text) {
    if (c < '0' || c > '9')
      return false;
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
  }
  return true;
}

// ParseIntegerLiteral for the texts that ReadPlainLiteral does not take.
std::optional<std::uint32_t> ParseLiteralWithExtras(std::string_view text);

// "0x"/"0X" and hexadecimal digits, or decimal digits with an optional
// leading '-'; blanks and tabs around it and a trailing L or U are allowed.
// The value wraps modulo 2^32. Anything else gives none.
inline std::optional<std::uint32_t> ParseIntegerLiteral(std::string_view text) {
  if (std::uint32_t plain = 0; ReadPlainLiteral(text, plain))
    return plain;
  return ParseLiteralWithExtras(text);
}

// Literals joined by '|' or '+', each optionally led by "NOT " (whose bits are
// cleared from the result), with parentheses for grouping.
// "NOT 0x10000000|0x40010003" gives 0x40010003. Anything else gives none.
std::optional<std::uint32_t> ParseFlagsExpression(std::string_view text);

}  // namespace trellane
