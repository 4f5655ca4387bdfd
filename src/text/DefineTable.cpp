#include "text/DefineTable.h"

#include <array>
#include <cstring>
#include <limits>
#include <string>

#include "text/ByteMarks.h"
#include "text/NumberField.h"
#include "text/ScriptScan.h"

namespace trellane {
namespace {

constexpr std::string_view DefineKeyword = "#define";

// Names at or past this offset do not fit a slot and are left out.
constexpr std::size_t InsertLimit = std::numeric_limits<std::uint32_t>::max() - 1;

struct DefineLine {
  std::size_t nameStart = 0;
  std::size_t nameEnd = 0;
};

// A hash of a name's bytes, eight at a time; MixHash spreads it.
std::uint64_t NameHash(std::string_view name) {
  constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = name.size();
  std::size_t i = 0;
  for (; i + 8 <= name.size(); i += 8)
    hash = (hash ^ LoadWord(name.data() + i)) * Multiplier;
  std::uint64_t tail = 0;
  for (std::size_t k = 0; i + k < name.size(); ++k)
    tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i + k])) << (8 * k);
  return (hash ^ tail) * Multiplier;
}

// Whether a define line can define name: it is word bytes only, at least one.
bool CanBeDefined(std::string_view name) {
  for (const char c : name) {
    if (!IsWordByte(c))
      return false;
  }
  return !name.empty();
}

// Spreads a name hash over all its bits before a slot and a tag are taken
// from it: names that differ in one late byte differ little in NameHash.
std::uint64_t MixHash(std::uint64_t hash) {
  hash ^= hash >> 31;
  hash *= 0xBF58476D1CE4E5B9ull;
  return hash ^ (hash >> 29);
}

// The byte of the hash kept beside each slot.
std::uint8_t HashTag(std::uint64_t hash) {
  return static_cast<std::uint8_t>(MixHash(hash) >> 8);
}

// The value of a define line whose name ends at nameEnd: the bytes up to the
// line's end or a comment, trimmed. stop is set to that end or comment.
std::string_view DefineValue(std::string_view script, std::size_t nameEnd, std::size_t& stop) {
  const char* const data = script.data();
  const std::size_t size = script.size();
  std::size_t i = nameEnd;
  while (i < size) {
    const char c = data[i];
    if (IsLineEnd(c) || (c == '/' && i + 1 < size && (data[i + 1] == '/' || data[i + 1] == '*')))
      break;
    ++i;
  }
  stop = i;
  return TrimField(script.substr(nameEnd, i - nameEnd));
}

// Whether the value of a define line whose name ends at nameEnd is not
// empty: some byte above the blank stands before the line's end or a
// comment. The same test as DefineValue(...).empty(), without reading the
// whole value.
bool HasDefineValue(std::string_view script, std::size_t nameEnd) {
  const char* const data = script.data();
  const std::size_t size = script.size();
  for (std::size_t i = nameEnd; i < size; ++i) {
    const char c = data[i];
    if (IsLineEnd(c) || (c == '/' && i + 1 < size && (data[i + 1] == '/' || data[i + 1] == '*')))
      return false;
    if (static_cast<unsigned char>(c) >= 0x21)
      return true;
  }
  return false;
}

// Reads "#define", blanks or tabs, a name, blanks or tabs, a value on the
// line whose first byte outside blanks and tabs is the '#' at hash.
bool ReadDefineLine(std::string_view script, std::size_t hash, DefineLine& define) {
  const std::size_t size = script.size();
  if (script.substr(hash, DefineKeyword.size()) != DefineKeyword)
    return false;
  std::size_t i = hash + DefineKeyword.size();
  const std::size_t afterKeyword = i;
  while (i < size && IsBlankOrTab(script[i]))
    ++i;
  if (i == afterKeyword)
    return false;
  define.nameStart = i;
  while (i < size && IsWordByte(script[i]))
    ++i;
  define.nameEnd = i;
  if (define.nameEnd == define.nameStart || (i < size && !IsBlankOrTab(script[i])))
    return false;
  return HasDefineValue(script, i);
}

