#include "script/Lexer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "script/SourceText.h"

namespace trellane {
namespace {

constexpr std::uint8_t IdStart = 1;
constexpr std::uint8_t IdChar = 2;
constexpr std::uint8_t Digit = 4;
constexpr std::uint8_t Blank = 8;
constexpr std::uint8_t Special = 16;  // ends a run of bytes that skipping passes over unseen
constexpr std::array<char, 6> SpecialBytes = {'\n', '\r', '\\', '/', '"', '\''};

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int c = 'a'; c <= 'z'; ++c)
    classes[c] = IdStart | IdChar;
  for (int c = 'A'; c <= 'Z'; ++c)
    classes[c] = IdStart | IdChar;
  for (int c = '0'; c <= '9'; ++c)
    classes[c] = Digit | IdChar;
  classes['_'] = IdStart | IdChar;
  for (const char c : {' ', '\t', '\v', '\f'})
    classes[static_cast<unsigned char>(c)] = Blank;
  for (const char c : SpecialBytes)
    classes[static_cast<unsigned char>(c)] |= Special;
  return classes;
}

constexpr std::array<std::uint8_t, 256> Classes = MakeClasses();

bool Has(char c, std::uint8_t type) {
  return (Classes[static_cast<unsigned char>(c)] & type) != 0;
}

bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

// The first Special byte at or after at, or the end of the text. Most of a
// header's bytes are passed over unseen (nine tenths of what the MinGW-w64
// headers give to read), so where SSE2 is there (every x86-64) sixteen are
// tested at a time: a fifth of the instructions of the byte loop.
std::size_t SpecialFrom(std::string_view text, std::size_t at) {
#if defined(__SSE2__)
  for (; at + 16 <= text.size(); at += 16) {
    __m128i bytes;
    std::memcpy(&bytes, text.data() + at, sizeof bytes);
    __m128i special = _mm_setzero_si128();
    for (const char c : SpecialBytes)
      special = _mm_or_si128(special, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)));
    if (const auto found = static_cast<unsigned>(_mm_movemask_epi8(special)); found != 0)
      return at + static_cast<std::size_t>(std::countr_zero(found));
  }
#endif
  while (at < text.size() && !Has(text[at], Special))
    ++at;
  return at;
}

bool HasLineEnd(std::string_view text) {
  for (const char c : text) {
    if (IsLineEnd(c))
      return true;
  }
  return false;
}

// A backslash, optional blanks and a line end join two lines; the compilers
// forgive the blanks.
std::size_t JoinEnd(std::string_view text, std::size_t at) {
  if (at >= text.size() || text[at] != '\\')
    return at;
  std::size_t next = at + 1;
  while (next < text.size() && (text[next] == ' ' || text[next] == '\t'))
    ++next;
  if (next >= text.size() || !IsLineEnd(text[next]))
    return at;
  if (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n')
    ++next;
  return next + 1;
}

std::string Joined(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t next = JoinEnd(text, at);
    if (next != at)
      at = next;
    else
      joined.push_back(text[at++]);
  }
  return joined;
}

}  // namespace

Lexer::Lexer(std::string_view source, std::uint32_t fileIndex, bool strict, std::deque<std::string>& spellings)
    : text(source), file(fileIndex), strictStrings(strict), arena(&spellings) {}

SourceLocation Lexer::LocationOf(std::size_t offset) const {
  SourceLocation location;
  location.file = file;
  location.line = state.line + lineDelta;
  location.column = static_cast<std::uint32_t>(offset - state.lineStart + 1);
  location.offset = offset;
  return location;
}

void Lexer::Fail(std::size_t offset, std::string message) {
  if (!error)
    error = LexError{LocationOf(offset), std::move(message)};
}

void Lexer::SetCodePage(int page) {
  if (page != codePage) {
    codePage = page;
    doubleByte = IsDoubleByteCodePage(page);
  }
}

void Lexer::SetLineNumber(std::uint32_t number) {
  lineDelta = number - state.line;  // wraps as the line numbers themselves do
}

std::size_t Lexer::SpliceEnd(std::size_t at) const {
  return JoinEnd(text, at);
}

std::size_t Lexer::NextLogical(std::size_t at) {
  for (;;) {
    const std::size_t end = SpliceEnd(at);
    if (end == at)
      return at;
    spliced = true;
    at = end;
  }
}

void Lexer::CountLines(std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    const char c = text[i];
    if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
      ++state.line;
      state.lineStart = i + 1;
    }
  }
}

void Lexer::ConsumeLineEnd() {
  std::size_t& position = state.position;
  if (text[position] == '\r' && position + 1 < text.size() && text[position + 1] == '\n')
    ++position;
  ++position;
  ++state.line;
  state.lineStart = position;
  state.atLineStart = true;
}

