#include "text/ScriptScan.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace trellane {
namespace {

constexpr std::size_t None = std::string_view::npos;

// Byte classes for the runs that LineWalker::Next skips without a state
// change: each bit marks the bytes that end one kind of run.
enum RunEnd : unsigned char { EndsCode = 1, EndsQuote = 2, EndsComment = 4, EndsBlanks = 8 };

constexpr std::array<unsigned char, 256> MakeRunEnds() {
  std::array<unsigned char, 256> table{};
  for (std::size_t c = 0; c < 256; ++c) {
    const bool lineEnd = c == '\r' || c == '\n';
    table[c] = static_cast<unsigned char>((lineEnd || c == '/' || c == '"' ? EndsCode : 0) |
                                          (lineEnd || c == '"' ? EndsQuote : 0) |
                                          (lineEnd || c == '*' ? EndsComment : 0) |
                                          (c != ' ' && c != '\t' ? EndsBlanks : 0));
  }
  return table;
}

constexpr std::array<unsigned char, 256> RunEnds = MakeRunEnds();

// First index from i on whose byte ends a run of the given kind, or size.
inline std::size_t SkipRun(const char* data, std::size_t i, std::size_t size, unsigned char kind) {
  while (i < size && !(RunEnds[static_cast<unsigned char>(data[i])] & kind))
    ++i;
  return i;
}

std::size_t SkipLineEnd(std::string_view script, std::size_t end) {
  if (end >= script.size())
    return script.size();
  if (script[end] == '\r' && end + 1 < script.size() && script[end + 1] == '\n')
    return end + 2;
  return end + 1;
}

// Whole-word occurrence of keyword in a line's code, outside quoted texts.
std::optional<std::size_t> FindWordInCode(std::string_view script, const ScriptLine& line,
                                          std::string_view keyword) {
  for (std::size_t i = line.codeStart; i < line.codeEnd; ++i) {
    const char c = script[i];
    if (c == '"') {
      while (++i < line.codeEnd && script[i] != '"') {
      }
      continue;
    }
    if (!IsWordByte(c))
      continue;
    std::size_t wordEnd = i;
    while (wordEnd < line.codeEnd && IsWordByte(script[wordEnd]))
      ++wordEnd;
    if (script.substr(i, wordEnd - i) == keyword)
      return i;
    i = wordEnd - 1;
  }
  return std::nullopt;
}

}  // namespace

std::size_t LineStartOf(std::string_view script, std::size_t position) {
  std::size_t i = position < script.size() ? position : script.size();
  while (i > 0 && !IsLineEnd(script[i - 1]))
    --i;
  return i;
}

std::size_t LineEndOf(std::string_view script, std::size_t position) {
  // memchr in short windows: fast on long lines, and a script without LF
  // is not searched to its end for every line.
  constexpr std::size_t Window = 128;
  const char* const data = script.data();
  while (position < script.size()) {
    const std::size_t length = std::min(Window, script.size() - position);
    const void* lf = std::memchr(data + position, '\n', length);
    const std::size_t lfIndex = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : position + length;
    const void* cr = std::memchr(data + position, '\r', lfIndex - position);
    if (cr)
      return static_cast<std::size_t>(static_cast<const char*>(cr) - data);
    if (lf)
      return lfIndex;
    position += length;
  }
  return script.size();
}

std::string_view TrimField(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlankOrTab(text[first]))
    ++first;
  std::size_t last = text.size();
  while (last > first && static_cast<unsigned char>(text[last - 1]) < 0x21)
    --last;
  return text.substr(first, last - first);
}

std::optional<std::size_t> ScanTo(std::string_view script, std::size_t p, char c, std::size_t limit) {
  if (limit > script.size())
    limit = script.size();
  for (std::size_t q = p + 1; q < limit; ++q) {
    if (script[q] == c)
      return q;
  }
  return std::nullopt;
}

std::optional<std::size_t> ScanToAny(std::string_view script, std::size_t p, std::string_view bytes,
                                     std::size_t limit) {
  if (limit > script.size())
    limit = script.size();
  for (std::size_t q = p + 1; q < limit; ++q) {
    if (bytes.find(script[q]) != None)
      return q;
  }
  return std::nullopt;
}

std::string_view TakeField(std::string_view script, std::size_t a, std::size_t b) {
  return TrimField(TakeRawField(script, a, b));
}

std::string_view TakeRawField(std::string_view script, std::size_t a, std::size_t b) {
  if (b <= a + 1 || a >= script.size())
    return {};
  return script.substr(a + 1, b - a - 1);
}

