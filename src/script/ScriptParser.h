// The parser's class, shared by the files of the parser: Parser.cpp (the
// token ring, reports, the resource header and its optional statements),
// ParserExpressions.cpp (values), OtherResources.cpp (the resources stepped
// over), DialogGrammar.cpp and MenuGrammar.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/Literals.h"
#include "script/Preprocessor.h"
#include "script/ResourceModel.h"
#include "script/ScriptKeywords.h"
#include "script/SourceFiles.h"
#include "script/Token.h"
#include "text/Diagnostics.h"

// The parser's own namespace: its names stay out of the rest of the front end.
namespace trellane::parser {

// What messages need of a token once it has left the ring.
struct TokenMark {
  explicit TokenMark(const Token& token) : location(token.location), text(token.text), keyword(token.keyword) {}
  SourceLocation location;
  std::string_view text;
  Keyword keyword;
};

// A value of an expression, with the bits that NOT removes: NOT x gives no
// bits of its own but takes x's bits out of what it is combined with.
struct Value {
  std::uint32_t value = 0;
  std::uint32_t notMask = 0;
};

// What a message names, kept as pieces and joined only when a message is
// made: most fields are read without one.
class Description {
 public:
  Description(const char* text) : parts{text} {}
  Description(std::string_view text) : parts{text} {}
  Description(const std::string& text) : parts{text} {}
  Description(std::string_view first, std::string_view second, std::string_view third = {},
              std::string_view fourth = {})
      : parts{first, second, third, fourth} {}

  std::string Text() const;

 private:
  std::array<std::string_view, 4> parts;
};

// Deeper nesting of parentheses, unary operators or pop-ups is refused
// rather than followed down the stack.
constexpr int MaxNesting = 256;

// The number a built-in Windows constant gives name, when it is a number.
std::optional<std::uint32_t> BuiltinNumber(std::string_view name);

inline bool IsPunctuator(const Token& token, std::string_view text) {
  return token.kind == TokenKind::Punctuator && token.text == text;
}

inline bool IsOther(const Token& token, std::string_view text) {
  return token.kind == TokenKind::Other && token.text == text;
}

inline bool IsBlockBegin(const Token& token) {
  return token.keyword == Keyword::Begin || IsPunctuator(token, "{");
}

inline bool IsBlockEnd(const Token& token) {
  return token.keyword == Keyword::End || IsPunctuator(token, "}");
}

bool Touching(const Token& before, const Token& after);
std::string Quoted(std::string_view text);

class ScriptParser {
 public:
  ScriptParser(Preprocessor& preprocessor, const SourceFiles& sourceFiles, ResourceScript& script,
               Diagnostics& diagnosticList)
      : tokens(preprocessor), files(sourceFiles), resources(script), diagnostics(diagnosticList) {}

  bool Run();

 private:
  // Tokens. Peek looks at most one token beyond the next. A token Take
  // returns stays in the ring, unchanged, until the second Take after it.
  const Token& Peek(std::size_t ahead = 0) {
    if (lookaheadCount <= ahead)
      Fill(ahead);
    return lookahead[(lookaheadStart + ahead) % lookahead.size()];
  }
  const Token& Take() {
    const Token& token = Peek();
    if (token.kind == TokenKind::End)
      return token;
    lookaheadStart = (lookaheadStart + 1) % lookahead.size();
    --lookaheadCount;
    ++taken;
    return token;
  }
  const Token& LastTaken() const { return lookahead[(lookaheadStart + lookahead.size() - 1) % lookahead.size()]; }
  bool TakePunctuator(std::string_view text) {
    if (!IsPunctuator(Peek(), text))
      return false;
    Take();
    return true;
  }
  bool Expect(std::string_view punctuator, const Description& what);
  bool AtEnd() { return Peek().kind == TokenKind::End; }

  // Reports.
  bool Fail(const Token& at, const std::string& message);
  bool FailAt(const SourceLocation& at, const std::string& message);
  bool FailExpected(const Description& expected);
  void Warning(const SourceLocation& at, const std::string& message);
  void Warning(const Token& at, const std::string& message) { Warning(at.location, message); }
  static std::string Describe(const Token& token);

  // Values (ParserExpressions.cpp).
  std::optional<Value> Expression(int depth = 0);
  std::optional<Value> Term(int depth);
  std::optional<Value> Unary(int depth);
  std::optional<Value> Primary(int depth);
  std::optional<Value> Style(std::string_view what);
  std::optional<std::int32_t> Coordinate(std::string_view what);
  bool ReadCoordinates(const std::array<std::int32_t*, 4>& fields, std::string_view owner, bool sizeOptional);
  bool Separator(const Description& what);
  std::optional<std::uint32_t> Integer(std::string_view what);
  std::optional<NumberField> ReadNumber(std::string_view what);
  std::optional<NumberField> Number(std::string_view what);  // ReadNumber, its symbol kept in the model's store
  std::optional<NameOrOrdinal> NameOrNumber(std::string_view what);
  NameOrOrdinal DottedName();
  // The texts, joined; the view holds until the next JoinedText.
  std::optional<std::string_view> JoinedText(std::string_view what);
  std::optional<std::string_view> Text(std::string_view what);  // JoinedText, kept in the model's store
  std::string_view Keep(std::string_view text) { return resources.texts.Keep(text); }
  bool StartsValue(const Token& token);

  // Resources (Parser.cpp).
  bool Resource();
  bool ReadLanguage(Language& language);
  enum class Statements { BeforeBlock, NoBlock, Failed };
  Statements ReadOptionalStatements(Language& language, std::uint32_t& characteristics, std::uint32_t& version,
                                    Dialog* dialog, std::string_view what);

  // Other resources (OtherResources.cpp).
  bool SkipResource(const TokenMark& type);
  bool SkipBlock();
  void SkipFileName(const SourceLocation& type);
  void SkipMemoryFlags();

  // Dialogs (DialogGrammar.cpp).
  bool ReadDialog(Dialog& dialog);
  bool ReadDialogStatement(Dialog& dialog, bool& isStatement);
  bool ReadFont(Dialog& dialog);
  bool ReadControl(Dialog& dialog);
  bool ReadControlClass(Control& control);
  bool ReadControlData(Control& control);

  // Menus (MenuGrammar.cpp).
  bool ReadMenu(Menu& menu);
  bool ReadMenuItems(Menu& menu);
  bool ReadMenuItem(Menu& menu, const TokenMark& keyword, int level);
  bool ReadExtendedFields(MenuItem& item, const TokenMark& keyword);
  bool ReadMenuOptions(MenuItem& item);

  void Fill(std::size_t ahead);

  Preprocessor& tokens;
  const SourceFiles& files;
  ResourceScript& resources;
  Diagnostics& diagnostics;
  // The next tokens from lookaheadStart, and before it the last two taken;
  // the slot before the first holds an empty token until one is taken.
  std::array<Token, 4> lookahead;
  std::size_t lookaheadStart = 0;
  std::size_t lookaheadCount = 0;
  std::size_t taken = 0;  // tokens taken so far
  bool failed = false;
  Language currentLanguage{9, 1};  // LANG_ENGLISH, SUBLANG_ENGLISH_US, as llvm-rc takes without LANGUAGE
  // The first identifier of the expression being read that nothing defines.
  std::string undefinedName;
  Token undefinedToken;
  // JoinedText's buffers, kept from one text to the next.
  StringLiteral textLiteral;
  std::string joinedText;
};

}  // namespace trellane::parser