void Lexer::SkipBlockComment(std::size_t start) {
  std::size_t from = NextLogical(start + 1) + 1;
  for (;;) {
    const void* star = from < text.size() ? std::memchr(text.data() + from, '*', text.size() - from) : nullptr;
    if (star == nullptr) {
      Fail(start, "unclosed comment");
      return;
    }
    const auto at = static_cast<std::size_t>(static_cast<const char*>(star) - text.data());
    const std::size_t after = NextLogical(at + 1);
    if (after < text.size() && text[after] == '/') {
      CountLines(start, after + 1);
      state.position = after + 1;
      return;
    }
    from = at + 1;
  }
}

// Where a // comment ends: at the first line end that no backslash continues.
std::size_t Lexer::LineCommentEnd(std::size_t start) const {
  std::size_t at = start;
  for (;;) {
    while (at < text.size() && !IsLineEnd(text[at]))
      ++at;
    if (at >= text.size())
      return at;
    std::size_t back = at;
    while (back > start && (text[back - 1] == ' ' || text[back - 1] == '\t'))
      --back;
    if (back == start || text[back - 1] != '\\')
      return at;
    if (doubleByte) {
      // The backslash may be the trail byte of a character.
      std::size_t character = start;
      while (character < back - 1)
        character += CharacterLength(text, character, codePage);
      if (character != back - 1)
        return at;
    }
    at = SpliceEnd(back - 1);
  }
}

bool Lexer::SkipSpace(bool inDirective) {
  bool space = false;
  for (;;) {
    const std::size_t at = state.position;
    if (at >= text.size())
      return space;
    const char c = text[at];
    if (Has(c, Blank)) {
      ++state.position;
      space = true;
    } else if (IsLineEnd(c)) {
      if (inDirective)
        return space;
      ConsumeLineEnd();
      space = true;
    } else if (c == '/') {
      const std::size_t next = NextLogical(at + 1);
      if (next < text.size() && text[next] == '*') {
        SkipBlockComment(at);
        if (error)
          return space;
      } else if (next < text.size() && text[next] == '/') {
        const std::size_t end = LineCommentEnd(next + 1);
        CountLines(at, end);
        state.position = end;
      } else {
        return space;
      }
      space = true;
    } else if (c == '\\' && SpliceEnd(at) != at) {
      const std::size_t end = NextLogical(at);
      CountLines(at, end);
      state.position = end;
    } else {
      return space;
    }
  }
}

// Where a quoted text ends: after its closing quote, or, when its line (or
// the text) ends first, there. Strings take "" as a quote inside, as resource
// compilers read them; both take \" as one.
Lexer::Quoted Lexer::QuotedEnd(std::size_t quote) {
  const char delimiter = text[quote];
  const bool doubledQuotes = delimiter == '"';
  Unclosed& unclosed = unclosedQuotes[doubledQuotes ? 1 : 0];
  // A later quote on a line whose earlier quote found no end finds none
  // either (it was escaped, so its search runs in step): searching again
  // would make a line of '\'\'\' quadratic.
  if (quote >= unclosed.from && quote < unclosed.until) {
    spliced = true;  // the range may hold a backslash-newline this search does not pass again
    return {unclosed.until, false};
  }
  std::size_t at = quote + 1;
  while (at < text.size()) {
    // Outside a double-byte code page no byte but a Special one needs a look.
    if (!doubleByte && (at = SpecialFrom(text, at)) >= text.size())
      break;
    const char c = text[at];
    if (c == delimiter) {
      const std::size_t next = doubledQuotes ? NextLogical(at + 1) : at + 1;
      if (!doubledQuotes || next >= text.size() || text[next] != delimiter)
        return {at + 1, true};
      at = next + 1;
    } else if (c == '\\') {
      const std::size_t escaped = NextLogical(at);
      if (escaped != at) {
        at = escaped;
        continue;
      }
      at = NextLogical(at + 1);
      if (at >= text.size() || IsLineEnd(text[at]))
        break;
      ++at;
    } else if (IsLineEnd(c)) {
      break;
    } else {
      at += doubleByte ? CharacterLength(text, at, codePage) : 1;
    }
  }
  unclosed = {quote, std::min(at, text.size())};
  return {unclosed.until, false};
}

std::size_t Lexer::IdentifierEnd(std::size_t start) {
  std::size_t at = start;
  for (;;) {
    while (at < text.size() && Has(text[at], IdChar))
      ++at;
    const std::size_t next = NextLogical(at);
    if (next == at || next >= text.size() || !Has(text[next], IdChar))
      return at;
    at = next;
  }
}

