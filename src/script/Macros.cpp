#include "script/Macros.h"

#include <cstring>

namespace trellane {
namespace {

std::uint32_t HashName(std::string_view name) {
  std::uint64_t hash = 0x9E3779B97F4A7C15u ^ name.size();
  std::size_t at = 0;
  for (; at + 8 <= name.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, name.data() + at, 8);
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 32;
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, name.data() + at, name.size() - at);
  hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53u;
  hash ^= hash >> 29;
  return static_cast<std::uint32_t>(hash);
}

}  // namespace

MacroTable::MacroTable() : slots(1024, 0), mask(1023) {}

Macro* MacroTable::Find(std::string_view name) {
  const std::uint32_t hash = HashName(name);
  const std::size_t slot = SlotOf(name, hash);
  return slots[slot] == 0 ? nullptr : &macros[(slots[slot] & IndexMask) - 1];
}

// The slot that holds name, or the empty slot where it would go.
std::size_t MacroTable::SlotOf(std::string_view name, std::uint32_t hash) {
  const std::uint32_t tag = hash & ~IndexMask;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots[slot];
    if (entry == 0)
      return slot;
    if ((entry & ~IndexMask) != tag)
      continue;
    const Macro& macro = macros[(entry & IndexMask) - 1];
    if (macro.hash == hash && macro.Name() == name)
      return slot;
  }
}

bool MacroTable::Define(std::string_view definition, std::uint32_t nameLength, bool functionLike) {
  const std::string_view name = definition.substr(0, nameLength);
  const std::uint32_t hash = HashName(name);
  std::size_t slot = SlotOf(name, hash);
  if (slots[slot] == 0) {
    if (macros.size() + 1 >= MaxMacros)
      return false;
    if ((macros.size() + 1) * 2 > slots.size()) {
      Grow();
      slot = SlotOf(name, hash);
    }
    macros.emplace_back().hash = hash;
    slots[slot] = (hash & ~IndexMask) | static_cast<std::uint32_t>(macros.size());
  }
  Macro& macro = macros[(slots[slot] & IndexMask) - 1];
  macro.definition = definition.data();
  macro.length = static_cast<std::uint32_t>(definition.size());
  macro.nameLength = nameLength;
  macro.flags = static_cast<std::uint8_t>((macro.flags & Macro::Disabled) | Macro::Defined |
                                          (functionLike ? Macro::FunctionLike : 0));
  return true;
}

void MacroTable::Undefine(std::string_view name) {
  if (Macro* macro = Find(name))
    macro->flags &= static_cast<std::uint8_t>(~Macro::Defined);
}

void MacroTable::Grow() {
  slots.assign(slots.size() * 2, 0);
  mask = slots.size() - 1;
  for (std::size_t index = 0; index < macros.size(); ++index) {
    std::size_t slot = macros[index].hash & mask;
    while (slots[slot] != 0)
      slot = (slot + 1) & mask;
    slots[slot] = (macros[index].hash & ~IndexMask) | static_cast<std::uint32_t>(index + 1);
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
