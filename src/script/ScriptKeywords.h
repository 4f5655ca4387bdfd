// The words of the resource-script grammar and what the compilers give each
// one: control statements with their default styles and classes, predefined
// classes, menu options, memory flags and the kinds of other resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "script/Keyword.h"
#include "script/ResourceModel.h"

namespace trellane {

// Words that start or end statements: an expression never takes one for an
// undefined name, so a missing value is reported where it is missing.
bool IsReservedWord(Keyword keyword);

bool IsMemoryFlag(Keyword keyword);

// Resources whose statement names a file (ICON, BITMAP, FONT...).
bool NamesFile(Keyword keyword);

// Resources whose block follows some values of their own (ACCELERATORS...).
bool HasValuesBeforeBlock(Keyword keyword);

struct ControlKind {
  ControlStatement statement;
  std::uint32_t defaultStyle;
  std::uint16_t classOrdinal;  // 0 for CONTROL, which names its class
  bool hasText;
};

// The compilers' default style and predefined class of a control statement;
// null for any other word.
const ControlKind* ControlKindOf(Keyword keyword);

// The ordinal of a class name a CONTROL statement may write without quotes.
std::optional<std::uint16_t> PredefinedClassOf(Keyword keyword);

// The MF_ bit of a MENU item option; 0 for any other word.
std::uint32_t MenuOptionFlag(Keyword keyword);

// Identifiers that the old converters and most editors take as known without
// an include; other Windows constants used without one are warned about.
bool IsStandardIdentifier(std::string_view name);

}  // namespace trellane