// A pp-number as C reads it, except that a sign after 'e' belongs to it only
// in a decimal number: 0x1E-2 is three tokens, as resource compilers read it.
std::size_t Lexer::NumberEnd(std::size_t start) {
  const bool hex = text[start] == '0' && start + 1 < text.size() && (text[start + 1] == 'x' || text[start + 1] == 'X');
  std::size_t at = start + 1;
  for (;;) {
    // Digits need none of the checks below: most numbers are read here.
    while (at < text.size() && Has(text[at], Digit))
      ++at;
    at = NextLogical(at);
    if (at >= text.size())
      return at;
    const char c = text[at];
    if (!Has(c, IdChar) && c != '.')
      return at;
    const char lower = static_cast<char>(c | 0x20);
    if ((lower == 'e' && !hex) || (lower == 'p' && hex)) {
      const std::size_t sign = NextLogical(at + 1);
      if (sign < text.size() && (text[sign] == '+' || text[sign] == '-')) {
        at = sign + 1;
        continue;
      }
    }
    ++at;
  }
}

std::size_t Lexer::PunctuatorEnd(std::size_t start) {
  const char c = text[start];
  const std::size_t second = NextLogical(start + 1);
  const char next = second < text.size() ? text[second] : '\0';
  switch (c) {
    case '#':
      return next == '#' ? second + 1 : start + 1;
    case '<':
    case '>':
      return next == c || next == '=' ? second + 1 : start + 1;
    case '=':
    case '!':
      return next == '=' ? second + 1 : start + 1;
    case '&':
    case '|':
      return next == c ? second + 1 : start + 1;
    case ',':
    case '(':
    case ')':
    case '{':
    case '}':
    case '+':
    case '-':
    case '*':
    case '/':
    case '~':
    case '^':
    case '%':
    case '?':
    case ':':
      return start + 1;
    default:
      return 0;
  }
}

void Lexer::Next(LexToken& token, bool inDirective) {
  // Blanks and line ends, all that stands between most tokens, are passed
  // here; SkipSpace is called only for what may begin a comment or a line
  // join, which saves a call per token.
  bool space = false;
  while (state.position < text.size()) {
    const char c = text[state.position];
    if (Has(c, Blank)) {
      ++state.position;
    } else if (IsLineEnd(c) && !inDirective) {
      ConsumeLineEnd();
    } else {
      if (c == '/' || c == '\\')
        space |= SkipSpace(inDirective);
      break;
    }
    space = true;
  }
  const std::size_t start = state.position;
  spliced = false;
  token.flags = space ? LexFlag::SpaceBefore : 0;
  token.location = LocationOf(start);
  token.text = {};
  token.kind = TokenKind::End;
  token.keyword = Keyword::None;
  if (error) {
    token.end = EndMark::Failed;
    return;
  }
  if (start >= text.size()) {
    token.end = EndMark::File;
    return;
  }
  const char c = text[start];
  if (IsLineEnd(c)) {
    token.end = EndMark::Line;
    return;
  }
  if (c == '\x1A') {  // the DOS end of the file: what follows is not read
    state.position = text.size();
    token.end = EndMark::File;
    return;
  }
  if (state.atLineStart)
    token.flags |= LexFlag::LineStart;

  std::size_t end = start + 1;
  TokenKind kind = TokenKind::Other;
  if (Has(c, IdStart)) {
    end = IdentifierEnd(start + 1);
    kind = TokenKind::Identifier;
    if ((c == 'L' || c == 'l') && end == start + 1) {
      const std::size_t quote = NextLogical(end);
      if (quote < text.size() && (text[quote] == '"' || text[quote] == '\'')) {
        const Quoted close = QuotedEnd(quote);
        if (close.closed) {
          end = close.end;
          kind = text[quote] == '"' ? TokenKind::String : TokenKind::CharLiteral;
        } else if (text[quote] == '"' && strictStrings) {
          Fail(start, "unclosed string");
          token.end = EndMark::Failed;
          return;
        }
      }
    }
  } else if (Has(c, Digit) ||
             (c == '.' && NextLogical(start + 1) < text.size() && Has(text[NextLogical(start + 1)], Digit))) {
    end = NumberEnd(start);
    kind = TokenKind::Number;
  } else if (c == '"' || c == '\'') {
    const Quoted close = QuotedEnd(start);
    if (close.closed) {
      end = close.end;
      kind = c == '"' ? TokenKind::String : TokenKind::CharLiteral;
    } else if (c == '"' && strictStrings) {
      Fail(start, "unclosed string");
      token.end = EndMark::Failed;
      return;
    }
  } else if (const std::size_t punctuatorEnd = PunctuatorEnd(start); punctuatorEnd != 0) {
    end = punctuatorEnd;
    kind = TokenKind::Punctuator;
  }

  state.atLineStart = false;
  state.position = end;
  token.kind = kind;
  token.text = text.substr(start, end - start);
  // Only a backslash-newline puts a line end inside a token (a double-byte
  // character is checked too): most tokens skip the scan for one.
  if ((spliced || doubleByte) && HasLineEnd(token.text)) {
    token.text = arena->emplace_back(Joined(token.text));
    CountLines(start, end);
  }
  if (kind == TokenKind::Identifier)
    token.keyword = ClassifyKeyword(token.text);
}