std::optional<QuotedText> TakeQuotedText(std::string_view script, std::size_t p, std::size_t limit) {
  const auto opening = ScanTo(script, p, '"', limit);
  if (!opening)
    return std::nullopt;
  const auto closing = ScanTo(script, *opening, '"', limit);
  if (!closing)
    return std::nullopt;
  return QuotedText{TakeRawField(script, *opening, *closing), *closing};
}

std::string_view StatementName(std::string_view script, std::size_t keywordIndex) {
  const std::size_t start = LineStartOf(script, keywordIndex);
  return TrimField(script.substr(start, keywordIndex - start));
}

LineWalker::LineWalker(std::string_view scriptText, std::size_t from)
    : script(scriptText), position(from < scriptText.size() ? from : scriptText.size()) {}

bool LineWalker::Next(ScriptLine& line) {
  if (position >= script.size())
    return false;
  line.start = position;
  line.codeStart = None;
  line.codeEnd = None;
  bool inQuote = false;
  std::size_t i = position;
  const std::size_t size = script.size();
  const char* const data = script.data();
  while (i < size) {
    // Runs of bytes that change no state are skipped in tight loops first.
    i = SkipRun(data, i, size,
                inBlockComment ? EndsComment : inQuote ? EndsQuote : line.codeStart != None ? EndsCode : EndsBlanks);
    if (i >= size)
      break;
    const char c = data[i];
    if (IsLineEnd(c))
      break;
    const bool slashNext = i + 1 < size && data[i + 1] == '/';
    const bool starNext = i + 1 < size && data[i + 1] == '*';
    if (inBlockComment) {
      i += (c == '*' && slashNext) ? 2 : 1;
      inBlockComment = !(c == '*' && slashNext);
      continue;
    }
    if (inQuote) {
      inQuote = c != '"';
      ++i;
      continue;
    }
    if (c == '/' && slashNext) {
      if (line.codeStart != None && line.codeEnd == None)
        line.codeEnd = i;
      i = LineEndOf(script, i);
      break;
    }
    if (c == '/' && starNext) {
      if (line.codeStart != None && line.codeEnd == None)
        line.codeEnd = i;
      inBlockComment = true;
      i += 2;
      continue;
    }
    if (line.codeStart == None && !IsBlankOrTab(c))
      line.codeStart = i;
    inQuote = c == '"';
    ++i;
  }
  line.end = i;
  if (line.codeStart == None)
    line.codeStart = line.end;
  if (line.codeEnd == None || line.codeEnd < line.codeStart)
    line.codeEnd = line.end;
  line.next = SkipLineEnd(script, line.end);
  position = line.next;
  return true;
}

std::string_view LineCode(std::string_view script, const ScriptLine& line) {
  std::size_t end = line.codeEnd;
  while (end > line.codeStart && IsBlankOrTab(script[end - 1]))
    --end;
  return script.substr(line.codeStart, end - line.codeStart);
}

std::string_view LeadingWord(std::string_view script, const ScriptLine& line) {
  std::size_t end = line.codeStart;
  while (end < line.codeEnd && IsWordByte(script[end]))
    ++end;
  return script.substr(line.codeStart, end - line.codeStart);
}

bool StartsStatement(std::string_view script, const ScriptLine& line, std::string_view keyword) {
  if (LeadingWord(script, line) != keyword)
    return false;
  const std::size_t after = line.codeStart + keyword.size();
  return after < line.end && (IsBlankOrTab(script[after]) || script[after] == '"');
}

bool IsLoneWord(std::string_view script, const ScriptLine& line, std::string_view word) {
  return LineCode(script, line) == word;
}

std::optional<std::size_t> FindKeyword(std::string_view script, std::string_view keyword,
                                       std::size_t fromLine) {
  LineWalker walker(script, fromLine);
  ScriptLine line;
  while (walker.Next(line)) {
    const std::string_view code = script.substr(line.codeStart, line.codeEnd - line.codeStart);
    if (code.find(keyword) == None)
      continue;
    if (const auto found = FindWordInCode(script, line, keyword))
      return found;
  }
  return std::nullopt;
}

std::optional<ResourceBlock> FindResourceBlock(std::string_view script, std::string_view keyword) {
  const auto found = FindKeyword(script, keyword);
  if (!found)
    return std::nullopt;
  ResourceBlock block;
  block.keyword = *found;
  block.headStart = SkipLineEnd(script, LineEndOf(script, *found));
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
      break;
    }
  }
  if (!block.hasBegin)
    return block;
  int depth = 1;
  while (walker.Next(line)) {
    if (IsLoneWord(script, line, "BEGIN")) {
      ++depth;
    } else if (IsLoneWord(script, line, "END") && --depth == 0) {
      block.bodyEnd = line.start;
      block.closed = true;
      break;
    }
  }
  return block;
}

}  // namespace trellane
