// The preprocessor's directives: everything a line that starts with '#' does.
#include <optional>
#include <string>

#include "script/PreprocessorImpl.h"
#include "text/AsciiCase.h"

namespace trellane {
namespace {

bool IsDigits(std::string_view text) {
  if (text.empty())
    return false;
  for (const char c : text) {
    if (c < '0' || c > '9')
      return false;
  }
  return true;
}

// The value of a run of at most nine digits, or nothing.
std::optional<std::uint32_t> SmallNumber(const LexToken& token) {
  if (token.kind != TokenKind::Number || !IsDigits(token.text) || token.text.size() > 9)
    return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : token.text)
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  return value;
}

}  // namespace

// The tokens of an #if line for the evaluator: expanded, or as written for defined.
class Preprocessor::Impl::LineTokens final : public ConditionTokens {
 public:
  explicit LineTokens(MacroExpander& expander) : macros(expander) {}

  LexToken Next() override { return macros.Expanded(); }
  LexToken NextUnexpanded() override { return macros.Unexpanded(); }

  bool IsDefined(std::string_view name) override { return macros.IsDefined(name); }

 private:
  MacroExpander& macros;
};

void Preprocessor::Impl::HandleDirective(const LexToken& hash) {
  const Scoped<ReadMode> directive(mode, ReadMode::Directive);
  const MacroExpander::LineScope line(expander);
  const LexToken name = DirectiveToken();
  DispatchDirective(hash, name, directive.Outer());
}

void Preprocessor::Impl::DispatchDirective(const LexToken& hash, const LexToken& name, ReadMode outerMode) {
  if (name.kind == TokenKind::End) {
    if (name.end == EndMark::Line)  // a lone '#'
      FinishLine({}, hash.location);
    return;
  }
  const std::string_view directive = name.kind == TokenKind::Identifier ? name.text : std::string_view();
  Frame& frame = frames.back();
  if (conditionals.size() == frame.conditionalBase && directive != "ifndef")
    frame.guarded = false;  // a directive outside every guard
  if (directive == "if" || directive == "ifdef" || directive == "ifndef" || directive == "elif" ||
      directive == "else" || directive == "endif") {
    ConditionalDirective(directive, name);
    return;
  }
  if (!Active()) {  // other directives of a false group do nothing, known or not
    FinishLine({}, hash.location);
    return;
  }
  Lexer& lexer = frames.back().lexer;
  if (directive == "define") {
    const LexToken macro = DirectiveToken();
    if (macro.end != EndMark::Failed && DefineMacro(lexer, macro, "#define"))
      FinishLine("#define", hash.location);
  } else if (directive == "undef") {
    const LexToken macro = DirectiveToken();
    if (macro.kind != TokenKind::Identifier) {
      if (macro.end != EndMark::Failed)
        Error(macro.location, "expected a macro name after #undef, found " + DescribeToken(macro));
      return;
    }
    expander.Macros().Undefine(macro.text);
    FinishLine("#undef", hash.location);
  } else if (directive == "include") {
    IncludeDirective(hash, outerMode);
  } else if (directive == "pragma") {
    PragmaDirective();
  } else if (directive == "error" || directive == "warning") {
    const std::string text = lexer.RestOfLine();
    const std::string message = "#" + std::string(directive) + (text.empty() ? "" : " " + text);
    if (lexer.Error())
      ReportLexError(lexer);
    else if (directive == "error")
      Error(hash.location, message);
    else
      Warning(hash.location, message);
    FinishLine({}, hash.location);
  } else if (directive == "line") {
    LineDirective(expander.Expanded(), false);
  } else if (name.kind == TokenKind::Number) {  // "# 12 "file"", the line marker of preprocessed text
    LineDirective(name, true);
  } else {
    Error(name.location, "unknown directive '#" + std::string(name.text) + "'");
  }
}

void Preprocessor::Impl::ConditionalDirective(std::string_view directive, const LexToken& name) {
  const std::string hashed = "#" + std::string(directive);
  if (directive == "if" || directive == "ifdef" || directive == "ifndef") {
    if (!Active()) {
      PushConditional(name, false);
      FinishLine({}, name.location);
      return;
    }
    bool value = false;
    if (directive == "if") {
      if (!Evaluate(hashed, value))
        return;
    } else {
      const LexToken macro = DirectiveToken();
      if (macro.kind != TokenKind::Identifier) {
        if (macro.end != EndMark::Failed)
          Error(macro.location, "expected a macro name after " + hashed + ", found " + DescribeToken(macro));
        return;
      }
      value = expander.IsDefined(macro.text) == (directive == "ifdef");
      Frame& frame = frames.back();
      if (directive == "ifndef" && conditionals.size() == frame.conditionalBase)
        frame.guards.emplace_back(macro.text);
    }
    PushConditional(name, value);
    FinishLine(hashed, name.location);
    return;
  }
  if (conditionals.size() == frames.back().conditionalBase) {
    Error(name.location, hashed + " without #if");
    return;
  }
  Conditional& open = conditionals.back();
  const bool reading = open.parentActive;
  Frame& frame = frames.back();
  const bool guardLevel = conditionals.size() == frame.conditionalBase + 1;
  if (guardLevel && directive != "endif")
    frame.guarded = false;  // the guard's #if has another group
  if (directive == "endif") {
    conditionals.pop_back();
    UpdateSkipping();
    FinishLine(reading ? hashed : std::string(), name.location);
    return;
  }
  if (open.sawElse) {
    Error(name.location, hashed + " after #else");
    return;
  }
  if (directive == "else") {
    open.active = open.parentActive && !open.taken;
    open.taken = true;
    open.sawElse = true;
    UpdateSkipping();
    FinishLine(reading ? hashed : std::string(), name.location);
    return;
  }
  if (!open.parentActive || open.taken) {
    open.active = false;
    UpdateSkipping();
    FinishLine({}, name.location);
    return;
  }
  bool value = false;
  if (!Evaluate(hashed, value))
    return;
  conditionals.back().active = value;
  conditionals.back().taken = value;
  UpdateSkipping();
  FinishLine(hashed, name.location);
}

