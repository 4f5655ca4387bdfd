#include "script/Preprocessor.h"

#include <algorithm>

#include "script/HeaderSearch.h"
#include "script/PreprocessorImpl.h"

namespace trellane {
namespace {

// What the resource compilers predefine that the Windows headers test:
// RC_INVOKED and _WIN32 (the Windows compiler), _WIN64 and __GNUC__ (windres
// hands on its 64-bit MinGW-w64 compiler's; MinGW-w64's vadefs.h and _mingw.h
// stop without a compiler they know).
constexpr std::string_view Predefined[] = {"RC_INVOKED 1", "_WIN32 1", "_WIN64 1", "__GNUC__ 4"};

// Where a decoding problem stands, counted in the raw bytes' lines.
SourceLocation LocationInBytes(std::uint32_t file, std::string_view bytes, std::size_t offset,
                               SourceEncoding encoding) {
  SourceLocation location;
  location.file = file;
  location.offset = offset;
  location.column = 0;
  const bool utf16 = encoding == SourceEncoding::Utf16LE || encoding == SourceEncoding::Utf16BE;
  const std::size_t step = utf16 ? 2 : 1;
  const std::size_t low = encoding == SourceEncoding::Utf16BE ? 1 : 0;
  for (std::size_t at = 0; at + step <= offset && at + step <= bytes.size(); at += step) {
    if (bytes[at + low] == '\n' && (!utf16 || bytes[at + 1 - low] == '\0'))
      ++location.line;
  }
  return location;
}

// The text of a file's bytes and, when they cannot be decoded, where the
// problem stands (its file left for the caller). A file that needs no
// conversion gives its bytes to the text rather than being copied; only a
// converted (UTF-16) file can fail to decode, and it keeps its bytes for that.
DecodedSource Decoded(std::string bytes, SourceLocation& problemAt) {
  const std::string_view mark = std::string_view(bytes).substr(0, 2);
  if (mark == "\xFF\xFE" || mark == "\xFE\xFF") {
    DecodedSource decoded = DecodeSource(std::string_view(bytes));
    if (!decoded.ok)
      problemAt = LocationInBytes(0, bytes, decoded.problemOffset, decoded.encoding);
    return decoded;
  }
  return DecodeSource(std::move(bytes));
}

}  // namespace

Preprocessor::Impl::Impl(SourceFiles& sources, const PreprocessorOptions& settings, IncludeFileReader& reader,
                         Diagnostics& found)
    : files(sources), options(settings), search(settings, reader), diagnostics(found), expander(*this, arena) {}

void Preprocessor::Impl::Start(const std::string& path, std::string bytes) {
  started = true;
  SourceLocation problemAt;
  DecodedSource decoded = Decoded(std::move(bytes), problemAt);
  SourceFile script;
  script.path = path;
  script.text = std::move(decoded.text);
  script.encoding = decoded.encoding;
  problemAt.file = files.Add(std::move(script));
  if (!decoded.ok) {
    Error(problemAt, decoded.problem);
    return;
  }
  codePage = options.codePage.value_or(DefaultCodePage);
  if (!IsKnownInputCodePage(codePage)) {
    definingOption = true;
    Error({}, "unknown code page " + std::to_string(codePage));
    return;
  }
  for (const std::string_view macro : Predefined)
    DefineFromText(macro);
  for (const MacroDefinition& define : options.defines) {
    std::string& text = arena.emplace_back(define.name);
    text.push_back(' ');
    text.append(define.value);
    DefineFromText(text);
  }
  PushFile(problemAt.file, search.ScriptKey(path));
}

void Preprocessor::Impl::PushFile(std::uint32_t file, std::string key) {
  const SourceFile& source = files[file];
  Frame frame(Lexer(source.text, file, source.resourceScript, arena));
  frame.file = file;
  frame.key = std::move(key);
  frame.conditionalBase = conditionals.size();
  frame.resourceScript = source.resourceScript;
  frame.unicode = source.encoding != SourceEncoding::CodePage;
  frame.skipContent = !source.resourceScript;
  frames.push_back(std::move(frame));
  UpdateCodePage();
}

// Set where the page or the file changes, not for each token: the file's
// tokens take their page from the lexer.
void Preprocessor::Impl::UpdateCodePage() {
  Frame& frame = frames.back();
  frame.lexer.SetCodePage(frame.unicode ? Utf8CodePage : codePage);
}

void Preprocessor::Impl::LeaveFile() {
  Frame& frame = frames.back();
  if (conditionals.size() > frame.conditionalBase) {
    const Conditional& open = conditionals.back();
    Error(open.location, "#" + std::string(open.directive) + " without #endif before the end of the file");
    return;
  }
  // A header's other tokens do not count, so only directives can lie
  // outside its guards.
  if (frame.guarded && !frame.guards.empty() && !frame.resourceScript)
    guards[frame.key] = std::move(frame.guards);
  frames.pop_back();
  if (!frames.empty())
    UpdateCodePage();  // the file may have changed it
}

bool Preprocessor::Impl::Active() const {
  return conditionals.size() == frames.back().conditionalBase || conditionals.back().active;
}

void Preprocessor::Impl::UpdateSkipping() {
  Frame& frame = frames.back();
  frame.skipContent = !frame.resourceScript || !Active();
}

bool Preprocessor::Impl::Next(Token& token) {
  if (!started || failed) {
    token = Token{};
    return false;
  }
  if (lookahead)
    current ^= 1;
  else
    Pull(pulled[current]);
  lookahead = false;
  const Pulled& now = pulled[current];
  if (now.token.kind == TokenKind::End) {
    token = Token{};
    return false;
  }
  token.kind = now.token.kind;
  token.keyword = now.token.keyword;
  // Field by field: the lexer has just stored them one by one, and a wider
  // copy would wait for those stores to reach the cache.
  token.text = std::string_view(now.token.text.data(), now.token.text.size());
  if (!now.fromExpansion) {
    token.location.file = now.token.location.file;
    token.location.line = now.token.location.line;
    token.location.column = now.token.location.column;
    token.location.offset = now.token.location.offset;
    token.codePage = now.token.codePage;
    token.macro = {};
    token.startsExpansion = false;
    token.endsExpansion = false;
    return true;
  }
  token.location = now.location;
  token.codePage = now.codePage;
  token.macro = now.macro;
  token.startsExpansion = now.serial != lastSerial;
  lastSerial = now.serial;
  // Whether this token ends its expansion shows only in the token after it.
  const Pulled& after = pulled[current ^ 1];
  Pull(pulled[current ^ 1]);
  lookahead = true;
  token.endsExpansion = !after.fromExpansion || after.serial != now.serial;
  return true;
}

void Preprocessor::Impl::Pull(Pulled& into) {
  // With no expansion open the file's token is read here, a direct call
  // rather than one through the expander and its source; only a name goes
  // to the expander, to see whether it is a macro.
  bool fromContext = false;
  if (!expander.ReadsFile()) {
    fromContext = expander.ExpandedToken(into.token);
  } else {
    FileToken(into.token);
    if (into.token.kind == TokenKind::Identifier)
      fromContext = expander.Expand(into.token, false);
  }
  into.fromExpansion = fromContext && into.token.kind != TokenKind::End;
  if (into.fromExpansion) {
    const OutermostExpansion& outermost = expander.Outermost();
    into.serial = outermost.serial;
    into.macro = outermost.name;
    into.location = outermost.location;
    into.codePage = outermost.codePage;
  }
}

void Preprocessor::Impl::FileToken(LexToken& token) {
  for (;;) {
    if (failed) {
      token = Ended(EndMark::Failed);
      return;
    }
    if (frames.empty()) {
      token = Ended(EndMark::File);
      return;
    }
    Frame& frame = frames.back();
    if (mode != ReadMode::Directive && frame.skipContent)
      frame.lexer.SkipToDirective();
    frame.lexer.Next(token, mode == ReadMode::Directive);
    if (token.kind == TokenKind::End) {
      if (token.end == EndMark::Failed) {
        ReportLexError(frame.lexer);
        return;
      }
      if (token.end == EndMark::Line || mode != ReadMode::Normal)
        return;
      LeaveFile();
      continue;
    }
    if (mode != ReadMode::Directive && (token.flags & LexFlag::LineStart) != 0 && token.Is('#')) {
      if (mode == ReadMode::Parenthesis)
        return;
      const LexToken hash = token;
      HandleDirective(hash);
      continue;
    }
    token.codePage = static_cast<std::uint16_t>(frame.lexer.CodePage());
    return;
  }
}

LexToken Preprocessor::Impl::DirectiveToken() {
  LexToken token;
  FileToken(token);
  return token;
}

bool Preprocessor::Impl::TakeParenthesis() {
  if (frames.empty())
    return false;
  Lexer& lexer = frames.back().lexer;
  const Lexer::State state = lexer.Save();
  LexToken token;
  {
    const Scoped<ReadMode> lookingAhead(mode, mode == ReadMode::Normal ? ReadMode::Parenthesis : mode);
    FileToken(token);
  }
  if (token.Is('('))
    return true;
  if (!failed)
    lexer.Restore(state);
  return false;
}

void Preprocessor::Impl::Include(const std::string& name, bool angled, const SourceLocation& at) {
  std::vector<std::string_view> includers;
  for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame)
    includers.push_back(files[frame->file].path);
  HeaderLookup lookup =
      search.Find(name, angled, includers, [this](const std::string& key) { return ReadBefore(key); });
  switch (lookup.kind) {
    case HeaderKind::Missing: {
      std::string looked;
      for (const std::string& folder : lookup.looked)
        looked += (looked.empty() ? "" : ", ") + folder;
      Error(at, "cannot find include file '" + name + "' (looked in " + (looked.empty() ? "no folder" : looked) +
                    "); -I FOLDER adds a folder to the search");
      return;
    }
    case HeaderKind::Unreadable:
      Error(at, "cannot read include file '" + lookup.path + "': " + lookup.problem);
      return;
    case HeaderKind::Framework:
      if (emptyFrameworkFiles.insert(lookup.key).second)
        Note(at, "'" + name + "' is not on the search path and is read as empty: its resources are the framework's");
      return;
    case HeaderKind::ReadBefore:
      return;
    case HeaderKind::File:
    case HeaderKind::Builtin:
      break;
  }
  if (!lookup.warning.empty())
    Warning(at, lookup.warning);
  // The additions go under the file, so that they are read when it ends.
  if (!lookup.additionsPath.empty())
    EnterFile(lookup.additionsPath, lookup.additionsPath, std::move(lookup.additions), at);
  EnterFile(lookup.path, lookup.key, std::move(lookup.bytes), at);
}

