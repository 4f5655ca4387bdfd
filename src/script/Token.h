// The tokens of a resource script, as the preprocessor hands them on.
#pragma once

#include <cstdint>
#include <string_view>

#include "script/Keyword.h"
#include "script/SourceFiles.h"

namespace trellane {

enum class TokenKind : std::uint8_t {
  End,          // after the last token of the script, or after an error that stops the reading
  Identifier,   // [A-Za-z_][A-Za-z0-9_]*
  Number,       // a pp-number: digits, letters, '.', as C reads them (0x10, 10L, 0777, 1U)
  String,       // as written: optional L or l, the quotes, "" and escapes untouched
  CharLiteral,  // 'a', as written
  Punctuator,   // , ( ) { } + - * / | & ~ ! < > = ^ % ? : # ## << >> <= >= == != && ||
  Other,        // any other byte, one per token (. \ @ $ `, and bytes above 0x7F outside strings)
};

struct Token {
  TokenKind kind = TokenKind::End;
  Keyword keyword = Keyword::None;  // the word of the grammar an identifier spells; None for every other kind
  std::string_view text;            // spelling; valid while the reading's SourceFiles and Preprocessor live
  SourceLocation location;          // where it stands; a token from a macro stands where the macro was used
  std::string_view macro;           // the outermost macro whose expansion gave this token; empty otherwise
  bool startsExpansion = false;     // the first token of that expansion
  bool endsExpansion = false;       // the last token of that expansion
  int codePage = 1252;              // the code page in force where it stands: 65001 in a Unicode file
};

}  // namespace trellane
