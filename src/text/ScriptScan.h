// Scanning steps with which the converters pick statements and fields out of
// a resource script. A script is a byte view whose end plays the part of the
// terminating zero: no step reads at or past script.size(). Lines end at the
// first CR or LF; every field scan stops at the end of its statement's line.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace trellane {

inline bool IsBlankOrTab(char c) {
  return c == ' ' || c == '\t';
}

inline bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Letters, digits and underscores, one table lookup per byte.
inline constexpr std::array<bool, 256> WordBytes = [] {
  std::array<bool, 256> bytes{};
  for (int c = 0; c < 256; ++c)
    bytes[static_cast<std::size_t>(c)] =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  return bytes;
}();

inline bool IsWordByte(char c) {
  return WordBytes[static_cast<unsigned char>(c)];
}

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Index after the last CR or LF before position, or 0.
std::size_t LineStartOf(std::string_view script, std::size_t position);

// First index at or after position that holds CR or LF, or script.size().
std::size_t LineEndOf(std::string_view script, std::size_t position);

// Trims leading blanks and tabs and trailing bytes below 0x21. Inline: every
// field of every statement passes here.
inline std::string_view TrimField(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlankOrTab(text[first]))
    ++first;
  std::size_t last = text.size();
  while (last > first && static_cast<unsigned char>(text[last - 1]) < 0x21)
    --last;
  return text.substr(first, last - first);
}

// First index q > p, q < limit, whose byte is c.
std::optional<std::size_t> ScanTo(std::string_view script, std::size_t p, char c, std::size_t limit);

// First index q > p, q < limit, whose byte is one of bytes.
std::optional<std::size_t> ScanToAny(std::string_view script, std::size_t p, std::string_view bytes, std::size_t limit);

// Trimmed bytes strictly between a and b.
std::string_view TakeField(std::string_view script, std::size_t a, std::size_t b);

// Bytes strictly between a and b, untrimmed.
std::string_view TakeRawField(std::string_view script, std::size_t a, std::size_t b);

struct QuotedText {
  std::string_view text;     // bytes between the quotes, untrimmed
  std::size_t closingQuote;  // index of the closing quote
};

// The text between the next two double quotes after p, both before limit.
std::optional<QuotedText> TakeQuotedText(std::string_view script, std::size_t p, std::size_t limit);

// Trimmed text in front of the keyword at keywordIndex on its line.
std::string_view StatementName(std::string_view script, std::size_t keywordIndex);

// One line of a script as the line walker sees it.
struct ScriptLine {
  std::size_t start = 0;      // first byte of the line
  std::size_t end = 0;        // its CR or LF, or script.size()
  std::size_t codeStart = 0;  // first byte outside blanks, tabs and comments
  std::size_t codeEnd = 0;    // where a trailing comment begins, or end
  std::size_t next = 0;       // start of the following line
};

// Walks a script line by line and knows which bytes lie in comments. Quoted
// texts end at the end of their line, as a resource compiler reads them.
class LineWalker {
 public:
  // from must be a line start outside any block comment.
  explicit LineWalker(std::string_view scriptText, std::size_t from = 0);

  // Moves to the next line; false at the end of the script.
  bool Next(ScriptLine& line);

  std::size_t Position() const { return position; }

  // The walk stands inside a block comment that an earlier line opened.
  bool InBlockComment() const { return inBlockComment; }

  // Moves on to lineStart, a line start at or after Position(), passing
  // lines that hold no '/' and no '"' outside a block comment: such lines
  // change nothing that the walk keeps. Earlier targets are ignored.
  void JumpTo(std::size_t lineStart) {
    if (lineStart > position && lineStart <= script.size())
      position = lineStart;
  }

 private:
  // A line without '/' outside a block comment holds no comment: its code
  // runs from its first byte outside blanks and tabs to its end, whatever
  // quotes it holds. Takes such a line in one pass; false, with nothing
  // changed, for any other line.
  bool NextWithoutSlash(ScriptLine& line);

