#include "text/ScriptScan.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/ByteMarks.h"

namespace trellane {
namespace {

constexpr std::size_t None = std::string_view::npos;

// Byte classes for the runs that LineWalker::Next skips without a state
// change: each bit marks the bytes that end one kind of run.
enum RunEnd : unsigned char { EndsCode = 1, EndsQuote = 2, EndsComment = 4, EndsBlanks = 8, EndsSlashFree = 16 };

constexpr std::array<unsigned char, 256> MakeRunEnds() {
  std::array<unsigned char, 256> table{};
  for (std::size_t c = 0; c < 256; ++c) {
    const bool lineEnd = c == '\r' || c == '\n';
    table[c] = static_cast<unsigned char>(
        (lineEnd || c == '/' || c == '"' ? EndsCode : 0) | (lineEnd || c == '"' ? EndsQuote : 0) |
        (lineEnd || c == '*' ? EndsComment : 0) | (c != ' ' && c != '\t' ? EndsBlanks : 0) |
        (lineEnd || c == '/' ? EndsSlashFree : 0));
  }
  return table;
}

constexpr std::array<unsigned char, 256> RunEnds = MakeRunEnds();

// First index from i on whose byte ends a run of the given kind, or size.
// Runs of code, quoted text, comment and slash-free text end at a few bytes
// only, which eight bytes at a time find (a control byte stops such a run
// early and costs one byte-wise step); runs of blanks are short and go byte
// by byte.
template <RunEnd Kind>
inline std::size_t SkipRun(const char* data, std::size_t i, std::size_t size) {
  if constexpr (Kind != EndsBlanks) {
    while (size - i >= 8) {
      const std::uint64_t word = LoadWord(data + i);
      std::uint64_t marks = MarkControlBytes(word);
      if constexpr (Kind == EndsCode || Kind == EndsQuote)
        marks |= MarkBytes(word, '"');
      if constexpr (Kind == EndsComment)
        marks |= MarkBytes(word, '*');
      if constexpr (Kind == EndsCode || Kind == EndsSlashFree)
        marks |= MarkBytes(word, '/');
      if (marks != 0)
        return i + FirstMarkedByte(marks);
      i += 8;
    }
  }
  while (i < size && !(RunEnds[static_cast<unsigned char>(data[i])] & Kind))
    ++i;
  return i;
}

// Index after the closing quote of a quoted text whose bytes start at i, or
// of its line's end (or size) when the quote is not closed on the line.
std::size_t SkipQuotedText(const char* data, std::size_t i, std::size_t size) {
  for (;;) {
    i = SkipRun<EndsQuote>(data, i, size);
    if (i >= size || IsLineEnd(data[i]))
      return i;
    if (data[i] == '"')
      return i + 1;
    ++i;  // a control byte inside the text
  }
}

std::size_t SkipLineEnd(std::string_view script, std::size_t end) {
  if (end >= script.size())
    return script.size();
  if (script[end] == '\r' && end + 1 < script.size() && script[end + 1] == '\n')
    return end + 2;
  return end + 1;
}

// Whole-word occurrence of keyword in a line's code, outside quoted texts.
std::optional<std::size_t> FindWordInCode(std::string_view script, const ScriptLine& line, std::string_view keyword) {
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

bool LineWalker::NextWithoutSlash(ScriptLine& line) {
  const std::size_t size = script.size();
  const char* const data = script.data();
  std::size_t i = position;
  while (i < size && IsBlankOrTab(data[i]))
    ++i;
  const std::size_t codeStart = i;
  // memchr finds the line's end and any '/' quicker than a byte loop; the
  // next LF is kept, so a script without LF is searched for one only once.
  if (nextLineFeed == None || nextLineFeed < i) {
    const void* lineFeed = std::memchr(data + i, '\n', size - i);
    nextLineFeed = lineFeed ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - data) : size;
  }
  std::size_t end = nextLineFeed;
  if (const void* carriageReturn = std::memchr(data + i, '\r', end - i))
    end = static_cast<std::size_t>(static_cast<const char*>(carriageReturn) - data);
  if (std::memchr(data + i, '/', end - i))
    return false;
  line.start = position;
  line.end = end;
  line.codeStart = codeStart;
  line.codeEnd = end;
  line.next = SkipLineEnd(script, end);
  position = line.next;
  return true;
}

bool LineWalker::Next(ScriptLine& line) {
  if (position >= script.size())
    return false;
  if (!inBlockComment && NextWithoutSlash(line))
    return true;
  line.start = position;
  line.codeStart = None;
  line.codeEnd = None;
  std::size_t i = position;
  const std::size_t size = script.size();
  const char* const data = script.data();
  while (i < size) {
    // Runs of bytes that change no state are skipped in tight loops first.
    if (inBlockComment)
      i = SkipRun<EndsComment>(data, i, size);
    else if (line.codeStart != None)
      i = SkipRun<EndsCode>(data, i, size);
    else
      i = SkipRun<EndsBlanks>(data, i, size);
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
    i = c == '"' ? SkipQuotedText(data, i + 1, size) : i + 1;
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

bool IsLoneWord(std::string_view script, const ScriptLine& line, std::string_view word) {
  return LineCode(script, line) == word;
}

namespace {

// The first index at or after from where keyword's bytes occur, or the
// script's size. The search jumps from one occurrence of keyword's last byte
// to the next: the resource keywords end in 'X', which scripts seldom hold.
std::size_t FindBytes(std::string_view script, std::string_view keyword, std::size_t from) {
  const std::size_t lead = keyword.size() - 1;
  const char* const data = script.data();
  for (std::size_t i = from + lead; i < script.size();) {
    const void* found = std::memchr(data + i, keyword.back(), script.size() - i);
    if (!found)
      break;
    const auto last = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    if (std::memcmp(data + last - lead, keyword.data(), lead) == 0)
      return last - lead;
    i = last + 1;
  }
  return script.size();
}

}  // namespace

std::optional<std::size_t> FindKeyword(std::string_view script, std::string_view keyword, std::size_t fromLine) {
  if (keyword.empty())
    return std::nullopt;
  // Only a line that holds the keyword's bytes can hold the keyword, and a
  // line without '/' or '"' leaves the walker's state as it was: outside a
  // block comment the walk jumps to the next line that holds either. Each
  // next occurrence is searched again only once the walk has passed it.
  const std::size_t size = script.size();
  std::size_t hit = None;
  std::size_t slash = None;
  std::size_t quote = None;
  const auto refresh = [&](std::size_t& next, std::size_t from, auto find) {
    if (next == None || next < from)
      next = find(from);
  };
  LineWalker walker(script, fromLine);
  ScriptLine line;
  for (;;) {
    const std::size_t position = walker.Position();
    if (position >= size)
      return std::nullopt;
    refresh(hit, position, [&](std::size_t from) { return FindBytes(script, keyword, from); });
    if (hit >= size)
      return std::nullopt;
    if (!walker.InBlockComment()) {
      const auto findByte = [&](char c) {
        return [&script, size, c](std::size_t from) {
          const void* found = std::memchr(script.data() + from, c, size - from);
          return found ? static_cast<std::size_t>(static_cast<const char*>(found) - script.data()) : size;
        };
      };
      refresh(slash, position, findByte('/'));
      refresh(quote, position, findByte('"'));
      walker.JumpTo(LineStartOf(script, std::min({hit, slash, quote})));
    }
    if (!walker.Next(line))
      return std::nullopt;
    const std::string_view code = script.substr(line.codeStart, line.codeEnd - line.codeStart);
    if (code.find(keyword) == None)
      continue;
    if (const auto found = FindWordInCode(script, line, keyword))
      return found;
  }
}

std::size_t LineAfter(std::string_view script, std::size_t end) {
  return SkipLineEnd(script, end);
}

std::optional<ResourceBlock> FindResourceBlock(std::string_view script, std::string_view keyword) {
  return WalkResourceBlock(
      script, keyword, [](const ScriptLine&) {}, [](const ScriptLine&, int) {});
}

}  // namespace trellane
