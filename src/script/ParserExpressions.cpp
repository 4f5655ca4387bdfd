// Values as the compilers read them: numbers, names and texts, and the
// expressions of numbers and names.
#include <string>
#include <utility>

#include "script/Literals.h"
#include "script/ScriptParser.h"
#include "script/WindowsHeaders.h"

namespace trellane::parser {

// A Windows header's number used without an include.
std::optional<std::uint32_t> BuiltinNumber(std::string_view name) {
  const WindowsConstant* constant = FindWindowsConstant(name);
  if (constant == nullptr || !constant->text.empty())
    return std::nullopt;
  return constant->value;
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
    const Token& op = Take();
    const bool multiply = op.text == "*";
    const SourceLocation at = op.location;  // the operand's tokens take the operator's slot
    const std::optional<Value> right = Unary(depth);
    if (!right)
      return std::nullopt;
    result->value &= ~right->notMask;
    result->notMask |= right->notMask;
    if (multiply) {
      result->value *= right->value;
    } else if (right->value == 0) {
      FailAt(at, "division by zero");
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
  if (IsPunctuator(token, "-") || IsPunctuator(token, "~") || token.keyword == Keyword::Not) {
    const char op = token.keyword == Keyword::Not ? '!' : token.text[0];
    Take();
    std::optional<Value> operand = Unary(depth + 1);
    if (!operand)
      return std::nullopt;
    if (op == '-')
      return Value{0u - operand->value, operand->notMask};
    if (op == '~')
      return Value{~operand->value, 0};
    return Value{0, operand->value};
  }
  return Primary(depth);
}

std::optional<Value> ScriptParser::Primary(int depth) {
  const Token& token = Peek();
  if (token.kind == TokenKind::Number) {
    const Token& number = Take();
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
  if (token.kind == TokenKind::Identifier && !IsReservedWord(token.keyword)) {
    const Token& name = Take();
    if (const std::optional<std::uint32_t> builtin = BuiltinNumber(name.text)) {
      if (!IsStandardIdentifier(name.text))
        Warning(name,
                std::string(name.text) + " is not defined; the Windows headers' value is used (include <windows.h>)");
      return Value{*builtin, 0};
    }
    if (undefinedName.empty()) {
      undefinedName.assign(name.text);
      undefinedToken = name;
    }
    return Value{0, 0};
  }
  FailExpected("a number, '(', '-', '~' or NOT");
  return std::nullopt;
}

bool ScriptParser::StartsValue(const Token& token) {
  return token.kind == TokenKind::Number ||
         (token.kind == TokenKind::Identifier && (!IsReservedWord(token.keyword) || token.keyword == Keyword::Not)) ||
         IsPunctuator(token, "(") || IsPunctuator(token, "-") || IsPunctuator(token, "~");
}

// The symbol views the macro's name or undefinedName, which the next number
// read replaces.
std::optional<NumberField> ScriptParser::ReadNumber(std::string_view what) {
  // The expression's tokens take the first one's slot: keep what is needed of it.
  const Token& first = Peek();
  const SourceLocation at = first.location;
  const std::string_view macro = first.startsExpansion ? first.macro : std::string_view();
  const bool startsExpansion = first.startsExpansion;
  const std::size_t start = taken;
  undefinedName.clear();
  const std::optional<Value> value = Expression();
  if (!value)
    return std::nullopt;
  NumberField field;
  field.value = value->value;
  if (startsExpansion && LastTaken().endsExpansion && macro == LastTaken().macro)
    field.symbol = macro;
  if (undefinedName.empty())
    return field;
  if (taken == start + 1) {
    field.symbol = undefinedName;
    Warning(at, undefinedName + " has no #define; " + std::string(what) + " 0");
  } else {
    Warning(at, undefinedName + " has no #define; it counts as 0");
  }
  return field;
}

std::optional<NumberField> ScriptParser::Number(std::string_view what) {
  std::optional<NumberField> field = ReadNumber(what);
  if (field)
    field->symbol = Keep(field->symbol);
  return field;
}

std::optional<std::uint32_t> ScriptParser::Integer(std::string_view what) {
  const std::optional<NumberField> field = ReadNumber(what);
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
  const SourceLocation at = Peek().location;
  const std::optional<std::uint32_t> value = Integer(what);
  if (!value)
    return std::nullopt;
  const auto stored = static_cast<std::int16_t>(*value & 0xFFFF);
  if (static_cast<std::int32_t>(*value) != stored)
    Warning(at, std::string(what) + " " + std::to_string(static_cast<std::int32_t>(*value)) +
                    " does not fit the template's 16-bit field; " + std::to_string(stored) + " is stored");
  return stored;
}

// x, y, width and height of a dialog (owner DIALOG or DIALOGEX) or of a
// control (owner empty); sizeOptional: the list may end after y, as an
// ICON's may.
bool ScriptParser::ReadCoordinates(const std::array<std::int32_t*, 4>& fields, std::string_view owner,
                                   bool sizeOptional) {
  static constexpr std::array<std::string_view, 4> names{"x", "y", "width", "height"};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) {
      if (i == 2 && sizeOptional && !IsPunctuator(Peek(), ","))
        return true;
      const bool separated = owner.empty() ? Separator(Description("before the control's ", names[i]))
                                           : Separator(Description("before the ", names[i], " of the ", owner));
      if (!separated)
        return false;
    }
    const std::optional<std::int32_t> value = Coordinate(names[i]);
    if (!value)
      return false;
    *fields[i] = *value;
  }
  return true;
}

// The comma between two fields that both must be there: the Windows compiler
// reads a missing one as written.
bool ScriptParser::Separator(const Description& what) {
  if (TakePunctuator(","))
    return true;
  if (StartsValue(Peek()) || Peek().kind == TokenKind::String)
    return true;
  return FailExpected(Description("',' ", what.Text()));
}

std::optional<std::string_view> ScriptParser::JoinedText(std::string_view what) {
  if (Peek().kind != TokenKind::String) {
    FailExpected(Description("a quoted text for ", what));
    return std::nullopt;
  }
  joinedText.clear();
  // Adjacent texts join into one, as C joins them.
  while (Peek().kind == TokenKind::String) {
    const Token& token = Take();
    ReadStringLiteral(token.text, token.codePage, textLiteral);
    if (textLiteral.unreadable > 0)
      Warning(token, "the text holds bytes that code page " + std::to_string(token.codePage) +
                         " does not define; each became U+FFFD");
    joinedText += textLiteral.text;
  }
  return joinedText;
}

std::optional<std::string_view> ScriptParser::Text(std::string_view what) {
  const std::optional<std::string_view> text = JoinedText(what);
  if (!text)
    return std::nullopt;
  return Keep(*text);
}

std::optional<NameOrOrdinal> ScriptParser::NameOrNumber(std::string_view what) {
  const Token& token = Peek();
  if (token.kind == TokenKind::String) {
    const std::optional<std::string_view> text = Text(what);
    if (!text)
      return std::nullopt;
    return NameOrOrdinal::Name(*text);
  }
  if (token.kind == TokenKind::Identifier && token.keyword != Keyword::Not) {
    const Token& word = Take();
    if (const std::optional<std::uint32_t> builtin = BuiltinNumber(word.text))
      return NameOrOrdinal::Ordinal(*builtin, Keep(word.text));
    return NameOrOrdinal::Name(Keep(word.text));
  }
  if (!StartsValue(token)) {
    FailExpected(Description("a name or a number for ", what));
    return std::nullopt;
  }
  const std::optional<NumberField> number = Number(what);
  if (!number)
    return std::nullopt;
  return NameOrOrdinal::Ordinal(number->value, number->symbol);
}

// A resource's name with dots in it, FOLDER.GIF: one name to the Windows
// compiler, which reads a name to the next blank.
NameOrOrdinal ScriptParser::DottedName() {
  std::string name(Take().text);
  while ((Peek().kind == TokenKind::Identifier || Peek().kind == TokenKind::Number || IsOther(Peek(), ".")) &&
         Touching(LastTaken(), Peek()))
    name.append(Take().text);
  return NameOrOrdinal::Name(Keep(name));
}

}  // namespace trellane::parser
