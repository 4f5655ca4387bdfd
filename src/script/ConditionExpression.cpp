#include "script/ConditionExpression.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>

namespace trellane {
namespace {

constexpr std::uintmax_t SignBit = std::uintmax_t{1} << (std::numeric_limits<std::uintmax_t>::digits - 1);
constexpr int ValueBits = std::numeric_limits<std::uintmax_t>::digits;

// A value as C's preprocessor holds it: the bits of an intmax_t or a uintmax_t.
struct Value {
  std::uintmax_t bits = 0;
  bool isUnsigned = false;

  bool Negative() const { return !isUnsigned && (bits & SignBit) != 0; }
  bool IsZero() const { return bits == 0; }
};

Value Signed(std::uintmax_t bits) {
  return {bits, false};
}

Value Truth(bool value) {
  return {value ? 1u : 0u, false};
}

std::intmax_t AsSigned(std::uintmax_t bits) {
  // Two's complement without the implementation-defined conversion.
  return (bits & SignBit) != 0 ? -static_cast<std::intmax_t>(~bits) - 1 : static_cast<std::intmax_t>(bits);
}

int Precedence(const LexToken& token) {
  if (token.kind != TokenKind::Punctuator)
    return 0;
  const std::string_view op = token.text;
  if (op == "*" || op == "/" || op == "%")
    return 10;
  if (op == "+" || op == "-")
    return 9;
  if (op == "<<" || op == ">>")
    return 8;
  if (op == "<" || op == ">" || op == "<=" || op == ">=")
    return 7;
  if (op == "==" || op == "!=")
    return 6;
  if (op == "&")
    return 5;
  if (op == "^")
    return 4;
  if (op == "|")
    return 3;
  if (op == "&&")
    return 2;
  if (op == "||")
    return 1;
  return 0;
}

// Shifts as GCC's preprocessor does: a negative count shifts the other way, a
// count past the width leaves 0 (or -1 for a negative signed value shifted right).
Value ShiftRight(Value value, std::uintmax_t count, bool countNegative);

Value ShiftLeft(Value value, std::uintmax_t count, bool countNegative) {
  if (countNegative)
    return ShiftRight(value, ~count + 1, false);
  value.bits = count >= static_cast<std::uintmax_t>(ValueBits) ? 0 : value.bits << count;
  return value;
}

Value ShiftRight(Value value, std::uintmax_t count, bool countNegative) {
  if (countNegative)
    return ShiftLeft(value, ~count + 1, false);
  const bool fill = value.Negative();
  if (count >= static_cast<std::uintmax_t>(ValueBits)) {
    value.bits = fill ? ~std::uintmax_t{0} : 0;
  } else {
    value.bits >>= count;
    if (fill && count > 0)
      value.bits |= ~(~std::uintmax_t{0} >> count);
  }
  return value;
}

class Evaluator {
 public:
  Evaluator(ConditionTokens& source, std::string_view name) : tokens(source), directive(name) {}

  ConditionResult Run() {
    Advance();
    if (current.kind == TokenKind::End && current.end != EndMark::Failed)
      Fail("expected an expression after " + std::string(directive));
    const Value value = Comma();
    if (!failed && current.kind != TokenKind::End)
      Fail("unexpected " + DescribeToken(current) + " after the " + std::string(directive) + " expression");
    if (failed)
      return result;
    result.ok = true;
    result.value = !value.IsZero();
    return result;
  }

 private:
  void Advance() {
    current = tokens.Next();
    if (current.kind == TokenKind::End && current.end == EndMark::Failed)
      failed = true;
  }

  void Fail(std::string problem) { FailAt(current.location, std::move(problem)); }

  void FailAt(const SourceLocation& location, std::string problem) {
    if (failed)
      return;
    failed = true;
    result.problem = std::move(problem);
    result.location = location;
  }

  bool Enter() {
    if (++depth > MaxConditionDepth)
      Fail(std::string(directive) + " expression nested more than " + std::to_string(MaxConditionDepth) +
           " levels deep");
    return !failed;
  }

  void Expect(char punctuator, std::string_view what) {
    if (failed)
      return;
    if (!current.Is(punctuator)) {
      Fail("expected '" + std::string(1, punctuator) + "' " + std::string(what) + " in " + std::string(directive) +
           " expression, found " + DescribeToken(current));
      return;
    }
    Advance();
  }

  Value Comma() {
    Value value = Conditional();
    while (!failed && current.Is(',')) {
      Advance();
      value = Conditional();
    }
    return value;
  }

