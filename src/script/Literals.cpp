#include "script/Literals.h"

#include <array>

#include "script/SourceText.h"

namespace trellane {
namespace {

constexpr std::array<std::uint8_t, 256> MakeDigitValues() {
  std::array<std::uint8_t, 256> values{};
  values.fill(99);
  for (int c = '0'; c <= '9'; ++c)
    values[c] = static_cast<std::uint8_t>(c - '0');
  for (int c = 'a'; c <= 'f'; ++c)
    values[c] = values[c - 'a' + 'A'] = static_cast<std::uint8_t>(c - 'a' + 10);
  return values;
}

// A table, as every digit of every number passes through here.
constexpr std::array<std::uint8_t, 256> DigitValues = MakeDigitValues();

int DigitValue(char c) {
  return DigitValues[static_cast<unsigned char>(c)];
}

// Where the bytes that stand for themselves end: at a quote or a backslash.
std::size_t PlainRunEnd(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] != '"' && text[at] != '\\')
    ++at;
  return at;
}

bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

// Appends what an escape gives: in a narrow string a byte of the code page,
// in a wide string a UTF-16 unit.
void AppendEscaped(std::string& bytes, std::string& utf8, std::uint32_t unit, bool wide, int codePage,
                   std::size_t& unreadable) {
  if (wide) {
    AppendFromCodePage(utf8, bytes, codePage, unreadable);
    bytes.clear();
    AppendCodePoint(utf8, unit);
    return;
  }
  bytes.push_back(static_cast<char>(unit & 0xFF));
}

}  // namespace

std::optional<NumberLiteral> ReadNumberLiteral(std::string_view spelling) {
  NumberLiteral literal;
  while (!spelling.empty()) {
    const char last = spelling.back();
    if (last == 'L' || last == 'l')
      literal.isLong = true;
    else if (last != 'U' && last != 'u')
      break;
    spelling.remove_suffix(1);
  }
  int radix = 10;
  if (spelling.size() > 1 && spelling[0] == '0' && (spelling[1] == 'x' || spelling[1] == 'X')) {
    radix = 16;
    spelling.remove_prefix(2);
  } else if (spelling.size() > 1 && spelling[0] == '0') {
    radix = 8;
    spelling.remove_prefix(1);
  }
  if (spelling.empty())
    return std::nullopt;
  for (const char c : spelling) {
    const int digit = DigitValue(c);
    if (digit >= radix)
      return std::nullopt;
    literal.value = literal.value * static_cast<std::uint32_t>(radix) + static_cast<std::uint32_t>(digit);
  }
  return literal;
}

void ReadStringLiteral(std::string_view spelling, int codePage, StringLiteral& literal) {
  literal.text.clear();
  literal.bytes.clear();
  literal.wide = false;
  literal.unreadable = 0;
  if (!spelling.empty() && (spelling.front() == 'L' || spelling.front() == 'l')) {
    literal.wide = true;
    spelling.remove_prefix(1);
  }
  if (!spelling.empty() && spelling.front() == '"')
    spelling.remove_prefix(1);
  if (!spelling.empty() && spelling.back() == '"')
    spelling.remove_suffix(1);

  // Narrow texts gather their bytes, escapes included, and decode them at
  // the end; wide texts decode each run of plain bytes before an escape.
  std::string& bytes = literal.bytes;
  std::string& utf8 = literal.text;
  const bool wide = literal.wide;
  const bool doubleByte = IsDoubleByteCodePage(codePage);
  std::size_t i = 0;
  while (i < spelling.size()) {
    if (!doubleByte) {
      // Bytes up to the next quote or backslash go over in one piece.
      const std::size_t plain = PlainRunEnd(spelling, i);
      if (plain == spelling.size() && bytes.empty()) {
        AppendFromCodePage(utf8, spelling.substr(i), codePage, literal.unreadable);
        break;  // the usual text: no escapes, decoded straight from the spelling
      }
      bytes.append(spelling.substr(i, plain - i));
      i = plain;
      if (i >= spelling.size())
        break;
    }
    if (doubleByte && CharacterLength(spelling, i, codePage) == 2) {
      bytes.append(spelling.substr(i, 2));  // its trail byte may be a backslash
      i += 2;
      continue;
    }
    const char c = spelling[i++];
    if (c == '"') {
      if (i < spelling.size() && spelling[i] == '"')
        ++i;
      bytes.push_back('"');
      continue;
    }
    if (c != '\\' || i >= spelling.size()) {
      bytes.push_back(c);
      continue;
    }
    const char kind = spelling[i++];
    if (kind == 'x' || kind == 'X') {
      std::uint32_t unit = 0;
      for (int left = wide ? 4 : 2; left > 0 && i < spelling.size() && DigitValue(spelling[i]) < 16; --left)
        unit = unit * 16 + static_cast<std::uint32_t>(DigitValue(spelling[i++]));
      AppendEscaped(bytes, utf8, unit, wide, codePage, literal.unreadable);
    } else if (IsOctalDigit(kind)) {
      std::uint32_t unit = static_cast<std::uint32_t>(kind - '0');
      for (int left = wide ? 6 : 2; left > 0 && i < spelling.size() && IsOctalDigit(spelling[i]); --left)
        unit = unit * 8 + static_cast<std::uint32_t>(spelling[i++] - '0');
      AppendEscaped(bytes, utf8, unit, wide, codePage, literal.unreadable);
    } else if (kind == 'a' || kind == 'A') {
      bytes.push_back('\b');  // as the Windows compiler reads \a
    } else if (kind == 'n') {
      bytes.push_back('\n');
    } else if (kind == 'r') {
      bytes.push_back('\r');
    } else if (kind == 't' || kind == 'T') {
      bytes.push_back('\t');
    } else if (kind == '\\') {
      bytes.push_back('\\');
    } else if (kind == '"') {
      if (i < spelling.size() && spelling[i] == '"')
        ++i;
      bytes.push_back('"');
    } else if (!wide) {
      bytes.push_back('\\');
      bytes.push_back(kind);
    }
  }
  if (!bytes.empty())
    AppendFromCodePage(utf8, bytes, codePage, literal.unreadable);
  if (const std::size_t nul = utf8.find('\0'); nul != std::string::npos)
    utf8.resize(nul);
}

}  // namespace trellane