// Only a line whose first byte outside blanks and tabs is '#' can be a
// define line, so the walk jumps from one '#' to the next; a further '#' on
// the same line is never at its start. Unchecked, it visits every line that
// begins with "#define": an upper bound of the define lines, cheaply.
template <typename Visit>
void ForEachDefineLine(std::string_view script, Visit visit, bool checked = true) {
  const char* const data = script.data();
  std::size_t from = 0;
  while (from < script.size()) {
    const void* found = std::memchr(data + from, '#', script.size() - from);
    if (!found)
      return;
    const auto hash = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    from = hash + 1;
    std::size_t start = hash;
    while (start > 0 && IsBlankOrTab(data[start - 1]))
      --start;
    if (start > 0 && !IsLineEnd(data[start - 1]))
      continue;
    DefineLine define;
    if (checked ? ReadDefineLine(script, hash, define) : script.substr(hash).starts_with(DefineKeyword))
      visit(define);
  }
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
  ForEachDefineLine(
      script, [&](const DefineLine&) { ++lines; }, false);
  // At most two thirds of the slots fill; the size needs no power of two.
  const std::size_t capacity = lines + lines / 2 + 16;
  slots.assign(capacity, 0);
  tags.assign(capacity, 0);
  ForEachDefineLine(script, [&](const DefineLine& define) {
    if (define.nameStart < InsertLimit) {
      const std::string_view name = script.substr(define.nameStart, define.nameEnd - define.nameStart);
      Insert(static_cast<std::uint32_t>(define.nameStart), name, NameHash(name));
    }
  });
}

std::size_t DefineTable::HomeSlot(std::uint64_t hash) const {
  // The high half of the mixed hash scaled to the table: no division, any
  // table size.
  return static_cast<std::size_t>(((MixHash(hash) >> 32) * static_cast<std::uint64_t>(slots.size())) >> 32);
}

bool DefineTable::NameMatches(std::uint32_t nameOffset, std::string_view name) const {
  // name holds word bytes only, so it matches when the word at nameOffset
  // starts with it and ends with it.
  const std::size_t end = nameOffset + name.size();
  return end <= script.size() && std::memcmp(script.data() + nameOffset, name.data(), name.size()) == 0 &&
         (end == script.size() || !IsWordByte(script[end]));
}

void DefineTable::Insert(std::uint32_t nameOffset, std::string_view name, std::uint64_t hash) {
  const std::uint8_t tag = HashTag(hash);
  for (std::size_t i = HomeSlot(hash);; i = i + 1 == slots.size() ? 0 : i + 1) {
    if (slots[i] == 0) {
      slots[i] = nameOffset + 1;
      tags[i] = tag;
      ++count;
      return;
    }
    if (tags[i] == tag && NameMatches(slots[i] - 1, name)) {
      nameDefinedTwice = true;
      return;  // the first define line of a name wins
    }
  }
}

bool DefineTable::FindOnLine(std::size_t lineStart, std::string_view name, std::string_view& value) const {
  // The test of ReadDefineLine, with the name compared in place: name holds
  // word bytes only, so a blank or tab after it ends the line's name too.
  std::size_t i = lineStart;
  while (i < script.size() && IsBlankOrTab(script[i]))
    ++i;
  if (script.substr(i, DefineKeyword.size()) != DefineKeyword)
    return false;
  i += DefineKeyword.size();
  const std::size_t afterKeyword = i;
  while (i < script.size() && IsBlankOrTab(script[i]))
    ++i;
  const std::size_t nameEnd = i + name.size();
  if (i == afterKeyword || i >= InsertLimit || nameEnd >= script.size() || !IsBlankOrTab(script[nameEnd]) ||
      std::memcmp(script.data() + i, name.data(), name.size()) != 0)
    return false;
  std::size_t stop = 0;
  const std::string_view found = DefineValue(script, nameEnd, stop);
  if (found.empty())
    return false;
  value = found;
  NoteLineOf(stop);
  return true;
}

void DefineTable::Found(std::size_t nameOffset, std::string_view name, std::string_view& value) const {
  std::size_t stop = 0;
  value = DefineValue(script, nameOffset + name.size(), stop);
  NoteLineOf(stop);
}

void DefineTable::NoteLineOf(std::size_t valueStop) const {
  const bool atLineEnd = valueStop == script.size() || IsLineEnd(script[valueStop]);
  lineAfterLastFound = LineAfter(script, atLineEnd ? valueStop : LineEndOf(script, valueStop));
}

bool DefineTable::Find(std::string_view name, std::string_view& value) const {
  if (!CanBeDefined(name))
    return false;
  if (!nameDefinedTwice && lineAfterLastFound < script.size() && FindOnLine(lineAfterLastFound, name, value))
    return true;
  const std::uint64_t hash = NameHash(name);
  const std::uint8_t tag = HashTag(hash);
  for (std::size_t i = HomeSlot(hash); slots[i] != 0; i = i + 1 == slots.size() ? 0 : i + 1) {
    if (tags[i] != tag || !NameMatches(slots[i] - 1, name))
      continue;
    Found(slots[i] - 1, name, value);
    return true;
  }
  return false;
}

ResolvedIdentifier ResolveIdentifier(std::string_view field, const DefineTable& defines, std::size_t position,
                                     Diagnostics& diagnostics) {
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
