#include "text/NumberField.h"

#include <array>

#include "text/ScriptScan.h"

namespace trellane {
namespace {

constexpr std::uint8_t NotHex = 0xFF;

// The value of each hexadecimal digit; NotHex for other bytes.
constexpr std::array<std::uint8_t, 256> HexDigits = [] {
  std::array<std::uint8_t, 256> digits{};
  digits.fill(NotHex);
  for (int c = '0'; c <= '9'; ++c)
    digits[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - '0');
  for (std::size_t digit = 0; digit < 6; ++digit) {
    digits['a' + digit] = static_cast<std::uint8_t>(10 + digit);
    digits['A' + digit] = static_cast<std::uint8_t>(10 + digit);
  }
  return digits;
}();

std::string_view DropIntegerSuffix(std::string_view text) {
  while (!text.empty() && (text.back() == 'L' || text.back() == 'l' || text.back() == 'U' || text.back() == 'u'))
    text.remove_suffix(1);
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankOrTab(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlankOrTab(text.back()))
    text.remove_suffix(1);
  return text;
}

// Reads one expression from text starting at position; a recursive descent
// over '|' / '+' joined terms, each "NOT term", "(expression)" or a literal.
class FlagsReader {
 public:
  explicit FlagsReader(std::string_view expression) : text(expression) {}

  std::optional<std::uint32_t> ReadAll() {
    const auto value = ReadExpression(0);
    SkipBlanks();
    if (!value || position != text.size())
      return std::nullopt;
    return value;
  }

 private:
  static constexpr int MaxDepth = 32;

  std::optional<std::uint32_t> ReadExpression(int depth) {
    if (depth > MaxDepth)
      return std::nullopt;
    std::uint32_t set = 0;
    std::uint32_t cleared = 0;
    bool add = false;
    for (;;) {
      SkipBlanks();
      bool negated = false;
      if (text.substr(position, 4) == "NOT " || text.substr(position, 4) == "NOT\t") {
        negated = true;
        position += 4;
        SkipBlanks();
      }
      const auto term = ReadTerm(depth);
      if (!term)
        return std::nullopt;
      if (negated)
        cleared |= *term;
      else if (add)
        set += *term;
      else
        set |= *term;
      SkipBlanks();
      if (position < text.size() && (text[position] == '|' || text[position] == '+')) {
        add = text[position] == '+';
        ++position;
        continue;
      }
      return set & ~cleared;
    }
  }

  std::optional<std::uint32_t> ReadTerm(int depth) {
    if (position < text.size() && text[position] == '(') {
      ++position;
      const auto inner = ReadExpression(depth + 1);
      SkipBlanks();
      if (!inner || position >= text.size() || text[position] != ')')
        return std::nullopt;
      ++position;
      return inner;
    }
    const std::size_t start = position;
    if (position < text.size() && text[position] == '-')
      ++position;
    while (position < text.size() && IsWordByte(text[position]))
      ++position;
    return ParseIntegerLiteral(text.substr(start, position - start));
  }

  void SkipBlanks() {
    while (position < text.size() && IsBlankOrTab(text[position]))
      ++position;
  }

  std::string_view text;
  std::size_t position = 0;
};

}  // namespace

std::optional<std::uint32_t> ParseLiteralWithExtras(std::string_view text) {
  text = DropIntegerSuffix(TrimBlanks(text));
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
      const std::uint8_t digit = HexDigits[static_cast<unsigned char>(text[i])];
      if (digit == NotHex)
        return std::nullopt;
      value = value * 16u + digit;
    }
    return value;
  }
  const bool negative = !text.empty() && text[0] == '-';
  if (negative)
    text.remove_prefix(1);
  if (text.empty())
    return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    if (!IsDigit(c))
      return std::nullopt;
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
  }
  return negative ? 0u - value : value;
}

std::optional<std::uint32_t> ParseFlagsExpression(std::string_view text) {
  // A lone literal reads the same either way; most fields are one.
  if (const auto literal = ParseIntegerLiteral(text))
    return literal;
  return FlagsReader(text).ReadAll();
}

}  // namespace trellane