// A file whose #pragma once or include guard says a second reading gives
// nothing: it is neither read nor decoded again.
bool Preprocessor::Impl::ReadBefore(const std::string& key) {
  if (onceFiles.count(key) != 0)
    return true;
  const auto guard = guards.find(key);
  return guard != guards.end() && std::all_of(guard->second.begin(), guard->second.end(),
                                              [&](const std::string& name) { return expander.IsDefined(name); });
}

void Preprocessor::Impl::EnterFile(const std::string& path, std::string key, std::string bytes,
                                   const SourceLocation& at) {
  // A header may include itself once more before its guard (ole2.h by way
  // of wtypesbase.h); a third reading is a cycle.
  const auto reading = std::count_if(frames.begin(), frames.end(),
                                     [&](const Frame& frame) { return frame.key == key && !MayEnterAgain(frame); });
  if (reading >= (IsResourceScriptName(path) ? 1 : 2)) {
    Error(at, "#include cycle: '" + path + "' is already being read");
    return;
  }
  if (frames.size() > MaxIncludeDepth) {
    Error(at, "#include nested more than " + std::to_string(MaxIncludeDepth) + " files deep");
    return;
  }
  SourceLocation problemAt;
  DecodedSource decoded = Decoded(std::move(bytes), problemAt);
  includedBytes += decoded.text.size();
  if (includedBytes > MaxIncludedBytes) {
    Error(at, "the included files pass " + std::to_string(MaxIncludedBytes) + " bytes");
    return;
  }
  SourceFile source;
  source.path = path;
  source.text = std::move(decoded.text);
  source.encoding = decoded.encoding;
  source.resourceScript = IsResourceScriptName(path);
  source.included = true;
  source.includedAt = at;
  problemAt.file = files.Add(std::move(source));
  if (!decoded.ok) {
    Error(problemAt, decoded.problem);
    return;
  }
  PushFile(problemAt.file, std::move(key));
}

