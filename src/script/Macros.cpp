#include "script/Macros.h"

#include <cstring>

namespace trellane {
namespace {

// The 0 to 7 bytes after the last whole word, in two loads that may
// overlap: a memcpy of a length known only at run time is a library call.
std::uint64_t TailWord(const char* bytes, std::size_t size) {
  if (size >= 4) {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    std::memcpy(&low, bytes, 4);
    std::memcpy(&high, bytes + size - 4, 4);
    return low | (std::uint64_t{high} << 32);
  }
  if (size == 0)
    return 0;
  return static_cast<std::uint8_t>(bytes[0]) | (std::uint64_t{static_cast<std::uint8_t>(bytes[size / 2])} << 8) |
         (std::uint64_t{static_cast<std::uint8_t>(bytes[size - 1])} << 16);
}

std::uint32_t HashName(std::string_view name) {
  std::uint64_t hash = 0x9E3779B97F4A7C15u ^ name.size();
  std::size_t at = 0;
  for (; at + 8 <= name.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, name.data() + at, 8);
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 32;
  }
  // MurmurHash3's finaliser: every bit of the name reaches the low bits that
  // pick the slot. A single multiply leaves them to the low bytes only, and
  // numbered names (IDC_FIELD_1, IDC_FIELD_2...) pile up in long runs.
  hash ^= TailWord(name.data() + at, name.size() - at);
  hash = (hash ^ (hash >> 33)) * 0xFF51AFD7ED558CCDu;
  hash = (hash ^ (hash >> 33)) * 0xC4CEB9FE1A85EC53u;
  hash ^= hash >> 33;
  return static_cast<std::uint32_t>(hash);
}

}  // namespace

MacroTable::MacroTable() : slots(1024, 0), mask(1023) {}

Macro* MacroTable::Find(std::string_view name) {
  const std::uint32_t entry = slots[SlotOf(name, HashName(name))];
  return entry == 0 ? nullptr : &Entry(entry);
}

// The slot that holds name, or the empty slot where it would go.
std::size_t MacroTable::SlotOf(std::string_view name, std::uint32_t hash) const {
  const std::uint32_t tag = hash & ~IndexMask;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots[slot];
    if (entry == 0)
      return slot;
    if ((entry & ~IndexMask) != tag)
      continue;
    const Macro& macro = Entry(entry);
    if (macro.hash == hash && macro.Name() == name)
      return slot;
  }
}

bool MacroTable::Define(std::string_view definition, std::uint32_t nameLength, std::uint8_t form) {
  const std::string_view name = definition.substr(0, nameLength);
  const std::uint32_t hash = HashName(name);
  std::size_t slot = SlotOf(name, hash);
  if (slots[slot] == 0) {
    if (count + 1 >= MaxMacros)
      return false;
    if ((std::size_t{count} + 1) * 2 > slots.size()) {
      Grow();
      slot = SlotOf(name, hash);
    }
    if ((count & BlockMask) == 0)
      blocks.push_back(std::make_unique<Macro[]>(BlockMask + 1));
    ++count;
    slots[slot] = (hash & ~IndexMask) | count;
    Entry(slots[slot]).hash = hash;
  }
  Macro& macro = Entry(slots[slot]);
  macro.definition = definition.data();
  macro.length = static_cast<std::uint32_t>(definition.size());
  macro.nameLength = nameLength;
  macro.flags = static_cast<std::uint8_t>((macro.flags & Macro::Disabled) | Macro::Defined |
                                          (form & (Macro::FunctionLike | Macro::OneToken)));
  return true;
}

void MacroTable::Undefine(std::string_view name) {
  if (Macro* macro = Find(name))
    macro->flags &= static_cast<std::uint8_t>(~Macro::Defined);
}

void MacroTable::Grow() {
  slots.assign(slots.size() * 2, 0);
  mask = slots.size() - 1;
  for (std::uint32_t index = 1; index <= count; ++index) {
    const std::uint32_t hash = Entry(index).hash;
    std::size_t slot = hash & mask;
    while (slots[slot] != 0)
      slot = (slot + 1) & mask;
    slots[slot] = (hash & ~IndexMask) | index;
  }
}

namespace {

bool IsDot(const LexToken& token) {
  return token.kind == TokenKind::Other && token.text == ".";
}

// The two dots that make "..." with the one already read; nothing may stand between them.
bool RestOfEllipsis(Lexer& lexer, LexToken& token) {
  for (int dot = 0; dot < 2; ++dot) {
    lexer.Next(token, true);
    if (!IsDot(token) || (token.flags & LexFlag::SpaceBefore) != 0)
      return false;
  }
  return true;
}

}  // namespace

bool ReadParameters(Lexer& lexer, std::vector<std::string_view>& names, bool& variadic, LexToken& bad) {
  const std::size_t first = names.size();
  variadic = false;
  LexToken token;
  lexer.Next(token, true);  // the '('
  lexer.Next(token, true);
  if (token.Is(')'))
    return true;
  for (;;) {
    if (IsDot(token)) {
      if (!RestOfEllipsis(lexer, token)) {
        bad = token;
        return false;
      }
      names.emplace_back("__VA_ARGS__");
      variadic = true;
      lexer.Next(token, true);
    } else if (token.kind == TokenKind::Identifier && token.text != "__VA_ARGS__" &&
               names.size() - first < MaxParameters) {
      for (std::size_t at = first; at < names.size(); ++at) {
        if (names[at] == token.text) {
          bad = token;
          return false;
        }
      }
      names.push_back(token.text);
      lexer.Next(token, true);
      if (IsDot(token)) {
        if (!RestOfEllipsis(lexer, token)) {
          bad = token;
          return false;
        }
        variadic = true;
        lexer.Next(token, true);
      }
    } else {
      bad = token;
      return false;
    }
    if (token.Is(')'))
      return true;
    if (variadic || !token.Is(',')) {
      bad = token;
      return false;
    }
    lexer.Next(token, true);
  }
}

}  // namespace trellane