  std::string_view script;
  std::size_t position;
  bool inBlockComment = false;
  // The first LF at or after an earlier position, or the script's size;
  // npos before the first search.
  std::size_t nextLineFeed = std::string_view::npos;
};

// The code of a line: the bytes from codeStart to codeEnd, trailing blanks
// and tabs dropped.
std::string_view LineCode(std::string_view script, const ScriptLine& line);

// The first word of a line's code (letters, digits, underscores).
std::string_view LeadingWord(std::string_view script, const ScriptLine& line);

// keyword is the first word of the line's code and is followed by a blank, a
// tab or a double quote.
inline bool StartsStatement(std::string_view script, const ScriptLine& line, std::string_view keyword) {
  // A blank, tab or quote ends a word, so the keyword's bytes followed by one
  // of them are the line's whole leading word. Before codeEnd only: a code
  // end before the line's end is the '/' of a comment.
  const std::size_t after = line.codeStart + keyword.size();
  if (after >= line.codeEnd)
    return false;
  if (script.substr(line.codeStart, keyword.size()) != keyword)
    return false;
  return IsBlankOrTab(script[after]) || script[after] == '"';
}

// The line's code is the single word.
bool IsLoneWord(std::string_view script, const ScriptLine& line, std::string_view word);

// Index of the first occurrence of keyword as a whole word outside comments
// and quoted texts, from a line start on.
std::optional<std::size_t> FindKeyword(std::string_view script, std::string_view keyword, std::size_t fromLine = 0);

// A resource statement and the block of statements it owns.
struct ResourceBlock {
  std::size_t keyword = 0;    // index of the resource keyword
  std::size_t headStart = 0;  // line after the keyword's line
  std::size_t headEnd = 0;    // start of the BEGIN line, or script.size()
  std::size_t bodyStart = 0;  // line after BEGIN
  std::size_t bodyEnd = 0;    // start of the END line that closes BEGIN, or script.size()
  bool hasBegin = false;
  bool closed = false;         // an END line closes the block
  bool bodyInComment = false;  // a block comment opened on the BEGIN line runs on into the body
};

// Start of the line after the line end at end (CR, LF or CR LF), or
// script.size().
std::size_t LineAfter(std::string_view script, std::size_t end);

// Finds keyword as a resource statement and the BEGIN ... END block that
// follows it, counting nested BEGIN and END lines.
std::optional<ResourceBlock> FindResourceBlock(std::string_view script, std::string_view keyword);

// FindResourceBlock in the same single walk that also shows each head line
// to visitHead(line) and each line inside the block to visitBody(line,
// level), level being the nesting depth inside the block (0 right after its
// own BEGIN).
template <typename VisitHead, typename VisitBody>
std::optional<ResourceBlock> WalkResourceBlock(std::string_view script, std::string_view keyword, VisitHead visitHead,
                                               VisitBody visitBody) {
  const auto found = FindKeyword(script, keyword);
  if (!found)
    return std::nullopt;
  ResourceBlock block;
  block.keyword = *found;
  block.headStart = LineAfter(script, LineEndOf(script, *found));
  block.headEnd = script.size();
  block.bodyStart = script.size();
  block.bodyEnd = script.size();
  LineWalker walker(script, block.headStart);
  ScriptLine line;
  while (walker.Next(line)) {
    if (IsLoneWord(script, line, "BEGIN")) {
      block.hasBegin = true;
      block.headEnd = line.start;
      block.bodyStart = line.next;
      block.bodyInComment = walker.InBlockComment();
      break;
    }
    visitHead(line);
  }
  if (!block.hasBegin)
    return block;
  int depth = 1;
  while (walker.Next(line)) {
    const int level = depth - 1;
    if (IsLoneWord(script, line, "BEGIN")) {
      ++depth;
    } else if (IsLoneWord(script, line, "END") && --depth == 0) {
      block.bodyEnd = line.start;
      block.closed = true;
      break;
    }
    visitBody(line, level);
  }
  return block;
}

}  // namespace trellane
