// The macros of a reading, keyed by name. A macro keeps its definition as
// written (a view into the source, or into the arena for -D and built-in
// ones) and is lexed again at each use: 200,000 #define lines cost little
// more than their text.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "script/Lexer.h"

namespace trellane {

struct Macro {
  static constexpr std::uint8_t Defined = 1;       // cleared by #undef; the entry stays for a later #define
  static constexpr std::uint8_t FunctionLike = 2;  // parameters follow the name
  static constexpr std::uint8_t Disabled = 4;      // its expansion is being read: its name stays a name
  static constexpr std::uint8_t OneToken = 8;      // object-like, and its body is one token that is no name

  const char* definition = nullptr;  // name, parameters and body; no backslash-newlines
  std::uint32_t length = 0;
  std::uint32_t nameLength = 0;
  std::uint32_t hash = 0;
  std::uint8_t flags = 0;

  std::string_view Name() const { return {definition, nameLength}; }
  std::string_view Definition() const { return {definition, length}; }
  bool IsDefined() const { return (flags & Defined) != 0; }
  bool IsFunctionLike() const { return (flags & FunctionLike) != 0; }
  bool IsOneToken() const { return (flags & OneToken) != 0; }
};

class MacroTable {
 public:
  MacroTable();

  // The entry named name, defined or not, or nullptr when the name was never defined.
  Macro* Find(std::string_view name);

  // At most this many names; a slot keeps an entry's index in 24 bits.
  static constexpr std::size_t MaxMacros = (std::size_t{1} << 24) - 1;

  // Defines (or defines again) the macro whose name starts definition and is
  // nameLength long; form is Macro::FunctionLike, Macro::OneToken or 0. False
  // when the table holds MaxMacros names already.
  bool Define(std::string_view definition, std::uint32_t nameLength, std::uint8_t form);

  // Leaves the macro undefined; its entry stays.
  void Undefine(std::string_view name);

 private:
  std::size_t SlotOf(std::string_view name, std::uint32_t hash) const;
  // The entry a slot holds.
  Macro& Entry(std::uint32_t slot) const {
    const std::uint32_t index = (slot & IndexMask) - 1;
    return blocks[index >> BlockBits][index & BlockMask];
  }
  void Grow();

  static constexpr std::uint32_t IndexMask = 0xFFFFFF;
  static constexpr std::uint32_t BlockBits = 8;
  static constexpr std::uint32_t BlockMask = (1u << BlockBits) - 1;

  // The entries in blocks of 256 that never move, so that an entry stays in
  // place as the table grows; index i is entry i & 255 of block i >> 8.
  std::vector<std::unique_ptr<Macro[]>> blocks;
  std::uint32_t count = 0;
  // Open addressing: the top 8 bits of the name's hash, then the entry's
  // index + 1; 0 marks an empty slot. The hash bits spare most lookups of
  // names that are no macro a visit to the entry.
  std::vector<std::uint32_t> slots;
  std::size_t mask = 0;
};

// More parameters than C asks compilers to take; a limit keeps the search
// for duplicates and for each parameter in a body short.
constexpr std::size_t MaxParameters = 256;

// Reads a function-like macro's parameters, from its '(' to its ')', into
// names; "..." adds __VA_ARGS__, "name..." names the variable part. On a
// malformed list (or one past MaxParameters) returns false with the token
// that does not fit in bad.
bool ReadParameters(Lexer& lexer, std::vector<std::string_view>& names, bool& variadic, LexToken& bad);

}  // namespace trellane
