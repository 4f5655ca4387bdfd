#include "dialog/PlainControl.h"

#include "text/ScriptScan.h"

namespace trellane {
namespace {

// Walks a statement's bytes; every step either takes the form it expects and
// moves on, or answers false and leaves the rest to the full reading. A CR
// or LF lies ahead, and no step passes one, so no step needs the script's end.
class LineReader {
 public:
  LineReader(const char* scriptData, std::size_t from) : data(scriptData), next(scriptData + from) {}

  void SkipBlanks() {
    while (IsBlankOrTab(*next))
      ++next;
  }

  // A comma, with the blanks around it; mostly none before it and one after.
  bool Comma() {
    if (*next != ',') {
      SkipBlanks();
      if (*next != ',')
        return false;
    }
    ++next;
    SkipBlanks();
    return true;
  }

  // A quoted text that holds no quote and no line end.
  bool Quoted(Field& field) {
    const char* const start = next;
    if (*next != '"')
      return false;
    for (++next; *next != '"'; ++next) {
      if (IsLineEnd(*next))
        return false;
    }
    ++next;
    field = Take(start);
    return true;
  }

  // Word bytes, a leading '-' allowed.
  bool Identifier(Field& field) {
    const char* const start = next;
    if (*next == '-')
      ++next;
    while (IsWordByte(*next))
      ++next;
    if (next == start)
      return false;
    field = Take(start);
    return true;
  }

  // Decimal digits, or 0x and hexadecimal digits; the value wraps modulo 2^32.
  bool Number(std::uint32_t& value) {
    value = 0;
    const char* const start = next;
    if (next[0] == '0' && (next[1] == 'x' || next[1] == 'X')) {
      for (next += 2; HexDigit(*next) < 16; ++next)
        value = value * 16u + HexDigit(*next);
      return next != start + 2;
    }
    for (; IsDigit(*next); ++next)
      value = value * 10u + static_cast<std::uint32_t>(*next - '0');
    return next != start;
  }

  // Only blanks and tabs up to the line's end.
  bool AtLineEnd() {
    SkipBlanks();
    return IsLineEnd(*next);
  }

  bool Next(char c) const { return *next == c; }

 private:
  // The value of a hexadecimal digit, above 15 for any other byte.
  static std::uint32_t HexDigit(char c) {
    const auto byte = static_cast<std::uint32_t>(static_cast<unsigned char>(c));
    if (byte - '0' < 10)
      return byte - '0';
    const std::uint32_t lower = byte | 0x20u;
    if (lower - 'a' < 6)
      return lower - 'a' + 10;
    return 16;
  }

  Field Take(const char* start) const {
    return Field{std::string_view(start, static_cast<std::size_t>(next - start)),
                 static_cast<std::size_t>(start - data)};
  }

  const char* data;
  const char* next;
};

}  // namespace

PlainControlReader::PlainControlReader(std::string_view scriptText) : script(scriptText) {
  lastLineEnd = script.size();
  while (lastLineEnd > 0 && !IsLineEnd(script[lastLineEnd - 1]))
    --lastLineEnd;
}

bool PlainControlReader::Read(std::size_t from, ControlStatement& control) const {
  // A statement on the script's last line, which no line end closes, is left
  // to the full reading.
  if (from >= lastLineEnd)
    return false;
  LineReader reader(script.data(), from);
  reader.SkipBlanks();
  std::uint32_t x = 0;
  std::uint32_t y = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (!(reader.Quoted(control.text) && reader.Comma() && reader.Identifier(control.identifier) && reader.Comma() &&
        reader.Quoted(control.className) && reader.Comma() && reader.Number(control.style) && reader.Comma() &&
        reader.Number(x) && reader.Comma() && reader.Number(y) && reader.Comma() && reader.Number(width) &&
        reader.Comma() && reader.Number(height)))
    return false;
  control.exStyle = 0;
  reader.SkipBlanks();
  if (reader.Next(',') && !(reader.Comma() && reader.Number(control.exStyle)))
    return false;
  if (!reader.AtLineEnd())
    return false;
  control.x = static_cast<std::int32_t>(x);
  control.y = static_cast<std::int32_t>(y);
  control.width = static_cast<std::int32_t>(width);
  control.height = static_cast<std::int32_t>(height);
  return true;
}

}  // namespace trellane