void Preprocessor::Impl::PushConditional(const LexToken& directive, bool value) {
  if (conditionals.size() >= MaxConditionalDepth) {
    Error(directive.location, "#if nested more than " + std::to_string(MaxConditionalDepth) + " levels deep");
    return;
  }
  Conditional conditional;
  conditional.location = directive.location;
  conditional.directive = directive.text;
  conditional.parentActive = Active();
  conditional.active = conditional.parentActive && value;
  conditional.taken = !conditional.parentActive || value;
  conditionals.push_back(conditional);
  UpdateSkipping();
}

bool Preprocessor::Impl::Evaluate(std::string_view directive, bool& value) {
  LineTokens tokens(expander);
  const ConditionResult result = EvaluateCondition(tokens, directive);
  if (!result.ok) {
    if (!result.problem.empty())
      Error(result.location, result.problem);
    return false;
  }
  value = result.value;
  return true;
}

// Reads a definition from its name on: from a #define line, a -D option or
// a built-in constant. The macro keeps a view of the text it was read from.
bool Preprocessor::Impl::DefineMacro(Lexer& lexer, const LexToken& name, std::string_view origin) {
  if (name.kind != TokenKind::Identifier) {
    Error(name.location, "expected a macro name after " + std::string(origin) + ", found " + DescribeToken(name));
    return false;
  }
  const std::string_view macro = name.text;
  if (macro == "defined") {
    Error(name.location, "'defined' cannot be a macro name");
    return false;
  }
  const bool functionLike = lexer.ParenthesisFollows();
  const std::size_t mark = parameters.size();
  std::size_t end = lexer.Position();
  if (functionLike) {
    bool variadic = false;
    LexToken bad;
    if (!ReadParameters(lexer, parameters, variadic, bad)) {
      const bool tooMany = parameters.size() - mark == MaxParameters;
      parameters.resize(mark);
      if (bad.end == EndMark::Failed)
        ReportLexError(lexer);
      else if (tooMany)
        Error(bad.location, "more than " + std::to_string(MaxParameters) + " parameters in the definition of '" +
                                std::string(macro) + "'");
      else
        Error(bad.location, "expected a parameter name, ',' or ')' in the definition of '" + std::string(macro) +
                                "', found " + DescribeToken(bad));
      return false;
    }
    end = lexer.Position();
  }
  const auto isParameter = [&](std::string_view text) {
    for (std::size_t at = mark; at < parameters.size(); ++at) {
      if (parameters[at] == text)
        return true;
    }
    return false;
  };
  std::string problem;
  SourceLocation problemAt;
  LexToken token;
  LexToken last;
  std::size_t tokens = 0;
  lexer.Next(token, true);
  for (bool first = true; token.kind != TokenKind::End && problem.empty(); first = false, ++tokens) {
    if (first && token.Is("##")) {
      problem = "'##' cannot start the definition of '" + std::string(macro) + "'";
      problemAt = token.location;
    }
    if (functionLike && token.Is('#')) {
      const SourceLocation hashAt = token.location;
      lexer.Next(token, true);
      if (token.kind != TokenKind::Identifier || !isParameter(token.text)) {
        problem = "'#' in the definition of '" + std::string(macro) + "' is not followed by a parameter";
        problemAt = hashAt;
      }
    }
    last = token;
    end = lexer.Position();
    lexer.Next(token, true);
  }
  parameters.resize(mark);
  if (problem.empty() && token.end == EndMark::Failed) {
    ReportLexError(lexer);
    return false;
  }
  if (problem.empty() && last.Is("##")) {
    problem = "'##' cannot end the definition of '" + std::string(macro) + "'";
    problemAt = last.location;
  }
  if (!problem.empty()) {
    Error(problemAt, problem);
    return false;
  }
  std::string_view definition = lexer.Text().substr(name.location.offset, end - name.location.offset);
  if (definition.find('\n') != std::string_view::npos || definition.find('\r') != std::string_view::npos)
    definition = arena.emplace_back(WithoutLineJoins(definition));
  const std::uint8_t form = functionLike                                        ? Macro::FunctionLike
                            : tokens == 1 && last.kind != TokenKind::Identifier ? Macro::OneToken
                                                                                : 0;
  if (!expander.Macros().Define(definition, static_cast<std::uint32_t>(name.text.size()), form)) {
    Error(name.location, "more than " + std::to_string(MacroTable::MaxMacros) + " macro names");
    return false;
  }
  return true;
}