  Value Conditional() {
    const Value condition = Binary(1);
    if (failed || !current.Is('?'))
      return condition;
    if (!Enter())
      return {};
    Advance();
    const bool first = !condition.IsZero();
    if (!first)
      ++unevaluated;
    const Value then = Comma();
    if (!first)
      --unevaluated;
    Expect(':', "of ?:");
    if (first)
      ++unevaluated;
    const Value otherwise = Conditional();
    if (first)
      --unevaluated;
    --depth;
    Value chosen = first ? then : otherwise;
    chosen.isUnsigned = then.isUnsigned || otherwise.isUnsigned;
    return chosen;
  }

  Value Binary(int lowest) {
    Value left = Unary();
    for (;;) {
      const int precedence = Precedence(current);
      if (failed || precedence < lowest || precedence == 0)
        return left;
      const LexToken op = current;
      Advance();
      const bool shortCircuit = (op.text == "&&" && left.IsZero()) || (op.text == "||" && !left.IsZero());
      if (shortCircuit)
        ++unevaluated;
      const Value right = Binary(precedence + 1);
      if (shortCircuit)
        --unevaluated;
      if (failed)
        return {};
      left = Apply(op, left, right);
    }
  }

  Value Apply(const LexToken& op, Value left, Value right) {
    const std::string_view name = op.text;
    const bool isUnsigned = left.isUnsigned || right.isUnsigned;
    const std::uintmax_t a = left.bits;
    const std::uintmax_t b = right.bits;
    if (name == "&&")
      return Truth(!left.IsZero() && !right.IsZero());
    if (name == "||")
      return Truth(!left.IsZero() || !right.IsZero());
    if (name == "<<")
      return ShiftLeft(left, b, right.Negative());
    if (name == ">>")
      return ShiftRight(left, b, right.Negative());
    if (name == "==")
      return Truth(a == b);
    if (name == "!=")
      return Truth(a != b);
    if (name == "<" || name == ">" || name == "<=" || name == ">=") {
      const bool less = isUnsigned ? a < b : AsSigned(a) < AsSigned(b);
      const bool greater = isUnsigned ? a > b : AsSigned(a) > AsSigned(b);
      if (name == "<")
        return Truth(less);
      if (name == ">")
        return Truth(greater);
      return Truth(name == "<=" ? !greater : !less);
    }
    if (name == "/" || name == "%") {
      if (b == 0) {
        if (unevaluated == 0)
          FailAt(op.location, (name == "/" ? "division" : "remainder") + std::string(" by zero in ") +
                                  std::string(directive) + " expression");
        return {0, isUnsigned};
      }
      if (isUnsigned)
        return {name == "/" ? a / b : a % b, true};
      if (a == SignBit && b == ~std::uintmax_t{0})  // INTMAX_MIN / -1 wraps
        return Signed(name == "/" ? a : 0);
      const std::intmax_t quotient = name == "/" ? AsSigned(a) / AsSigned(b) : AsSigned(a) % AsSigned(b);
      return Signed(static_cast<std::uintmax_t>(quotient));
    }
    std::uintmax_t bits = 0;
    if (name == "*")
      bits = a * b;
    else if (name == "+")
      bits = a + b;
    else if (name == "-")
      bits = a - b;
    else if (name == "&")
      bits = a & b;
    else if (name == "^")
      bits = a ^ b;
    else
      bits = a | b;
    return {bits, isUnsigned};
  }

  Value Unary() {
    if (failed)
      return {};
    const bool unaryOperator = current.kind == TokenKind::Punctuator && current.text.size() == 1 &&
                               (current.text[0] == '+' || current.text[0] == '-' || current.text[0] == '~' ||
                                current.text[0] == '!' || current.text[0] == '(');
    if (!unaryOperator)
      return Primary();
    if (!Enter())
      return {};
    const char op = current.text[0];
    Advance();
    Value value;
    if (op == '(') {
      value = Comma();
      Expect(')', "to close '('");
    } else {
      value = Unary();
      if (op == '-')
        value.bits = ~value.bits + 1;
      else if (op == '~')
        value.bits = ~value.bits;
      else if (op == '!')
        value = Truth(value.IsZero());
    }
    --depth;
    return value;
  }

  Value Primary() {
    Value value;
    if (current.kind == TokenKind::Number) {
      value = Number(current);
    } else if (current.kind == TokenKind::CharLiteral) {
      value = Character(current);
    } else if (current.kind == TokenKind::Identifier && current.text == "defined") {
      return Defined();
    } else if (current.kind != TokenKind::Identifier) {  // a name no macro replaced counts as 0
      Fail("expected a value in " + std::string(directive) + " expression, found " + DescribeToken(current));
      return {};
    }
    Advance();
    return value;
  }

