// Symbolic identifiers: the #define lines of a script, gathered once per
// conversion, and the resolution of an identifier field through them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/Diagnostics.h"

namespace trellane {

// Open-addressing table from a defined name to its #define line. It keeps
// byte offsets into the script and one byte of each name's hash, so it stays
// small beside the script; the tag spares most probes a look into the script.
class DefineTable {
 public:
  explicit DefineTable(std::string_view scriptText);

  // The value text of the first "#define NAME value" line for name, trimmed;
  // false when no line defines that name. Identifiers tend to be looked up
  // in the order of their define lines, so the line after the last one found
  // is tried first when no name is defined twice.
  bool Find(std::string_view name, std::string_view& value) const;

  std::size_t Size() const { return count; }

 private:
  void Insert(std::uint32_t nameOffset, std::string_view name, std::uint64_t hash);
  std::size_t HomeSlot(std::uint64_t hash) const;
  bool NameMatches(std::uint32_t nameOffset, std::string_view name) const;
  bool FindOnLine(std::size_t lineStart, std::string_view name, std::string_view& value) const;
  void Found(std::size_t nameOffset, std::string_view name, std::string_view& value) const;
  // Keeps the line after the one whose value ends at valueStop for the next Find.
  void NoteLineOf(std::size_t valueStop) const;

  std::string_view script;
  std::vector<std::uint32_t> slots;  // name offset + 1, 0 for an empty slot
  std::vector<std::uint8_t> tags;    // a byte of the name's hash, per slot
  std::size_t count = 0;
  bool nameDefinedTwice = false;
  mutable std::size_t lineAfterLastFound = std::string_view::npos;
};

struct ResolvedIdentifier {
  std::uint32_t value = 0;  // low 32 bits of the identifier's value
  std::string_view name;    // the symbolic name; empty for a number
};

// Reads a trimmed identifier field: a number (digits, or '-' and digits, or
// 0x and hexadecimal digits) stands for itself; a name resolves through its
// define line, then through the identifiers every resource compiler knows.
// An empty field gives 0 and no name. Problems are warned at position.
ResolvedIdentifier ResolveIdentifier(std::string_view field, const DefineTable& defines, std::size_t position,
                                     Diagnostics& diagnostics);

}  // namespace trellane
