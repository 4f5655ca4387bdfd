// CONTROL statements of the shape that resource editors write, read in one
// pass over their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dialog/StatementFields.h"

namespace trellane {

// The fields of one CONTROL statement: the text, identifier and class as
// their trimmed fields (quotes kept), the rest as numbers.
struct ControlStatement {
  Field text;
  Field identifier;
  Field className;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Reads CONTROL statements of the plain shape: a quoted text and a quoted
// class without quotes inside them, an identifier of word bytes (a leading
// '-' allowed), then style, x, y, width, height and an optional extended
// style, each a plain decimal or 0x literal; commas between the fields,
// blanks and tabs around them, and nothing else up to the line's end. The
// fields are then exactly those that SplitFields finds, with the values that
// ParseIntegerLiteral gives.
class PlainControlReader {
 public:
  explicit PlainControlReader(std::string_view scriptText);

  // Reads the fields that follow the CONTROL keyword at from; false for
  // every other shape, which the field-by-field reading takes.
  bool Read(std::size_t from, ControlStatement& control) const;

 private:
  std::string_view script;
  std::size_t lastLineEnd = 0;  // one past the script's last CR or LF, or 0
};

}  // namespace trellane