// A file read again while it is being read is a cycle, unless an include
// guard (#ifndef NAME first, with NAME defined by now) empties it.
bool Preprocessor::Impl::MayEnterAgain(const Frame& frame) {
  Lexer lexer(files[frame.file].text, frame.file, false, arena);
  LexToken token;
  lexer.Next(token, false);
  if (!token.Is('#'))
    return false;
  lexer.Next(token, true);
  const bool ifndef = token.text == "ifndef";
  if (!ifndef && token.text != "if")
    return false;
  lexer.Next(token, true);
  if (!ifndef) {
    if (!token.Is('!'))
      return false;
    lexer.Next(token, true);
    if (token.text != "defined")
      return false;
    lexer.Next(token, true);
    if (token.Is('('))
      lexer.Next(token, true);
  }
  return token.kind == TokenKind::Identifier && expander.IsDefined(token.text);
}

void Preprocessor::Impl::Error(const SourceLocation& at, std::string message) {
  if (failed)
    return;
  failed = true;
  if (definingOption) {
    Diagnostic diagnostic;
    diagnostic.severity = Severity::Error;
    diagnostic.message = std::move(message);
    diagnostics.push_back(std::move(diagnostic));
  } else {
    diagnostics.push_back(DiagnosticAt(files, at, Severity::Error, std::move(message)));
  }
}

