// The values of number and string tokens, as the resource compilers read them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trellane {

struct NumberLiteral {
  std::uint32_t value = 0;  // wraps modulo 2^32
  bool isLong = false;      // an L suffix
};

// Decimal, 0x hexadecimal or 0-led octal digits with optional L and U
// suffixes in any case. None for anything else (08, 0x, 12abc).
std::optional<NumberLiteral> ReadNumberLiteral(std::string_view spelling);

struct StringLiteral {
  std::string text;  // UTF-8, cut at its first NUL as a caption is
  bool wide = false;
  std::size_t unreadable = 0;  // characters the code page cannot give, now U+FFFD
  std::string bytes;           // the narrow text's bytes before decoding
};

// The text of a string token into literal: quotes and L dropped, "" read as
// ", escapes \a \n \r \t \\ \" \x.. and octal read as the compilers read
// them, the bytes decoded in codePage. A literal read into again keeps its
// buffers, so reading the texts of a script allocates once, not per text.
void ReadStringLiteral(std::string_view spelling, int codePage, StringLiteral& literal);

}  // namespace trellane
