// The integer expressions of #if and #elif, evaluated as C evaluates them:
// intmax_t and uintmax_t with C's conversions, its precedence and ?:, short
// circuits, defined NAME and defined(NAME), names left after expansion as 0.
#pragma once

#include <string>
#include <string_view>

#include "script/Lexer.h"
#include "script/SourceFiles.h"

namespace trellane {

// The tokens of one #if line, as the preprocessor hands them on.
class ConditionTokens {
 public:
  virtual ~ConditionTokens() = default;
  // The next token with macros expanded; End (Line) at the end of the line,
  // End (Failed) when an expansion failed (the preprocessor has said why).
  virtual LexToken Next() = 0;
  // The next token as written: the operand of defined.
  virtual LexToken NextUnexpanded() = 0;
  virtual bool IsDefined(std::string_view name) = 0;
};

struct ConditionResult {
  bool ok = false;
  bool value = false;
  std::string problem;  // empty when the tokens failed and the preprocessor has reported it
  SourceLocation location;
};

// Deeper nesting of parentheses, unary operators and ?: is an error, not a stack overflow.
constexpr int MaxConditionDepth = 256;

// Evaluates the rest of the line; directive ("#if", "#elif") names it in messages.
ConditionResult EvaluateCondition(ConditionTokens& tokens, std::string_view directive);

}  // namespace trellane
