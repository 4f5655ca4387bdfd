// Splits decoded script text into the tokens the preprocessor works on:
// comments, backslash-newline joins and the three line ends (LF, CR LF, CR)
// are handled here, so nothing after this sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "script/SourceFiles.h"
#include "script/Token.h"

namespace trellane {

// What a token of kind End marks.
enum class EndMark : std::uint8_t {
  File,      // the end of a file's text
  Line,      // the end of a directive's line
  Argument,  // the end of a macro argument expanded on its own
  Failed,    // an error stopped the reading
};

// Bits of LexToken::flags.
struct LexFlag {
  static constexpr std::uint8_t SpaceBefore = 1;  // whitespace or a comment separates it from the token before
  static constexpr std::uint8_t LineStart = 2;    // nothing but whitespace and comments before it on its line
  static constexpr std::uint8_t NoExpand = 4;     // a macro's name met inside its own expansion: stays a name
  static constexpr std::uint8_t Placemarker = 8;  // an empty argument beside ##; gone once pasting is done
};

struct LexToken {
  std::string_view text;  // into the source text, or into the arena when the spelling had to be rebuilt
  SourceLocation location;
  TokenKind kind = TokenKind::End;
  Keyword keyword = Keyword::None;  // classified as the identifier is read
  EndMark end = EndMark::File;
  std::uint8_t flags = 0;
  std::uint16_t codePage = 1252;

  bool Is(char punctuator) const { return kind == TokenKind::Punctuator && text.size() == 1 && text[0] == punctuator; }
  bool Is(std::string_view punctuator) const { return kind == TokenKind::Punctuator && text == punctuator; }
};

struct LexError {
  SourceLocation location;
  std::string message;
};

class Lexer {
 public:
  // Where the lexer stands; Restore takes it back there (to read a token again).
  struct State {
    std::size_t position = 0;
    std::size_t lineStart = 0;
    std::uint32_t line = 1;
    bool atLineStart = true;
  };

  // strictStrings: a string that reaches the end of its line is an error, as
  // in a resource script; otherwise its quote is a token of its own, as in a
  // header nobody reads but for its directives. The arena keeps spellings
  // rebuilt without their backslash-newlines.
  Lexer(std::string_view text, std::uint32_t file, bool strictStrings, std::deque<std::string>& arena);

  // The next token. In a directive the end of the line gives End (Line) and
  // the lexer stays there. The end of the text gives End (File); an error
  // gives End (Failed), and Error() says what went wrong.
  void Next(LexToken& token, bool inDirective);

  // Moves to the next line whose first token is '#', passing over everything
  // else as a compiler passes over a false #if group: quotes end with their
  // line, comments still count. False at the end of the text or on an error.
  bool SkipToDirective();

  // Skips the rest of the current line and its line end, without complaint
  // about quotes; true when anything but whitespace and comments stood there.
  bool SkipRestOfLine();

  // The rest of the line as written, comments and blanks between tokens
  // made one space, for #error and #warning; the line end stays.
  std::string RestOfLine();

  // "name" or <name>, when it comes next on the line: its text between the
  // delimiters, whether it was <name>, and where it stands.
  struct HeaderName {
    std::string_view name;
    bool angled = false;
    SourceLocation location;
  };
  std::optional<HeaderName> NextHeaderName();

  // The next byte is '(' with nothing between: the #define is function-like.
  bool ParenthesisFollows() const;

  // The code page the text is read in from here on: in a double-byte page a
  // trail byte inside a string or a comment is never a quote or a backslash.
  void SetCodePage(int page);
  int CodePage() const { return codePage; }

  // The current physical line takes number (as #line says); the lines after it count on from there.
  void SetLineNumber(std::uint32_t number);

  State Save() const { return state; }
  void Restore(const State& saved) { state = saved; }
  const std::optional<LexError>& Error() const { return error; }
  std::size_t Position() const { return state.position; }
  std::string_view Text() const { return text; }

 private:
  bool SkipSpace(bool inDirective);
  void SkipBlockComment(std::size_t start);
  std::size_t LineCommentEnd(std::size_t start) const;
  std::size_t SpliceEnd(std::size_t at) const;
  std::size_t NextLogical(std::size_t at);
  void CountLines(std::size_t from, std::size_t to);
  void ConsumeLineEnd();
  struct Quoted {
    std::size_t end = 0;  // after the closing quote, or where the search stopped
    bool closed = false;
  };
  Quoted QuotedEnd(std::size_t quote);
  std::size_t NumberEnd(std::size_t start);
  std::size_t IdentifierEnd(std::size_t start);
  std::size_t PunctuatorEnd(std::size_t start);
  SourceLocation LocationOf(std::size_t offset) const;
  void Fail(std::size_t offset, std::string message);

  std::string_view text;
  State state;
  std::uint32_t lineDelta = 0;  // added to physical line numbers, as #line sets it
  std::uint32_t file;
  bool strictStrings;
  int codePage = 0;
  bool doubleByte = false;
  bool spliced = false;  // NextLogical passed a backslash-newline since the token began
  std::deque<std::string>* arena;
  std::optional<LexError> error;
  struct Unclosed {
    std::size_t from = 0;  // the quote whose search for its end failed
    std::size_t until = 0;
  };
  Unclosed unclosedQuotes[2];  // the last for ' and for "
};

// Whether text lexes as exactly one token (what ## must produce), and its kind.
bool IsSingleToken(std::string_view text, std::deque<std::string>& arena, TokenKind& kind);

// text without its backslash-newlines, as a macro definition is kept.
std::string WithoutLineJoins(std::string_view text);

// A token as messages name it: 'x', or "the end of the line".
std::string DescribeToken(const LexToken& token);

}  // namespace trellane