bool Lexer::SkipRestOfLine() {
  bool content = false;
  for (;;) {
    // Blanks while the line may still be empty, then every byte up to the
    // next special one: the loop that passes over most of a header's bytes
    // tests one class, not two.
    std::size_t at = state.position;
    if (!content) {
      while (at < text.size() && Has(text[at], Blank))
        ++at;
      content = at < text.size() && !Has(text[at], Special);
    }
    at = SpecialFrom(text, at);
    state.position = at;
    if (at >= text.size())
      return content;
    const char c = text[at];
    if (IsLineEnd(c)) {
      ConsumeLineEnd();
      return content;
    }
    if (c == '"' || c == '\'') {
      content = true;
      const std::size_t end = QuotedEnd(at).end;
      CountLines(at, end);
      state.position = end;
      continue;
    }
    const std::size_t before = state.position;
    SkipSpace(true);
    if (error)
      return content;
    if (state.position == before) {
      content = true;
      ++state.position;
    }
  }
}

bool Lexer::SkipToDirective() {
  if (!state.atLineStart)
    SkipRestOfLine();
  for (;;) {
    if (error)
      return false;
    SkipSpace(true);
    if (error || state.position >= text.size())
      return false;
    const char c = text[state.position];
    if (c == '#') {
      state.atLineStart = true;
      return true;
    }
    if (IsLineEnd(c))
      ConsumeLineEnd();
    else
      SkipRestOfLine();
  }
}

std::string Lexer::RestOfLine() {
  std::string line;
  for (;;) {
    const bool space = SkipSpace(true);
    const std::size_t start = state.position;
    if (error || start >= text.size() || IsLineEnd(text[start]))
      return line;
    if (space && !line.empty())
      line.push_back(' ');
    const char c = text[start];
    std::size_t end = start + 1;
    if (c == '"' || c == '\'') {
      const Quoted close = QuotedEnd(start);
      if (close.closed)
        end = close.end;
    } else {
      while (end < text.size() && !Has(text[end], Special | Blank))
        ++end;
    }
    line.append(Joined(text.substr(start, end - start)));
    CountLines(start, end);
    state.position = end;
    state.atLineStart = false;
  }
}

std::optional<Lexer::HeaderName> Lexer::NextHeaderName() {
  SkipSpace(true);
  const std::size_t start = state.position;
  if (error || start >= text.size() || (text[start] != '"' && text[start] != '<'))
    return std::nullopt;
  const char close = text[start] == '"' ? '"' : '>';
  std::size_t at = start + 1;
  while (at < text.size() && text[at] != close && !IsLineEnd(text[at]))
    ++at;
  if (at >= text.size() || text[at] != close)
    return std::nullopt;
  HeaderName header;
  header.name = text.substr(start + 1, at - start - 1);
  header.angled = close == '>';
  header.location = LocationOf(start);
  state.position = at + 1;
  state.atLineStart = false;
  return header;
}

bool Lexer::ParenthesisFollows() const {
  return state.position < text.size() && text[state.position] == '(';
}

bool IsSingleToken(std::string_view text, std::deque<std::string>& arena, TokenKind& kind) {
  Lexer lexer(text, 0, false, arena);
  LexToken token;
  lexer.Next(token, true);
  kind = token.kind;
  return token.kind != TokenKind::End && token.location.offset == 0 && lexer.Position() == text.size();
}

std::string WithoutLineJoins(std::string_view text) {
  return Joined(text);
}

std::string DescribeToken(const LexToken& token) {
  if (token.kind == TokenKind::End)
    return token.end == EndMark::Line ? "the end of the line" : "the end of the file";
  constexpr std::size_t Longest = 40;
  if (token.text.size() > Longest)
    return "'" + std::string(token.text.substr(0, Longest)) + "...'";
  return "'" + std::string(token.text) + "'";
}

}  // namespace trellane