void Preprocessor::Impl::Warning(const SourceLocation& at, std::string message) {
  // One macro can warn a million times; the first warnings tell as much.
  if (++warnings > MaxWarnings) {
    if (warnings == MaxWarnings + 1)
      diagnostics.push_back(DiagnosticAt(files, at, Severity::Warning, "more warnings left out"));
    return;
  }
  diagnostics.push_back(DiagnosticAt(files, at, Severity::Warning, std::move(message)));
}

void Preprocessor::Impl::Note(const SourceLocation& at, std::string message) {
  diagnostics.push_back(DiagnosticAt(files, at, Severity::Note, std::move(message)));
}

void Preprocessor::Impl::ReportLexError(const Lexer& lexer) {
  if (lexer.Error())
    Error(lexer.Error()->location, lexer.Error()->message);
}

Preprocessor::Preprocessor(SourceFiles& files, const PreprocessorOptions& options, IncludeFileReader& includes,
                           Diagnostics& diagnostics)
    : impl(std::make_unique<Impl>(files, options, includes, diagnostics)) {}

Preprocessor::~Preprocessor() = default;

void Preprocessor::Start(const std::string& path, std::string bytes) {
  impl->Start(path, std::move(bytes));
}

bool Preprocessor::Next(Token& token) {
  return impl->Next(token);
}

bool Preprocessor::Failed() const {
  return impl->Failed();
}

}  // namespace trellane