  Value Defined() {
    LexToken name = tokens.NextUnexpanded();
    const bool parenthesised = name.Is('(');
    if (parenthesised)
      name = tokens.NextUnexpanded();
    if (name.kind == TokenKind::End && name.end == EndMark::Failed) {
      failed = true;
      return {};
    }
    if (name.kind != TokenKind::Identifier) {
      FailAt(name.location,
             "expected a macro name after 'defined' in " + std::string(directive) + ", found " + DescribeToken(name));
      return {};
    }
    const Value value = Truth(tokens.IsDefined(name.text));
    if (parenthesised) {
      const LexToken close = tokens.NextUnexpanded();
      if (!close.Is(')')) {
        FailAt(close.location, "expected ')' after 'defined(" + std::string(name.text) + "' in " +
                                   std::string(directive) + ", found " + DescribeToken(close));
        return {};
      }
    }
    Advance();
    return value;
  }

  Value Number(const LexToken& token) {
    std::string_view text = token.text;
    std::size_t suffixStart = text.size();
    while (suffixStart > 0 && (text[suffixStart - 1] == 'u' || text[suffixStart - 1] == 'U' ||
                               text[suffixStart - 1] == 'l' || text[suffixStart - 1] == 'L'))
      --suffixStart;
    std::string suffix;
    for (const char c : text.substr(suffixStart))
      suffix.push_back(static_cast<char>(c | 0x20));
    text = text.substr(0, suffixStart);
    unsigned base = 10;
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      base = 16;
      text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) {
      base = 2;
      text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
      base = 8;
    }
    const bool suffixOk = suffix.empty() || suffix == "u" || suffix == "l" || suffix == "ul" || suffix == "lu" ||
                          suffix == "ll" || suffix == "ull" || suffix == "llu";
    if (text.empty() || !suffixOk) {
      Fail("invalid integer constant " + DescribeToken(token) + " in " + std::string(directive));
      return {};
    }
    std::uintmax_t value = 0;
    for (const char c : text) {
      unsigned digit = base;
      if (c >= '0' && c <= '9')
        digit = static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<unsigned>(c - 'A' + 10);
      if (digit >= base) {
        Fail(c == '.' || c == 'e' || c == 'E' || c == 'p' || c == 'P'
                 ? "floating constant " + DescribeToken(token) + " in " + std::string(directive)
                 : "invalid integer constant " + DescribeToken(token) + " in " + std::string(directive));
        return {};
      }
      if (value > (std::numeric_limits<std::uintmax_t>::max() - digit) / base) {
        Fail("integer constant " + DescribeToken(token) + " is too large for " + std::string(directive));
        return {};
      }
      value = value * base + digit;
    }
    return {value, suffix.find('u') != std::string::npos || (value & SignBit) != 0};
  }

  // A character constant as GCC reads it: char is signed, several characters
  // make an int eight bits each, L'x' is the last character's code.
  Value Character(const LexToken& token) {
    std::string_view text = token.text;
    const bool wide = text[0] == 'L' || text[0] == 'l';
    if (wide)
      text.remove_prefix(1);
    text = text.substr(1, text.size() - 2);
    std::uintmax_t value = 0;
    std::size_t count = 0;
    std::uint32_t last = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
      std::uint32_t c = static_cast<unsigned char>(text[at++]);
      if (c == '\\' && at < text.size()) {
        const char escape = text[at++];
        constexpr std::string_view Simple = "n\nt\tr\ra\ab\bf\fv\ve\x1B";
        const std::size_t simple = Simple.find(escape);
        if (simple != std::string_view::npos && simple % 2 == 0) {
          c = static_cast<unsigned char>(Simple[simple + 1]);
        } else if (escape == 'x') {
          c = 0;
          while (at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])) != 0) {
            const char h = text[at++];
            c = c * 16 + static_cast<std::uint32_t>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
          }
        } else if (escape >= '0' && escape <= '7') {
          c = static_cast<std::uint32_t>(escape - '0');
          for (int digits = 1; digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7'; ++digits)
            c = c * 8 + static_cast<std::uint32_t>(text[at++] - '0');
        } else {
          c = static_cast<unsigned char>(escape);  // \\, \', \", \? and the unknown ones
        }
      }
      last = c;
      value = (value << 8) | (c & 0xFF);
    }
    if (count == 0) {
      Fail("empty character constant in " + std::string(directive));
      return {};
    }
    if (wide)
      return Signed(last & 0xFFFF);
    if (count == 1)
      return Signed(static_cast<std::uintmax_t>(static_cast<std::intmax_t>(static_cast<signed char>(last & 0xFF))));
    const auto asInt = static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
    return Signed(static_cast<std::uintmax_t>(static_cast<std::intmax_t>(asInt)));
  }

  ConditionTokens& tokens;
  std::string_view directive;
  LexToken current;
  ConditionResult result;
  int depth = 0;
  int unevaluated = 0;
  bool failed = false;
};

}  // namespace

ConditionResult EvaluateCondition(ConditionTokens& tokens, std::string_view directive) {
  return Evaluator(tokens, directive).Run();
}

}  // namespace trellane
