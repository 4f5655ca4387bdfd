#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "script/Lexer.h"
#include "script/MacroExpander.h"

namespace trellane {
namespace {

// One line of text as the current file, with no directives, and the messages.
class TextSource final : public ExpansionSource {
 public:
  TextSource(std::string_view text, std::deque<std::string>& arena) : lexer(text, 0, false, arena) {}

  void FileToken(LexToken& token) override {
    if (failed) {
      token = LexToken();
      token.end = EndMark::Failed;
      return;
    }
    lexer.Next(token, false);
  }

  bool TakeParenthesis() override {
    const Lexer::State state = lexer.Save();
    LexToken token;
    lexer.Next(token, false);
    if (token.Is('('))
      return true;
    lexer.Restore(state);
    return false;
  }

  void Error(const SourceLocation&, std::string message) override {
    if (failed)
      return;
    failed = true;
    errors.push_back(std::move(message));
  }

  void Warning(const SourceLocation&, std::string message) override { warnings.push_back(std::move(message)); }

  std::vector<std::string> errors;
  std::vector<std::string> warnings;

 private:
  Lexer lexer;
};

// What the preprocessor's #define tells the table of a definition's form.
std::uint8_t Form(std::string_view definition, std::size_t nameLength) {
  if (nameLength < definition.size() && definition[nameLength] == '(')
    return Macro::FunctionLike;
  std::deque<std::string> arena;
  Lexer body(definition.substr(nameLength), 0, false, arena);
  LexToken first;
  LexToken second;
  body.Next(first, true);
  body.Next(second, true);
  const bool one = first.kind != TokenKind::End && first.kind != TokenKind::Identifier && second.kind == TokenKind::End;
  return one ? Macro::OneToken : 0;
}

class Expansion {
 public:
  Expansion(const std::vector<std::string>& definitions, std::string_view text)
      : source(text, arena), expander(source, arena) {
    for (const std::string& definition : definitions) {
      const std::string& kept = arena.emplace_back(definition);
      std::uint32_t nameLength = 0;
      while (nameLength < kept.size() && kept[nameLength] != ' ' && kept[nameLength] != '(')
        ++nameLength;
      expander.Macros().Define(kept, nameLength, Form(kept, nameLength));
    }
  }

  // The expanded tokens' spellings, those of an expansion in brackets.
  std::string All() {
    std::string all;
    for (;;) {
      LexToken token;
      const bool fromExpansion = expander.ExpandedToken(token);
      if (token.kind == TokenKind::End)
        return all;
      all += all.empty() ? "" : " ";
      all += fromExpansion ? "[" + std::string(token.text) + "]" : std::string(token.text);
    }
  }

