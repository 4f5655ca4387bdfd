#include "script/Parser.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "script/Literals.h"
#include "script/WindowsHeaders.h"
#include "text/AsciiCase.h"

namespace trellane {
namespace {

// Deeper nesting of parentheses, unary operators or pop-ups is refused
// rather than followed down the stack.
constexpr int MaxNesting = 256;

bool IsWord(const Token& token, std::string_view word) {
  return token.kind == TokenKind::Identifier && SameLetters(token.text, word);
}

bool IsPunctuator(const Token& token, std::string_view text) {
  return token.kind == TokenKind::Punctuator && token.text == text;
}

bool IsBlockBegin(const Token& token) {
  return IsWord(token, "BEGIN") || IsPunctuator(token, "{");
}

bool IsBlockEnd(const Token& token) {
  return IsWord(token, "END") || IsPunctuator(token, "}");
}

// A value of an expression, with the bits that NOT removes: NOT x gives no
// bits of its own but takes x's bits out of what it is combined with.
struct Value {
  std::uint32_t value = 0;
  std::uint32_t notMask = 0;
};

struct ControlKind {
  std::string_view keyword;
  ControlStatement statement;
  std::uint32_t defaultStyle;
  std::uint16_t classOrdinal;  // 0 for CONTROL, which names its class
  bool hasText;
};

// The compilers' default style and predefined class of each control statement.
constexpr std::uint16_t ButtonClass = 0x80;
constexpr std::uint16_t EditClass = 0x81;
constexpr std::uint16_t StaticClass = 0x82;
constexpr std::uint16_t ListBoxClass = 0x83;
constexpr std::uint16_t ScrollBarClass = 0x84;
constexpr std::uint16_t ComboBoxClass = 0x85;
constexpr std::array<ControlKind, 19> ControlKinds{{
    {"CONTROL", ControlStatement::Control, 0x50000000, 0, true},
    {"LTEXT", ControlStatement::LText, 0x50020000, StaticClass, true},
    {"RTEXT", ControlStatement::RText, 0x50020002, StaticClass, true},
    {"CTEXT", ControlStatement::CText, 0x50020001, StaticClass, true},
    {"PUSHBUTTON", ControlStatement::PushButton, 0x50010000, ButtonClass, true},
    {"DEFPUSHBUTTON", ControlStatement::DefPushButton, 0x50010001, ButtonClass, true},
    {"PUSHBOX", ControlStatement::PushBox, 0x5001000A, ButtonClass, true},
    {"CHECKBOX", ControlStatement::CheckBox, 0x50010002, ButtonClass, true},
    {"AUTOCHECKBOX", ControlStatement::AutoCheckBox, 0x50010003, ButtonClass, true},
    {"STATE3", ControlStatement::State3, 0x50010005, ButtonClass, true},
    {"AUTO3STATE", ControlStatement::Auto3State, 0x50010006, ButtonClass, true},
    {"RADIOBUTTON", ControlStatement::RadioButton, 0x50000004, ButtonClass, true},
    {"AUTORADIOBUTTON", ControlStatement::AutoRadioButton, 0x50000009, ButtonClass, true},
    {"GROUPBOX", ControlStatement::GroupBox, 0x50000007, ButtonClass, true},
    {"EDITTEXT", ControlStatement::EditText, 0x50810000, EditClass, false},
    {"COMBOBOX", ControlStatement::ComboBox, 0x50000000, ComboBoxClass, false},
    {"LISTBOX", ControlStatement::ListBox, 0x50800001, ListBoxClass, false},
    {"SCROLLBAR", ControlStatement::ScrollBar, 0x50000000, ScrollBarClass, false},
    {"ICON", ControlStatement::Icon, 0x50000003, StaticClass, true},
}};

// Class names a CONTROL statement may write without quotes.
struct PredefinedClass {
  std::string_view name;
  std::uint16_t ordinal;
};
constexpr std::array<PredefinedClass, 6> PredefinedClasses{{
    {"BUTTON", ButtonClass},
    {"EDIT", EditClass},
    {"STATIC", StaticClass},
    {"LISTBOX", ListBoxClass},
    {"SCROLLBAR", ScrollBarClass},
    {"COMBOBOX", ComboBoxClass},
}};

// MENU item options and the MF_ bits they stand for.
struct MenuOption {
  std::string_view word;
  std::uint32_t flag;
};
constexpr std::array<MenuOption, 6> MenuOptions{{
    {"CHECKED", 0x0008},
    {"GRAYED", 0x0001},
    {"HELP", 0x4000},
    {"INACTIVE", 0x0002},
    {"MENUBARBREAK", 0x0020},
    {"MENUBREAK", 0x0040},
}};

constexpr std::array<std::string_view, 9> MemoryFlags{
    "PRELOAD", "LOADONCALL", "FIXED", "MOVEABLE", "DISCARDABLE", "PURE", "IMPURE", "SHARED", "NONSHARED",
};

// Resources whose statement names a file.
constexpr std::array<std::string_view, 10> FileResources{
    "ICON", "BITMAP", "CURSOR", "FONT", "HTML", "MESSAGETABLE", "ANICURSOR", "ANIICON", "PLUGPLAY", "VXD",
};

// Resources whose block follows some values of their own.
constexpr std::array<std::string_view, 5> BlockResources{
    "ACCELERATORS", "VERSIONINFO", "DLGINIT", "TOOLBAR", "DESIGNINFO",
};

// Identifiers that the old converters and most editors take as known without
// an include; other Windows constants used without one are warned about.
constexpr std::array<std::string_view, 12> StandardIdentifiers{
    "IDOK", "IDCANCEL", "IDABORT", "IDRETRY",    "IDIGNORE",   "IDYES",
    "IDNO", "IDCLOSE",  "IDHELP",  "IDTRYAGAIN", "IDCONTINUE", "IDC_STATIC",
};

// Words that start or end statements: an expression never takes one for an
// undefined name, so a missing value is reported where it is missing.
constexpr std::array<std::string_view, 16> StatementWords{
    "BEGIN",           "END",     "STYLE",    "EXSTYLE", "CAPTION",   "CLASS", "FONT",    "MENU", "LANGUAGE",
    "CHARACTERISTICS", "VERSION", "MENUITEM", "POPUP",   "SEPARATOR", "NOT",   "CONTROL",
};

template <std::size_t N>
bool IsOneOf(const Token& token, const std::array<std::string_view, N>& words) {
  return token.kind == TokenKind::Identifier &&
         std::any_of(words.begin(), words.end(), [&](std::string_view word) { return SameLetters(token.text, word); });
}

bool IsReservedWord(const Token& token) {
  return IsOneOf(token, StatementWords) ||
         std::any_of(ControlKinds.begin(), ControlKinds.end(),
                     [&](const ControlKind& kind) { return SameLetters(token.text, kind.keyword); });
}

// A Windows header's number used without an include.
std::optional<std::uint32_t> BuiltinNumber(std::string_view name) {
  const WindowsConstant* constant = FindWindowsConstant(name);
  if (constant == nullptr || !constant->text.empty())
    return std::nullopt;
  return constant->value;
}

bool IsOther(const Token& token, std::string_view text) {
  return token.kind == TokenKind::Other && token.text == text;
}

// Two tokens of the file with nothing between them.
bool Touching(const Token& before, const Token& after) {
  return before.macro.empty() && after.macro.empty() && before.location.file == after.location.file &&
         before.location.offset + before.text.size() == after.location.offset;
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

class ScriptParser {
 public:
  ScriptParser(Preprocessor& preprocessor, const SourceFiles& sourceFiles, Diagnostics& diagnosticList)
      : tokens(preprocessor), files(sourceFiles), diagnostics(diagnosticList) {}

  bool Run(ResourceScript& resources);

 private:
  // Tokens.
  const Token& Peek(std::size_t ahead = 0);
  const Token& Take();
  bool TakePunctuator(std::string_view text);
  bool Expect(std::string_view punctuator, std::string_view what);
  bool AtEnd() { return Peek().kind == TokenKind::End; }

  // Reports.
  bool Fail(const Token& at, const std::string& message);
  bool FailExpected(std::string_view expected);
  void Warning(const Token& at, const std::string& message);
  static std::string Describe(const Token& token);

  // Values.
  std::optional<Value> Expression(int depth = 0);
  std::optional<Value> Style(std::string_view what);
  std::optional<std::int32_t> Coordinate(std::string_view what);
  bool Separator(std::string_view what);
  std::optional<Value> Term(int depth);
  std::optional<Value> Unary(int depth);
  std::optional<Value> Primary(int depth);
  std::optional<std::uint32_t> Integer(std::string_view what);
  std::optional<NumberField> Number(std::string_view what);
  std::optional<NameOrOrdinal> NameOrNumber(std::string_view what);
  NameOrOrdinal DottedName();
  std::optional<std::string> Text(std::string_view what);
  bool StartsValue(const Token& token);
  void SkipMemoryFlags();

  // Resources.
  bool Resource(ResourceScript& resources);
  bool ReadLanguage(Language& language);
  bool SkipResource(Token type);
  bool SkipBlock();
  void SkipFileName(const Token& type);
  bool ReadDialog(Dialog& dialog);
  bool ReadDialogStatement(Dialog& dialog, bool& isStatement);
  bool ReadFont(Dialog& dialog);
  bool ReadControl(Dialog& dialog);
  bool ReadControlData(Control& control);
  bool ReadMenu(Menu& menu);
  bool ReadMenuItems(Menu& menu);
  bool ReadMenuItem(Menu& menu, const Token& keyword, int level, bool& opensPopup);
  bool ReadExtendedFields(MenuItem& item, bool popup, const Token& keyword);
  bool ReadMenuOptions(MenuItem& item);

  Preprocessor& tokens;
  const SourceFiles& files;
  Diagnostics& diagnostics;
  std::array<Token, 4> lookahead;
  std::size_t lookaheadStart = 0;
  std::size_t lookaheadCount = 0;
  Token lastTaken;
  std::size_t taken = 0;  // tokens taken so far
  bool failed = false;
  Language currentLanguage{9, 1};  // LANG_ENGLISH, SUBLANG_ENGLISH_US, as llvm-rc takes without LANGUAGE
  // The first identifier of the expression being read that nothing defines.
  std::string undefinedName;
  Token undefinedToken;
};

const Token& ScriptParser::Peek(std::size_t ahead) {
  while (lookaheadCount <= ahead) {
    Token& slot = lookahead[(lookaheadStart + lookaheadCount) % lookahead.size()];
    if (failed) {
      slot = Token{};
    } else {
      slot = tokens.Next();
      failed = slot.kind == TokenKind::End && tokens.Failed();
    }
    ++lookaheadCount;
  }
  return lookahead[(lookaheadStart + ahead) % lookahead.size()];
}

// The token stays valid until the next Take: callers that keep it longer copy it.
const Token& ScriptParser::Take() {
  const Token& token = Peek();
  if (token.kind == TokenKind::End)
    return token;
  lastTaken = token;
  lookaheadStart = (lookaheadStart + 1) % lookahead.size();
  --lookaheadCount;
  ++taken;
  return lastTaken;
}

bool ScriptParser::TakePunctuator(std::string_view text) {
  if (!IsPunctuator(Peek(), text))
    return false;
  Take();
  return true;
}

bool ScriptParser::Expect(std::string_view punctuator, std::string_view what) {
  if (TakePunctuator(punctuator))
    return true;
  return FailExpected("'" + std::string(punctuator) + "' " + std::string(what));
}

std::string ScriptParser::Describe(const Token& token) {
  if (token.kind == TokenKind::End)
    return "the end of the script";
  return Quoted(token.text);
}

bool ScriptParser::Fail(const Token& at, const std::string& message) {
  if (!failed || !HasErrors(diagnostics))
    diagnostics.push_back(
        DiagnosticAt(files, at.kind == TokenKind::End ? lastTaken.location : at.location, Severity::Error, message));
  failed = true;
  return false;
}

bool ScriptParser::FailExpected(std::string_view expected) {
  return Fail(Peek(), "expected " + std::string(expected) + ", found " + Describe(Peek()));
}

void ScriptParser::Warning(const Token& at, const std::string& message) {
  if (failed)
    return;  // after an error, what follows is no longer read as written
  diagnostics.push_back(DiagnosticAt(files, at.location, Severity::Warning, message));
}

// Expressions as the compilers read them: unary - ~ NOT bind closest, then
// * and /, then + - | & from left to right with no precedence among them.
std::optional<Value> ScriptParser::Expression(int depth) {
  std::optional<Value> result = Term(depth);
  while (result) {
    const Token& op = Peek();
    if (!IsPunctuator(op, "+") && !IsPunctuator(op, "-") && !IsPunctuator(op, "|") && !IsPunctuator(op, "&"))
      break;
    const char sign = Take().text[0];
    const std::optional<Value> right = Term(depth);
    if (!right)
      return std::nullopt;
    result->value &= ~right->notMask;
    result->notMask |= right->notMask;
    if (sign == '+')
      result->value += right->value;
    else if (sign == '-')
      result->value -= right->value;
    else if (sign == '|')
      result->value |= right->value;
    else
      result->value &= right->value;
  }
  return result;
}

std::optional<Value> ScriptParser::Term(int depth) {
  std::optional<Value> result = Unary(depth);
  while (result && (IsPunctuator(Peek(), "*") || IsPunctuator(Peek(), "/"))) {
    const Token op = Take();
    const std::optional<Value> right = Unary(depth);
    if (!right)
      return std::nullopt;
    result->value &= ~right->notMask;
    result->notMask |= right->notMask;
    if (op.text == "*") {
      result->value *= right->value;
    } else if (right->value == 0) {
      Fail(op, "division by zero");
      return std::nullopt;
    } else {
      result->value /= right->value;
    }
  }
  return result;
}

std::optional<Value> ScriptParser::Unary(int depth) {
  if (depth > MaxNesting) {
    Fail(Peek(), "the expression is nested too deeply");
    return std::nullopt;
  }
  const Token& token = Peek();
  if (IsPunctuator(token, "-") || IsPunctuator(token, "~") || IsWord(token, "NOT")) {
    const Token op = Take();
    std::optional<Value> operand = Unary(depth + 1);
    if (!operand)
      return std::nullopt;
    if (op.text == "-")
      return Value{0u - operand->value, operand->notMask};
    if (op.text == "~")
      return Value{~operand->value, 0};
    return Value{0, operand->value};
  }
  return Primary(depth);
}

std::optional<Value> ScriptParser::Primary(int depth) {
  const Token& token = Peek();
  if (token.kind == TokenKind::Number) {
    const Token number = Take();
    if (const std::optional<NumberLiteral> literal = ReadNumberLiteral(number.text))
      return Value{literal->value, 0};
    Fail(number, Quoted(number.text) + " is not a number");
    return std::nullopt;
  }
  if (IsPunctuator(token, "(")) {
    Take();
    if (depth > MaxNesting) {
      Fail(token, "the expression is nested too deeply");
      return std::nullopt;
    }
    std::optional<Value> inner = Expression(depth + 1);
    if (!inner || !Expect(")", "to close the parenthesis"))
      return std::nullopt;
    return inner;
  }
  if (token.kind == TokenKind::Identifier && !IsReservedWord(token)) {
    const Token name = Take();
    const std::string spelled(name.text);
    if (const std::optional<std::uint32_t> builtin = BuiltinNumber(spelled)) {
      if (!IsOneOf(name, StandardIdentifiers))
        Warning(name, spelled + " is not defined; the Windows headers' value is used (include <windows.h>)");
      return Value{*builtin, 0};
    }
    if (undefinedName.empty()) {
      undefinedName = spelled;
      undefinedToken = name;
    }
    return Value{0, 0};
  }
  FailExpected("a number, '(', '-', '~' or NOT");
  return std::nullopt;
}

bool ScriptParser::StartsValue(const Token& token) {
  return token.kind == TokenKind::Number ||
         (token.kind == TokenKind::Identifier && (!IsReservedWord(token) || IsWord(token, "NOT"))) ||
         IsPunctuator(token, "(") || IsPunctuator(token, "-") || IsPunctuator(token, "~");
}

std::optional<NumberField> ScriptParser::Number(std::string_view what) {
  const Token first = Peek();
  const std::size_t start = taken;
  undefinedName.clear();
  const std::optional<Value> value = Expression();
  if (!value)
    return std::nullopt;
  NumberField field;
  field.value = value->value;
  if (first.startsExpansion && lastTaken.endsExpansion && first.macro == lastTaken.macro)
    field.symbol.assign(first.macro);
  if (undefinedName.empty())
    return field;
  if (taken == start + 1) {
    field.symbol = undefinedName;
    Warning(first, undefinedName + " has no #define; " + std::string(what) + " 0");
  } else {
    Warning(first, undefinedName + " has no #define; it counts as 0");
  }
  return field;
}

std::optional<std::uint32_t> ScriptParser::Integer(std::string_view what) {
  const std::optional<NumberField> field = Number(what);
  if (!field)
    return std::nullopt;
  return field->value;
}

// A style expression: a name without a value counts as 0, never silently.
std::optional<Value> ScriptParser::Style(std::string_view what) {
  undefinedName.clear();
  std::optional<Value> value = Expression();
  if (value && !undefinedName.empty())
    Warning(undefinedToken, undefinedName + " has no #define; it counts as 0 in the " + std::string(what));
  return value;
}

// A coordinate or size: the template stores 16 bits of it, as the Windows
// compiler does (65535 is -1).
std::optional<std::int32_t> ScriptParser::Coordinate(std::string_view what) {
  const Token first = Peek();
  const std::optional<std::uint32_t> value = Integer(what);
  if (!value)
    return std::nullopt;
  const auto stored = static_cast<std::int16_t>(*value & 0xFFFF);
  if (static_cast<std::int32_t>(*value) != stored)
    Warning(first, std::string(what) + " " + std::to_string(static_cast<std::int32_t>(*value)) +
                       " does not fit the template's 16-bit field; " + std::to_string(stored) + " is stored");
  return stored;
}

// The comma between two fields that both must be there: the Windows compiler
// reads a missing one as written.
bool ScriptParser::Separator(std::string_view what) {
  if (TakePunctuator(","))
    return true;
  if (StartsValue(Peek()) || Peek().kind == TokenKind::String)
    return true;
  return FailExpected("',' " + std::string(what));
}

std::optional<std::string> ScriptParser::Text(std::string_view what) {
  if (Peek().kind != TokenKind::String) {
    FailExpected("a quoted text for " + std::string(what));
    return std::nullopt;
  }
  std::string text;
  // Adjacent texts join into one, as C joins them.
  while (Peek().kind == TokenKind::String) {
    const Token token = Take();
    StringLiteral literal = ReadStringLiteral(token.text, token.codePage);
    if (literal.unreadable > 0)
      Warning(token, "the text holds bytes that code page " + std::to_string(token.codePage) +
                         " does not define; each became U+FFFD");
    text += literal.text;
  }
  return text;
}

std::optional<NameOrOrdinal> ScriptParser::NameOrNumber(std::string_view what) {
  NameOrOrdinal name;
  const Token& token = Peek();
  if (token.kind == TokenKind::String) {
    std::optional<std::string> text = Text(what);
    if (!text)
      return std::nullopt;
    name.text = std::move(*text);
    return name;
  }
  if (token.kind == TokenKind::Identifier && !IsWord(token, "NOT")) {
    const Token word = Take();
    if (const std::optional<std::uint32_t> builtin = BuiltinNumber(word.text)) {
      name.isOrdinal = true;
      name.ordinal = *builtin;
      name.symbol.assign(word.text);
      return name;
    }
    name.text.assign(word.text);
    return name;
  }
  if (!StartsValue(token)) {
    FailExpected("a name or a number for " + std::string(what));
    return std::nullopt;
  }
  const std::optional<NumberField> number = Number(what);
  if (!number)
    return std::nullopt;
  name.isOrdinal = true;
  name.ordinal = number->value;
  name.symbol = number->symbol;
  return name;
}

// A resource's name with dots in it, FOLDER.GIF: one name to the Windows
// compiler, which reads a name to the next blank.
NameOrOrdinal ScriptParser::DottedName() {
  NameOrOrdinal name;
  name.text.assign(Take().text);
  while ((Peek().kind == TokenKind::Identifier || Peek().kind == TokenKind::Number || IsOther(Peek(), ".")) &&
         Touching(lastTaken, Peek()))
    name.text.append(Take().text);
  return name;
}

void ScriptParser::SkipMemoryFlags() {
  while (IsOneOf(Peek(), MemoryFlags))
    Take();
}

bool ScriptParser::Run(ResourceScript& resources) {
  while (!failed && !AtEnd()) {
    if (!Resource(resources))
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

bool ScriptParser::Resource(ResourceScript& resources) {
  const Token& first = Peek();
  if (IsWord(first, "LANGUAGE")) {
    Take();
    return ReadLanguage(currentLanguage);
  }
  if (IsWord(first, "STRINGTABLE"))
    return SkipResource(Take());
  if (IsBlockBegin(first) || IsBlockEnd(first))
    return Fail(first, Quoted(first.text) + " stands outside any resource");
  if (first.kind != TokenKind::Identifier && first.kind != TokenKind::Number && first.kind != TokenKind::String &&
      !(first.startsExpansion && StartsValue(first)))
    return FailExpected("a resource's name");
  const Token nameToken = first;
  std::optional<NameOrOrdinal> name =
      IsOther(Peek(1), ".") && Touching(first, Peek(1)) ? DottedName() : NameOrNumber("the resource's name");
  if (!name)
    return false;
  const Token& type = Peek();
  if (type.kind != TokenKind::Identifier && type.kind != TokenKind::Number && type.kind != TokenKind::String)
    return FailExpected("the type of resource " + Quoted(nameToken.text));
  if (IsWord(type, "DIALOG") || IsWord(type, "DIALOGEX")) {
    Dialog dialog;
    dialog.extended = IsWord(Take(), "DIALOGEX");
    dialog.location = nameToken.location;
    dialog.name = std::move(*name);
    dialog.language = currentLanguage;
    if (!ReadDialog(dialog))
      return false;
    resources.order.push_back(ResourceEntry{ResourceKind::Dialog, resources.dialogs.size()});
    resources.dialogs.push_back(std::move(dialog));
    return true;
  }
  if (IsWord(type, "MENU") || IsWord(type, "MENUEX")) {
    Menu menu;
    menu.extended = IsWord(Take(), "MENUEX");
    menu.location = nameToken.location;
    menu.name = std::move(*name);
    menu.language = currentLanguage;
    if (!ReadMenu(menu))
      return false;
    resources.order.push_back(ResourceEntry{ResourceKind::Menu, resources.menus.size()});
    resources.menus.push_back(std::move(menu));
    return true;
  }
  return SkipResource(Take());
}

bool ScriptParser::SkipBlock() {
  const Token begin = Take();
  int depth = 1;
  while (depth > 0) {
    const Token token = Take();
    if (token.kind == TokenKind::End) {
      if (failed)
        return false;
      Warning(begin, "this BEGIN has no END; the block runs to the end of the script");
      return true;
    }
    if (IsBlockBegin(token))
      ++depth;
    else if (IsBlockEnd(token))
      --depth;
  }
  return true;
}

void ScriptParser::SkipFileName(const Token& type) {
  if (Peek().kind == TokenKind::String) {
    while (Peek().kind == TokenKind::String)
      Take();
    return;
  }
  // An unquoted file name: its pieces stand on the type's line.
  Token last = type;
  while (!AtEnd() && Peek().location.file == last.location.file && Peek().location.line == last.location.line)
    last = Take();
}

bool ScriptParser::SkipResource(Token type) {
  SkipMemoryFlags();
  if (IsOneOf(type, FileResources) && !IsBlockBegin(Peek())) {
    SkipFileName(type);
    return true;
  }
  if (IsOneOf(type, BlockResources) || IsWord(type, "STRINGTABLE")) {
    while (!AtEnd() && !IsBlockBegin(Peek()))
      Take();
    if (AtEnd()) {
      if (failed)
        return false;
      Warning(type, std::string(type.text) + " has no BEGIN");
      return true;
    }
    return SkipBlock();
  }
  // RCDATA and user-defined types: a block of data or a file.
  if (IsBlockBegin(Peek()))
    return SkipBlock();
  if (AtEnd())
    return !failed;
  SkipFileName(type);
  return true;
}

bool ScriptParser::ReadDialog(Dialog& dialog) {
  const Token keyword = lastTaken;
  const std::string kind = dialog.extended ? "DIALOGEX" : "DIALOG";
  SkipMemoryFlags();
  std::int32_t* const geometry[] = {&dialog.x, &dialog.y, &dialog.width, &dialog.height};
  const char* const names[] = {"x", "y", "width", "height"};
  for (std::size_t i = 0; i < 4; ++i) {
    if (i > 0 && !Separator(std::string("before the ") + names[i] + " of the " + kind))
      return false;
    const std::optional<std::int32_t> value = Coordinate(names[i]);
    if (!value)
      return false;
    *geometry[i] = *value;
  }
  if (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> help = Integer("help identifier");
    if (!help)
      return false;
    dialog.helpId = *help;
    if (!dialog.extended)
      Warning(lastTaken, "a DIALOG has no help identifier; it is ignored");
  }
  for (;;) {
    if (IsBlockBegin(Peek()))
      break;
    bool isStatement = false;
    if (!ReadDialogStatement(dialog, isStatement))
      return false;
    if (!isStatement) {
      if (!AtEnd() || failed)
        return FailExpected("BEGIN or an optional statement of the " + kind);
      Warning(keyword, kind + " has no BEGIN; the dialog has no controls");
      return true;
    }
  }
  const Token begin = Take();
  for (;;) {
    if (IsBlockEnd(Peek())) {
      Take();
      return true;
    }
    if (AtEnd()) {
      if (failed)
        return false;
      Warning(begin, "the BEGIN of the " + kind + " has no END; controls are read to the end of the script");
      return true;
    }
    if (!ReadControl(dialog))
      return false;
  }
}

bool ScriptParser::ReadDialogStatement(Dialog& dialog, bool& isStatement) {
  const Token& word = Peek();
  isStatement = true;
  if (IsWord(word, "STYLE")) {
    Take();
    const std::optional<Value> style = Style("STYLE");
    if (!style)
      return false;
    dialog.style = StyleValue{style->value, style->notMask};
    return true;
  }
  if (IsWord(word, "EXSTYLE")) {
    Take();
    const std::optional<std::uint32_t> exStyle = Integer("EXSTYLE");
    if (!exStyle)
      return false;
    dialog.exStyle = *exStyle;
    return true;
  }
  if (IsWord(word, "CAPTION")) {
    Take();
    std::optional<std::string> caption = Text("CAPTION");
    if (!caption)
      return false;
    dialog.caption = std::move(*caption);
    return true;
  }
  if (IsWord(word, "CLASS") || IsWord(word, "MENU")) {
    const bool isClass = IsWord(Take(), "CLASS");
    std::optional<NameOrOrdinal> name = NameOrNumber(isClass ? "CLASS" : "MENU");
    if (!name)
      return false;
    (isClass ? dialog.className : dialog.menu) = std::move(*name);
    return true;
  }
  if (IsWord(word, "FONT")) {
    Take();
    return ReadFont(dialog);
  }
  if (IsWord(word, "LANGUAGE")) {
    Take();
    return ReadLanguage(dialog.language);
  }
  if (IsWord(word, "CHARACTERISTICS") || IsWord(word, "VERSION")) {
    const bool characteristics = IsWord(Take(), "CHARACTERISTICS");
    const std::optional<std::uint32_t> value = Integer(characteristics ? "CHARACTERISTICS" : "VERSION");
    if (!value)
      return false;
    (characteristics ? dialog.characteristics : dialog.version) = *value;
    return true;
  }
  isStatement = false;
  return true;
}

bool ScriptParser::ReadFont(Dialog& dialog) {
  const Token keyword = lastTaken;
  Font font;
  const std::optional<std::uint32_t> size = Integer("FONT point size");
  if (!size || !Expect(",", "between the FONT's point size and face"))
    return false;
  std::optional<std::string> face = Text("the FONT's face");
  if (!face)
    return false;
  if (*size > 0xFFFF)
    Warning(keyword, "FONT point size " + std::to_string(*size) + " does not fit its 16-bit field; " +
                         std::to_string(*size & 0xFFFF) + " is used");
  font.pointSize = static_cast<std::uint16_t>(*size);
  font.face = std::move(*face);
  font.valueCount = 2;
  while (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> value = Integer("FONT value");
    if (!value)
      return false;
    ++font.valueCount;
    if (!dialog.extended) {
      if (font.valueCount == 3)
        Warning(keyword, "the FONT of a DIALOG has a point size and a face only; the rest is ignored");
    } else if (font.valueCount == 3) {
      font.weight = static_cast<std::uint16_t>(*value);
    } else if (font.valueCount == 4) {
      font.italic = (*value & 0xFF) != 0;
    } else if (font.valueCount == 5) {
      font.charset = static_cast<std::uint8_t>(*value);
    } else if (font.valueCount == 6) {
      Warning(keyword, "FONT has more than five values; the rest is ignored");
    }
  }
  if (font.valueCount > 5)
    font.valueCount = 5;
  dialog.font = std::move(font);
  return true;
}

bool ScriptParser::ReadControl(Dialog& dialog) {
  const Token keyword = Peek();
  if (keyword.kind != TokenKind::Identifier)
    return FailExpected("a control statement or END");
  const auto kind = std::find_if(ControlKinds.begin(), ControlKinds.end(),
                                 [&](const ControlKind& entry) { return SameLetters(keyword.text, entry.keyword); });
  if (kind == ControlKinds.end())
    return Fail(keyword, Quoted(keyword.text) + " is no statement of a dialog's block");
  Take();
  Control control;
  control.location = keyword.location;
  control.statement = kind->statement;
  while (TakePunctuator(",")) {  // a comma too many after the keyword is skipped
  }
  if (kind->hasText) {
    std::optional<NameOrOrdinal> text = NameOrNumber("the control's text");
    if (!text || !Separator("after the control's text"))
      return false;
    control.text = std::move(*text);
  }
  std::optional<NumberField> id = Number("identifier");
  if (!id)
    return false;
  control.id = std::move(*id);
  if (!Separator("after the control's identifier"))
    return false;

  std::optional<Value> style;
  if (kind->statement == ControlStatement::Control) {
    const Token& classToken = Peek();
    const WindowsConstant* builtinClass =
        classToken.kind == TokenKind::Identifier ? FindWindowsConstant(classToken.text) : nullptr;
    if (builtinClass != nullptr && !builtinClass->text.empty()) {
      Take();
      control.className.text.assign(builtinClass->text);
      control.className.symbol.assign(classToken.text);
    } else if (classToken.kind == TokenKind::Identifier) {
      const Token word = Take();
      const auto predefined =
          std::find_if(PredefinedClasses.begin(), PredefinedClasses.end(),
                       [&](const PredefinedClass& entry) { return SameLetters(word.text, entry.name); });
      if (predefined != PredefinedClasses.end()) {
        control.className.isOrdinal = true;
        control.className.ordinal = predefined->ordinal;
      } else {
        control.className.text.assign(word.text);
        Warning(word, "class " + std::string(word.text) + " is not a quoted text; it is taken as written");
      }
    } else {
      std::optional<NameOrOrdinal> className = NameOrNumber("the control's class");
      if (!className)
        return false;
      control.className = std::move(*className);
    }
    if (!Separator("after the control's class"))
      return false;
    style = Style("style");
    if (!style || !Separator("after the control's style"))
      return false;
  } else {
    control.className.isOrdinal = true;
    control.className.ordinal = kind->classOrdinal;
  }

  std::int32_t* const geometry[] = {&control.x, &control.y, &control.width, &control.height};
  const char* const names[] = {"x", "y", "width", "height"};
  for (std::size_t i = 0; i < 4; ++i) {
    if (i > 0) {
      // An ICON may leave out its width and height.
      if (i == 2 && kind->statement == ControlStatement::Icon && !IsPunctuator(Peek(), ","))
        break;
      if (!Separator(std::string("before the control's ") + names[i]))
        return false;
    }
    const std::optional<std::int32_t> value = Coordinate(names[i]);
    if (!value)
      return false;
    *geometry[i] = *value;
  }
  if (kind->statement != ControlStatement::Control && IsPunctuator(Peek(), ",")) {
    Take();
    style = Style("style");
    if (!style)
      return false;
  }
  if (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> exStyle = Integer("extended style");
    if (!exStyle)
      return false;
    control.exStyle = *exStyle;
  }
  if (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> help = Integer("help identifier");
    if (!help)
      return false;
    control.helpId = *help;
  }
  control.style = style ? StyleValue{style->value, style->notMask}.Apply(kind->defaultStyle) : kind->defaultStyle;
  if (IsBlockBegin(Peek()) && !ReadControlData(control))
    return false;
  dialog.controls.push_back(std::move(control));
  return true;
}

// A control's creation data: 16-bit numbers and texts in a block of its own.
bool ScriptParser::ReadControlData(Control& control) {
  Take();
  while (!IsBlockEnd(Peek())) {
    if (AtEnd())
      return Fail(Peek(), "the control's data block has no END");
    if (TakePunctuator(","))
      continue;
    if (Peek().kind == TokenKind::String) {
      std::optional<std::string> text = Text("control data");
      if (!text)
        return false;
      control.data.insert(control.data.end(), text->begin(), text->end());
      continue;
    }
    const std::optional<std::uint32_t> value = Integer("control data");
    if (!value)
      return false;
    control.data.push_back(static_cast<std::uint8_t>(*value & 0xFF));
    control.data.push_back(static_cast<std::uint8_t>((*value >> 8) & 0xFF));
  }
  Take();
  return true;
}

bool ScriptParser::ReadMenu(Menu& menu) {
  const Token keyword = lastTaken;
  SkipMemoryFlags();
  for (;;) {
    const Token& word = Peek();
    if (IsBlockBegin(word))
      break;
    if (IsWord(word, "LANGUAGE")) {
      Take();
      if (!ReadLanguage(menu.language))
        return false;
    } else if (IsWord(word, "CHARACTERISTICS") || IsWord(word, "VERSION")) {
      const bool characteristics = IsWord(Take(), "CHARACTERISTICS");
      const std::optional<std::uint32_t> value = Integer(characteristics ? "CHARACTERISTICS" : "VERSION");
      if (!value)
        return false;
      (characteristics ? menu.characteristics : menu.version) = *value;
    } else if (AtEnd() && !failed) {
      Warning(keyword, std::string(menu.extended ? "MENUEX" : "MENU") + " has no BEGIN; the menu has no items");
      return true;
    } else {
      return FailExpected("BEGIN or an optional statement of the menu");
    }
  }
  return ReadMenuItems(menu);
}

// Reads the menu's block with a stack of open pop-ups rather than recursion.
bool ScriptParser::ReadMenuItems(Menu& menu) {
  struct Level {
    Token begin;
    std::size_t lastItem = static_cast<std::size_t>(-1);
  };
  std::vector<Level> open;
  open.push_back(Level{Take()});
  while (!open.empty()) {
    if (IsBlockEnd(Peek())) {
      Take();
      if (open.back().lastItem != static_cast<std::size_t>(-1))
        menu.items[open.back().lastItem].lastInLevel = true;
      open.pop_back();
      continue;
    }
    if (AtEnd()) {
      if (failed)
        return false;
      Warning(open.front().begin,
              std::string("the menu's BEGIN has no closing END; items are read to the end of the script"));
      for (const Level& level : open) {
        if (level.lastItem != static_cast<std::size_t>(-1))
          menu.items[level.lastItem].lastInLevel = true;
      }
      return true;
    }
    const Token keyword = Peek();
    if (!IsWord(keyword, "MENUITEM") && !IsWord(keyword, "POPUP"))
      return FailExpected("MENUITEM, POPUP or END");
    Take();
    const int level = static_cast<int>(open.size()) - 1;
    bool opensPopup = false;
    if (!ReadMenuItem(menu, keyword, level, opensPopup))
      return false;
    open.back().lastItem = menu.items.size() - 1;
    if (!opensPopup)
      continue;
    if (IsBlockBegin(Peek())) {
      if (open.size() > MaxNesting)
        return Fail(Peek(), "pop-ups are nested too deeply");
      open.push_back(Level{Take()});
    } else {
      Warning(keyword, "POPUP has no BEGIN; the pop-up has no items");
    }
  }
  return true;
}

bool ScriptParser::ReadMenuItem(Menu& menu, const Token& keyword, int level, bool& opensPopup) {
  MenuItem item;
  item.location = keyword.location;
  item.level = level;
  const bool popup = IsWord(keyword, "POPUP");
  item.kind = popup ? MenuItemKind::Popup : MenuItemKind::Item;
  opensPopup = popup;
  if (!popup && IsWord(Peek(), "SEPARATOR")) {
    Take();
    item.kind = MenuItemKind::Separator;
    if (menu.extended)
      item.type = 0x800;  // MFT_SEPARATOR
    menu.items.push_back(std::move(item));
    return true;
  }
  std::optional<std::string> text = Text("the item's caption");
  if (!text)
    return false;
  item.text = std::move(*text);
  const bool read = menu.extended ? ReadExtendedFields(item, popup, keyword) : ReadMenuOptions(item);
  if (!read)
    return false;
  menu.items.push_back(std::move(item));
  return true;
}

// MENUEX fields: [, [id] [, [type] [, [state] [, helpId]]]], each may be left empty.
bool ScriptParser::ReadExtendedFields(MenuItem& item, bool popup, const Token& keyword) {
  const std::size_t fieldCount = popup ? 4 : 3;
  const char* const names[] = {"identifier", "type", "state", "help identifier"};
  for (std::size_t field = 0; IsPunctuator(Peek(), ","); ++field) {
    Take();
    if (!StartsValue(Peek()))
      continue;
    if (field >= fieldCount) {
      const std::optional<std::uint32_t> ignored = Integer("value");
      if (!ignored)
        return false;
      if (field == fieldCount)
        Warning(keyword, std::string(keyword.text) + " takes at most " + std::to_string(fieldCount) +
                             " values after its text; the rest is ignored");
      continue;
    }
    if (field == 0) {
      std::optional<NumberField> id = Number(names[field]);
      if (!id)
        return false;
      item.id = std::move(*id);
      continue;
    }
    const std::optional<std::uint32_t> value = Integer(names[field]);
    if (!value)
      return false;
    (field == 1 ? item.type : field == 2 ? item.state : item.helpId) = *value;
  }
  return true;
}

// MENU: MENUITEM text, id [, option]... and POPUP text [, option]...
bool ScriptParser::ReadMenuOptions(MenuItem& item) {
  if (item.kind == MenuItemKind::Item) {
    if (!Separator("before the item's identifier"))
      return false;
    std::optional<NumberField> id = Number("identifier");
    if (!id)
      return false;
    item.id = std::move(*id);
  }
  for (;;) {
    const bool comma = TakePunctuator(",");
    const Token& word = Peek();
    const auto option = std::find_if(MenuOptions.begin(), MenuOptions.end(), [&](const MenuOption& entry) {
      return word.kind == TokenKind::Identifier && SameLetters(word.text, entry.word);
    });
    if (option == MenuOptions.end()) {
      if (comma)
        return FailExpected("a menu option (CHECKED, GRAYED, HELP, INACTIVE, MENUBARBREAK, MENUBREAK)");
      return true;
    }
    Take();
    item.type |= option->flag;
  }
}

}  // namespace

bool ParseResourceScript(Preprocessor& tokens, const SourceFiles& files, ResourceScript& resources,
                         Diagnostics& diagnostics) {
  return ScriptParser(tokens, files, diagnostics).Run(resources);
}

}  // namespace trellane
