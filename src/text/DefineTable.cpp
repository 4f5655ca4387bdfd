#include "text/DefineTable.h"

#include <array>
#include <cstring>
#include <limits>
#include <string>

#include "text/NumberField.h"
#include "text/ScriptScan.h"

namespace trellane {
namespace {

constexpr std::string_view DefineKeyword = "#define";

struct DefineLine {
  std::size_t nameStart = 0;
  std::size_t nameEnd = 0;
  std::string_view value;
};

// Reads "#define", blanks or tabs, a name, blanks or tabs, a value at
// lineStart; blanks and tabs before "#define" are allowed.
bool ReadDefineLine(std::string_view script, std::size_t lineStart, std::size_t lineEnd,
                    DefineLine& define) {
  std::size_t i = lineStart;
  while (i < lineEnd && IsBlankOrTab(script[i]))
    ++i;
  if (script.substr(i, lineEnd - i).substr(0, DefineKeyword.size()) != DefineKeyword)
    return false;
  i += DefineKeyword.size();
  const std::size_t afterKeyword = i;
  while (i < lineEnd && IsBlankOrTab(script[i]))
    ++i;
  if (i == afterKeyword)
    return false;
  define.nameStart = i;
  while (i < lineEnd && IsWordByte(script[i]))
    ++i;
  define.nameEnd = i;
  if (define.nameEnd == define.nameStart || (i < lineEnd && !IsBlankOrTab(script[i])))
    return false;
  std::string_view value = script.substr(i, lineEnd - i);
  const std::size_t comment = std::min(value.find("//"), value.find("/*"));
  define.value = TrimField(value.substr(0, comment));
  return !define.value.empty();
}

// Only a line whose first byte outside blanks and tabs is '#' can be a
// define line, so the walk jumps from one '#' to the next. Unchecked, it
// visits every line that begins with "#define": an upper bound of the define
// lines, cheaply.
template <typename Visit>
void ForEachDefineLine(std::string_view script, Visit visit, bool checked = true) {
  const char* const data = script.data();
  std::size_t from = 0;
  while (from < script.size()) {
    const void* found = std::memchr(data + from, '#', script.size() - from);
    if (!found)
      return;
    const auto hash = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    std::size_t start = hash;
    while (start > 0 && IsBlankOrTab(data[start - 1]))
      --start;
    if (start > 0 && !IsLineEnd(data[start - 1])) {
      from = hash + 1;
      continue;
    }
    const std::size_t end = LineEndOf(script, hash);
    DefineLine define;
    if (checked ? ReadDefineLine(script, start, end, define)
                : script.substr(hash, end - hash).starts_with(DefineKeyword))
      visit(define);
    from = end + 1;
  }
}

std::uint64_t HashName(std::string_view name) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

struct KnownIdentifier {
  std::string_view name;
  std::int32_t value;
};

constexpr std::array<KnownIdentifier, 12> KnownIdentifiers{{
    {"IDOK", 1},
    {"IDCANCEL", 2},
    {"IDABORT", 3},
    {"IDRETRY", 4},
    {"IDIGNORE", 5},
    {"IDYES", 6},
    {"IDNO", 7},
    {"IDCLOSE", 8},
    {"IDHELP", 9},
    {"IDTRYAGAIN", 10},
    {"IDCONTINUE", 11},
    {"IDC_STATIC", -1},
}};

bool StartsLikeNumber(std::string_view field) {
  return !field.empty() && (IsDigit(field[0]) || (field[0] == '-' && field.size() > 1 && IsDigit(field[1])));
}

bool IsName(std::string_view text) {
  if (text.empty() || IsDigit(text[0]))
    return false;
  for (const char c : text) {
    if (!IsWordByte(c))
      return false;
  }
  return true;
}

std::string_view StripParentheses(std::string_view text) {
  while (text.size() >= 2 && text.front() == '(' && text.back() == ')')
    text = TrimField(text.substr(1, text.size() - 2));
  return text;
}

}  // namespace

DefineTable::DefineTable(std::string_view scriptText) : script(scriptText) {
  std::size_t lines = 0;
  ForEachDefineLine(script, [&](const DefineLine&) { ++lines; }, false);
  std::size_t capacity = 16;
  while (capacity < 2 * lines)
    capacity *= 2;
  slots.assign(capacity, 0);
  ForEachDefineLine(script, [&](const DefineLine& define) {
    if (define.nameStart < std::numeric_limits<std::uint32_t>::max() - 1)
      Insert(static_cast<std::uint32_t>(define.nameStart));
  });
}

std::string_view DefineTable::NameAt(std::uint32_t nameOffset) const {
  std::size_t end = nameOffset;
  while (end < script.size() && IsWordByte(script[end]))
    ++end;
  return script.substr(nameOffset, end - nameOffset);
}

void DefineTable::Insert(std::uint32_t nameOffset) {
  const std::string_view name = NameAt(nameOffset);
  const std::size_t mask = slots.size() - 1;
  for (std::size_t i = HashName(name) & mask;; i = (i + 1) & mask) {
    if (slots[i] == 0) {
      slots[i] = nameOffset + 1;
      ++count;
      return;
    }
    if (NameAt(slots[i] - 1) == name)
      return;  // the first define line of a name wins
  }
}

bool DefineTable::Find(std::string_view name, std::string_view& value) const {
  const std::size_t mask = slots.size() - 1;
  for (std::size_t i = HashName(name) & mask; slots[i] != 0; i = (i + 1) & mask) {
    const std::uint32_t nameOffset = slots[i] - 1;
    if (NameAt(nameOffset) != name)
      continue;
    DefineLine define;
    ReadDefineLine(script, LineStartOf(script, nameOffset), LineEndOf(script, nameOffset), define);
    value = define.value;
    return true;
  }
  return false;
}

ResolvedIdentifier ResolveIdentifier(std::string_view field, const DefineTable& defines,
                                     std::size_t position, Diagnostics& diagnostics) {
  ResolvedIdentifier resolved;
  if (field.empty())
    return resolved;
  if (StartsLikeNumber(field)) {
    if (const auto number = ParseIntegerLiteral(field))
      resolved.value = *number;
    else
      Warn(diagnostics, position, "identifier " + std::string(field) + " is not a number; identifier 0");
    return resolved;
  }
  resolved.name = field;
  constexpr int MaxChain = 64;
  std::string_view name = field;
  for (int step = 0; step < MaxChain; ++step) {
    std::string_view value;
    if (!defines.Find(name, value)) {
      for (const KnownIdentifier& known : KnownIdentifiers) {
        if (known.name == name) {
          resolved.value = static_cast<std::uint32_t>(known.value);
          return resolved;
        }
      }
      Warn(diagnostics, position, std::string(name) + " has no #define; identifier 0");
      return resolved;
    }
    value = StripParentheses(value);
    if (const auto number = ParseIntegerLiteral(value)) {
      resolved.value = *number;
      return resolved;
    }
    if (!IsName(value)) {
      Warn(diagnostics, position,
           "#define " + std::string(name) + " is not a number (" + std::string(value) + "); identifier 0");
      return resolved;
    }
    name = value;
  }
  Warn(diagnostics, position, "#define " + std::string(field) + " refers to itself in a loop; identifier 0");
  return resolved;
}

}  // namespace trellane
