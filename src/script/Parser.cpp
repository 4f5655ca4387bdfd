#include "script/Parser.h"

#include <cassert>
#include <string>
#include <string_view>

#include "script/ScriptParser.h"

namespace trellane {
namespace parser {

// Two tokens of the file with nothing between them.
bool Touching(const Token& before, const Token& after) {
  return before.macro.empty() && after.macro.empty() && before.location.file == after.location.file &&
         before.location.offset + before.text.size() == after.location.offset;
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

std::string Description::Text() const {
  std::string text;
  for (const std::string_view part : parts)
    text += part;
  return text;
}

// Reads tokens into the ring until it holds ahead + 1 of them.
void ScriptParser::Fill(std::size_t ahead) {
  assert(ahead <= 1 && "a deeper look fills the slots of the tokens taken last");
  while (lookaheadCount <= ahead) {
    Token& slot = lookahead[(lookaheadStart + lookaheadCount) % lookahead.size()];
    if (failed) {
      slot = Token{};
    } else {
      tokens.Next(slot);
      assert(slot.keyword == (slot.kind == TokenKind::Identifier ? ClassifyKeyword(slot.text) : Keyword::None));
      failed = slot.kind == TokenKind::End && tokens.Failed();
    }
    ++lookaheadCount;
  }
}

bool ScriptParser::Expect(std::string_view punctuator, const Description& what) {
  if (TakePunctuator(punctuator))
    return true;
  return FailExpected(Description("'", punctuator, "' ", what.Text()));
}

std::string ScriptParser::Describe(const Token& token) {
  if (token.kind == TokenKind::End)
    return "the end of the script";
  return Quoted(token.text);
}

// At the end of the script, the error stands after the last token taken.
bool ScriptParser::Fail(const Token& at, const std::string& message) {
  return FailAt(at.kind == TokenKind::End ? LastTaken().location : at.location, message);
}

bool ScriptParser::FailAt(const SourceLocation& at, const std::string& message) {
  if (!failed || !HasErrors(diagnostics))
    diagnostics.push_back(DiagnosticAt(files, at, Severity::Error, message));
  failed = true;
  return false;
}

bool ScriptParser::FailExpected(const Description& expected) {
  return Fail(Peek(), "expected " + expected.Text() + ", found " + Describe(Peek()));
}

void ScriptParser::Warning(const SourceLocation& at, const std::string& message) {
  if (failed)
    return;  // after an error, what follows is no longer read as written
  diagnostics.push_back(DiagnosticAt(files, at, Severity::Warning, message));
}

bool ScriptParser::Run() {
  while (!failed && !AtEnd()) {
    if (!Resource())
      return false;
  }
  return !failed;
}

bool ScriptParser::ReadLanguage(Language& language) {
  const std::optional<std::uint32_t> primary = Integer("language");
  if (!primary || !Expect(",", "between the language and the sublanguage"))
    return false;
  const std::optional<std::uint32_t> sub = Integer("sublanguage");
  if (!sub)
    return false;
  language.primary = static_cast<std::uint16_t>(*primary);
  language.sub = static_cast<std::uint16_t>(*sub);
  return true;
}

// The statements between a resource's header and its BEGIN: LANGUAGE,
// CHARACTERISTICS and VERSION in both, the rest in a dialog only (dialog is
// null for a menu). what names the resource in the message for any other word.
ScriptParser::Statements ScriptParser::ReadOptionalStatements(Language& language, std::uint32_t& characteristics,
                                                              std::uint32_t& version, Dialog* dialog,
                                                              std::string_view what) {
  for (;;) {
    const Token& word = Peek();
    if (IsBlockBegin(word))
      return Statements::BeforeBlock;
    if (word.keyword == Keyword::Language) {
      Take();
      if (!ReadLanguage(language))
        return Statements::Failed;
      continue;
    }
    if (word.keyword == Keyword::Characteristics || word.keyword == Keyword::Version) {
      const bool isCharacteristics = Take().keyword == Keyword::Characteristics;
      const std::optional<std::uint32_t> value = Integer(isCharacteristics ? "CHARACTERISTICS" : "VERSION");
      if (!value)
        return Statements::Failed;
      (isCharacteristics ? characteristics : version) = *value;
      continue;
    }
    bool isStatement = false;
    if (dialog && !ReadDialogStatement(*dialog, isStatement))
      return Statements::Failed;
    if (isStatement)
      continue;
    if (AtEnd() && !failed)
      return Statements::NoBlock;
    FailExpected(Description("BEGIN or an optional statement of the ", what));
    return Statements::Failed;
  }
}

bool ScriptParser::Resource() {
  const Token& first = Peek();
  if (first.keyword == Keyword::Language) {
    Take();
    return ReadLanguage(currentLanguage);
  }
  if (first.keyword == Keyword::StringTable)
    return SkipResource(TokenMark(Take()));
  if (IsBlockBegin(first) || IsBlockEnd(first))
    return Fail(first, Quoted(first.text) + " stands outside any resource");
  if (first.kind != TokenKind::Identifier && first.kind != TokenKind::Number && first.kind != TokenKind::String &&
      !(first.startsExpansion && StartsValue(first)))
    return FailExpected("a resource's name");
  const TokenMark nameToken(first);
  std::optional<NameOrOrdinal> name =
      IsOther(Peek(1), ".") && Touching(first, Peek(1)) ? DottedName() : NameOrNumber("the resource's name");
  if (!name)
    return false;
  const Token& type = Peek();
  if (type.kind != TokenKind::Identifier && type.kind != TokenKind::Number && type.kind != TokenKind::String)
    return FailExpected(Description("the type of resource ", Quoted(nameToken.text)));
  if (type.keyword == Keyword::Dialog || type.keyword == Keyword::DialogEx) {
    Dialog dialog;
    dialog.extended = Take().keyword == Keyword::DialogEx;
    dialog.location = nameToken.location;
    dialog.name = *name;
    dialog.language = currentLanguage;
    if (!ReadDialog(dialog))
      return false;
    resources.order.push_back(ResourceEntry{ResourceKind::Dialog, resources.dialogs.size()});
    resources.dialogs.push_back(std::move(dialog));
    return true;
  }
  if (type.keyword == Keyword::Menu || type.keyword == Keyword::MenuEx) {
    Menu menu;
    menu.extended = Take().keyword == Keyword::MenuEx;
    menu.location = nameToken.location;
    menu.name = *name;
    menu.language = currentLanguage;
    if (!ReadMenu(menu))
      return false;
    resources.order.push_back(ResourceEntry{ResourceKind::Menu, resources.menus.size()});
    resources.menus.push_back(std::move(menu));
    return true;
  }
  return SkipResource(TokenMark(Take()));
}

}  // namespace parser

bool ParseResourceScript(Preprocessor& tokens, const SourceFiles& files, ResourceScript& resources,
                         Diagnostics& diagnostics) {
  return parser::ScriptParser(tokens, files, resources, diagnostics).Run();
}

}  // namespace trellane