void Preprocessor::Impl::DefineFromText(std::string_view text) {
  definingOption = true;
  Lexer lexer(text, 0, false, arena);
  LexToken name;
  lexer.Next(name, true);
  DefineMacro(lexer, name, "-D");
  definingOption = false;
}

void Preprocessor::Impl::IncludeDirective(const LexToken& hash, ReadMode outerMode) {
  if (outerMode == ReadMode::Arguments) {
    Error(hash.location, "#include inside the arguments of a macro");
    return;
  }
  Lexer& lexer = frames.back().lexer;
  std::string name;
  bool angled = false;
  if (const auto header = lexer.NextHeaderName()) {
    name = header->name;
    angled = header->angled;
  } else if (lexer.Error()) {
    ReportLexError(lexer);
    return;
  } else {  // a macro that expands to "file" or <file>
    LexToken token = expander.Expanded();
    if (token.kind == TokenKind::String && token.text.front() == '"') {
      name = token.text.substr(1, token.text.size() - 2);
    } else if (token.Is('<')) {
      angled = true;
      for (token = expander.Expanded(); !token.Is('>'); token = expander.Expanded()) {
        if (token.kind == TokenKind::End) {
          if (token.end != EndMark::Failed)
            Error(token.location, "expected '>' to end the file name of #include, found " + DescribeToken(token));
          return;
        }
        if (!name.empty() && (token.flags & LexFlag::SpaceBefore) != 0)
          name.push_back(' ');
        name.append(token.text);
      }
    } else {
      if (token.end != EndMark::Failed)
        Error(token.location, "expected \"FILE\" or <FILE> after #include, found " + DescribeToken(token));
      return;
    }
  }
  FinishLine("#include", hash.location);
  if (failed)
    return;
  if (name.empty()) {
    Error(hash.location, "empty file name in #include");
    return;
  }
  Include(name, angled, hash.location);
}

void Preprocessor::Impl::PragmaDirective() {
  Frame& frame = frames.back();
  const LexToken pragma = DirectiveToken();
  if (pragma.kind == TokenKind::Identifier && pragma.text == "once")
    onceFiles.insert(frame.key);
  if (pragma.kind != TokenKind::Identifier || pragma.text != "code_page" || frame.unicode) {
    FinishLine({}, pragma.location);  // other pragmas are for other programs
    return;
  }
  const LexToken open = DirectiveToken();
  const LexToken page = open.Is('(') ? DirectiveToken() : open;
  const LexToken close = open.Is('(') ? DirectiveToken() : open;
  if (failed)
    return;
  if (!open.Is('(')) {
    Error(open.location, "expected '(' after #pragma code_page, found " + DescribeToken(open));
    return;
  }
  int number = 0;
  if (page.kind == TokenKind::Identifier && SameLetters(page.text, "DEFAULT")) {
    number = options.codePage.value_or(DefaultCodePage);
  } else if (const auto value = SmallNumber(page)) {
    number = static_cast<int>(*value);
  } else {
    Error(page.location, "expected a code page number or DEFAULT in #pragma code_page, found " + DescribeToken(page));
    return;
  }
  if (!close.Is(')')) {
    Error(close.location, "expected ')' after the code page in #pragma code_page, found " + DescribeToken(close));
    return;
  }
  if (!IsKnownInputCodePage(number)) {
    Error(page.location, "unknown code page " + std::string(page.text) + " in #pragma code_page");
    return;
  }
  codePage = number;
  FinishLine("#pragma code_page", pragma.location);
  UpdateCodePage();
}

void Preprocessor::Impl::LineDirective(const LexToken& number, bool marker) {
  const std::optional<std::uint32_t> line = SmallNumber(number);
  if (!line) {
    if (number.end != EndMark::Failed)
      Error(number.location, "expected a line number (up to 999999999) after #line, found " + DescribeToken(number));
    return;
  }
  if (!marker) {
    LexToken file = expander.Expanded();
    if (file.kind == TokenKind::String)  // the file's name: diagnostics keep the real path
      file = expander.Expanded();
    if (file.kind != TokenKind::End)
      Warning(file.location, "extra tokens after #line ignored");
    else if (file.end == EndMark::Failed)
      return;
  }
  Lexer& lexer = frames.back().lexer;
  FinishLine({}, number.location);
  lexer.SetLineNumber(*line);
}

void Preprocessor::Impl::FinishLine(std::string_view directive, const SourceLocation& at) {
  if (failed)
    return;
  Lexer& lexer = frames.back().lexer;
  const bool extra = lexer.SkipRestOfLine();
  if (lexer.Error())
    ReportLexError(lexer);
  else if (extra && !directive.empty())
    Warning(at, "extra tokens after " + std::string(directive) + " ignored");
}

}  // namespace trellane