  std::deque<std::string> arena;
  TextSource source;
  MacroExpander expander;
};

struct ExpansionCase {
  const char* name;
  std::vector<std::string> definitions;
  const char* text;
  const char* expected;
};

TEST(MacroExpanderTest, ExpandsAsC) {
  const ExpansionCase cases[] = {
      {"object-like", {"A 1 2"}, "A B", "[1] [2] B"},
      {"self-reference stays a name", {"X X+1"}, "X", "[X] [+] [1]"},
      {"mutual reference", {"P Q", "Q P"}, "P Q", "[P] [Q]"},
      {"function-like", {"F(a) (a*2)"}, "F(3) F (4)", "[(] [3] [*] [2] [)] [(] [4] [*] [2] [)]"},
      {"function-like name without a call", {"F(a) a"}, "F x F", "F x F"},
      {"argument expanded before substitution", {"ID(x) x", "ONE 1"}, "ID(ONE)", "[1]"},
      {"argument as written beside ##", {"CAT(a,b) a##b", "ONE 1"}, "CAT(ONE,2)", "[ONE2]"},
      {"stringized argument", {"S(a) #a"}, "S( \"q\\n\"  x )", "[\"\\\"q\\\\n\\\" x\"]"},
      {"empty variable part drops the comma",
       {"V(f,...) f(0,##__VA_ARGS__)"},
       "V(g) V(g,1)",
       "[g] [(] [0] [)] [g] [(] [0] [,] [1] [)]"},
      {"rescanning takes a call from the file", {"f(a) a*g", "g(a) f(a)"}, "f(2)(9)", "[2] [*] [9] [*] [g]"},
      {"nested parentheses in an argument", {"F(a) [a]"}, "F((1,2))", "[[] [(] [1] [,] [2] [)] []]"},
      {"expansion to nothing", {"E"}, "x E y", "x y"},
      {"bodies of one token", {"N 7", "S \"t\"", "P +", "A N P N"}, "N S A (N)", "[7] [\"t\"] [7] [+] [7] ( [7] )"},
  };
  for (const ExpansionCase& test : cases) {
    Expansion expansion(test.definitions, test.text);
    EXPECT_EQ(expansion.All(), test.expected) << test.name;
    EXPECT_TRUE(expansion.source.errors.empty()) << test.name;
  }
}

TEST(MacroExpanderTest, ReportsMalformedCallsToTheSource) {
  const struct {
    std::vector<std::string> definitions;
    const char* text;
    const char* error;
    const char* warning;
  } cases[] = {
      {{"F(a) a"}, "F(1,2) x", "macro 'F' takes 1 argument, but 2 were given", ""},
      {{"G(a,b) a"}, "G() x", "macro 'G' takes 2 arguments, but 1 was given", ""},
      {{"F(a) a"}, "F(1 x", "unterminated argument list of macro 'F'", ""},
      {{"P(a,b) a##b"}, "P(+,x)", "", "does not give one token"},
  };
  for (const auto& test : cases) {
    Expansion expansion(test.definitions, test.text);
    const std::string all = expansion.All();
    if (*test.error != '\0') {
      ASSERT_EQ(expansion.source.errors.size(), 1u) << test.text;
      EXPECT_EQ(expansion.source.errors[0], test.error);
      EXPECT_EQ(all, "") << "a failed reading ends: " << test.text;
    } else {
      EXPECT_TRUE(expansion.source.errors.empty()) << test.text;
      ASSERT_EQ(expansion.source.warnings.size(), 1u) << test.text;
      EXPECT_NE(expansion.source.warnings[0].find(test.warning), std::string::npos) << test.text;
      EXPECT_EQ(all, "[+] [x]");
    }
  }
}

TEST(MacroExpanderTest, CountsOutermostExpansionsAtTheTopLevelOnly) {
  Expansion expansion({"A B", "B 1"}, "A x A A");
  MacroExpander& expander = expansion.expander;
  LexToken token;
  EXPECT_TRUE(expander.ExpandedToken(token));
  EXPECT_EQ(expander.Outermost().serial, 1u);
  EXPECT_EQ(expander.Outermost().name, "A") << "the outermost macro, not B";
  EXPECT_FALSE(expander.ExpandedToken(token));
  EXPECT_EQ(token.text, "x");
  expansion.source.mode = ReadMode::Directive;  // a directive's expansions mark no tokens
  EXPECT_TRUE(expander.ExpandedToken(token));
  EXPECT_EQ(expander.Outermost().serial, 1u);
  expansion.source.mode = ReadMode::Normal;
  EXPECT_TRUE(expander.ExpandedToken(token));
  EXPECT_EQ(expander.Outermost().serial, 2u);
}

TEST(MacroExpanderTest, LineScopeHidesTheExpansionsAroundIt) {
  Expansion expansion({"A 1 2", "B 3 4"}, "A B");
  MacroExpander& expander = expansion.expander;
  std::vector<std::string> read;
  read.emplace_back(expander.Expanded().text);
  {
    const MacroExpander::LineScope line(expander);
    read.emplace_back(expander.Expanded().text);  // from the file, not A's rest
  }
  read.emplace_back(expander.Expanded().text);  // A's rest: B's expansion ended with the line
  read.emplace_back(expander.Expanded().text);  // the file's end
  EXPECT_EQ(read, (std::vector<std::string>{"1", "3", "2", ""}));
}

}  // namespace
}  // namespace trellane
