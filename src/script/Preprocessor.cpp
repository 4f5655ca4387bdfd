#include "script/Preprocessor.h"

#include <algorithm>
#include <iterator>

#include "script/PreprocessorImpl.h"
#include "script/WindowsHeaders.h"
#include "text/AsciiCase.h"

namespace trellane {
namespace {

// Where the built-in headers are, as the messages name them.
constexpr std::string_view BuiltinFolder = "<built-in>/";

// What the resource compilers predefine that the Windows headers test:
// RC_INVOKED and _WIN32 (the Windows compiler), _WIN64 and __GNUC__ (windres
// hands on its 64-bit MinGW-w64 compiler's; MinGW-w64's vadefs.h and _mingw.h
// stop without a compiler they know).
constexpr std::string_view Predefined[] = {"RC_INVOKED 1", "_WIN32 1", "_WIN64 1", "__GNUC__ 4"};

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// An include name with '/' between its folders: resource scripts write
// "res\\app.h" (one backslash or two) as often as "res/app.h".
std::string FolderSeparated(std::string_view name) {
  std::string path;
  for (const char c : name) {
    if (!IsSeparator(c))
      path.push_back(c);
    else if (path.empty() || path.back() != '/')
      path.push_back('/');
  }
  return path;
}

bool IsAbsolute(std::string_view path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]) &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive || (!path.empty() && IsSeparator(path[0]));
}

std::string FolderOf(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string_view::npos)
    return {};
  return std::string(path.substr(0, separator == 0 ? 1 : separator));
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty())
    return name;
  return IsSeparator(folder.back()) ? folder + name : folder + "/" + name;
}

// The path without "." and "folder/.." steps, to know a file included again
// under another spelling.
std::string NormalisedPath(std::string_view path) {
  std::string root;
  if (IsAbsolute(path)) {
    const std::size_t rootLength = IsSeparator(path[0]) ? 1 : 3;
    root = FolderSeparated(path.substr(0, rootLength));
    path.remove_prefix(rootLength);
  }
  std::vector<std::string_view> steps;
  while (!path.empty()) {
    const std::size_t separator = std::min(path.find_first_of("/\\"), path.size());
    const std::string_view step = path.substr(0, separator);
    path.remove_prefix(std::min(separator + 1, path.size()));
    if (step.empty() || step == ".")
      continue;
    if (step == ".." && !steps.empty() && steps.back() != "..")
      steps.pop_back();
    else if (step != ".." || root.empty())
      steps.push_back(step);
  }
  std::string normalised = root;
  for (std::size_t at = 0; at < steps.size(); ++at) {
    if (at > 0)
      normalised.push_back('/');
    normalised.append(steps[at]);
  }
#ifdef _WIN32
  for (char& c : normalised)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
#endif
  return normalised;
}

bool IsResourceScriptName(std::string_view path) {
  const std::size_t dot = path.find_last_of("./\\");
  if (dot == std::string_view::npos || path[dot] != '.')
    return false;
  std::string extension;
  for (const char c : path.substr(dot + 1))
    extension.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c));
  return extension == "rc" || extension == "rc2" || extension == "dlg";
}

// The resource scripts of MFC and ATL and the version includes of the SDK:
// a script that includes them draws the framework's own resources, none of
// its own, so a system without them reads them as empty.
constexpr std::string_view FrameworkFiles[] = {
    "afxctl.rc", "afxdb.rc",     "afxisapi.rc", "afxolecl.rc", "afxolesv.rc", "afxprint.rc",
    "afxres.rc", "afxribbon.rc", "atlres.h",    "atlresce.h",  "common.ver",
};

std::string_view FileName(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

bool IsFrameworkFile(std::string_view path) {
  const std::string name = AsciiLowered(FileName(path));
  return std::find(std::begin(FrameworkFiles), std::end(FrameworkFiles), name) != std::end(FrameworkFiles);
}

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
    : files(sources), options(settings), includes(reader), diagnostics(found) {}

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
  const FoundFile found = includes.Find(path);
  PushFile(problemAt.file, NormalisedPath(found.identity.empty() ? path : found.identity));
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
}

void Preprocessor::Impl::LeaveFile() {
  Frame& frame = frames.back();
  if (conditionals.size() > frame.conditionalBase) {
    const Conditional& open = conditionals.back();
    Error(open.location, "#" + std::string(open.directive) + " without #endif before the end of the file");
    return;
  }
  // A header's other tokens do not count, so only directives can lie
  // outside its guard.
  if (frame.guardClosed && !frame.guard.empty() && !frame.resourceScript)
    guards[frame.key] = std::move(frame.guard);
  frames.pop_back();
}

bool Preprocessor::Impl::Active() const {
  return conditionals.size() == frames.back().conditionalBase || conditionals.back().active;
}

void Preprocessor::Impl::UpdateSkipping() {
  Frame& frame = frames.back();
  frame.skipContent = !frame.resourceScript || !Active();
}

Token Preprocessor::Impl::Next() {
  Token token;
  if (!started || failed)
    return token;
  if (lookahead)
    current ^= 1;
  else
    Pull(pulled[current]);
  lookahead = false;
  const Pulled& now = pulled[current];
  if (now.token.kind == TokenKind::End)
    return token;
  token.kind = now.token.kind;
  // Field by field: the lexer has just stored them one by one, and a wider
  // copy would wait for those stores to reach the cache.
  token.text = std::string_view(now.token.text.data(), now.token.text.size());
  if (!now.fromExpansion) {
    token.location.file = now.token.location.file;
    token.location.line = now.token.location.line;
    token.location.column = now.token.location.column;
    token.location.offset = now.token.location.offset;
    token.codePage = now.token.codePage;
    return token;
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
  return token;
}

void Preprocessor::Impl::Pull(Pulled& into) {
  bool fromContext = false;
  ExpandedToken(into.token, fromContext);
  into.fromExpansion = fromContext && into.token.kind != TokenKind::End;
  if (into.fromExpansion) {
    into.serial = serial;
    into.macro = outermostName;
    into.location = outermostLocation;
    into.codePage = outermostCodePage;
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
    frame.lexer.SetCodePage(frame.unicode ? Utf8CodePage : codePage);
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
    token.codePage = static_cast<std::uint16_t>(frame.unicode ? Utf8CodePage : codePage);
    return;
  }
}

LexToken Preprocessor::Impl::DirectiveToken() {
  LexToken token;
  FileToken(token);
  return token;
}

void Preprocessor::Impl::Include(const std::string& name, bool angled, const SourceLocation& at) {
  const std::string relative = FolderSeparated(name);
  std::vector<std::string> candidates;
  if (IsAbsolute(relative)) {
    candidates.push_back(relative);
  } else {
    if (!angled)
      candidates.push_back(Joined(FolderOf(files[frames.back().file].path), relative));
    for (const std::string& folder : options.includeFolders)
      candidates.push_back(Joined(folder, relative));
    for (const std::string& folder : options.environmentFolders)
      candidates.push_back(Joined(folder, relative));
  }
  for (const std::string& candidate : candidates) {
    FoundFile found = includes.Find(candidate);
    if (!found.found)
      continue;
    const std::string& path = found.path;
    // The file itself is the key, whatever name and letter case reached it.
    std::string key = NormalisedPath(found.identity.empty() ? path : found.identity);
    if (ReadBefore(key))
      return;
    IncludeFile file = includes.Read(path);
    if (file.status == IncludeStatus::NotFound)
      continue;
    if (file.status == IncludeStatus::Failed) {
      Error(at, "cannot read include file '" + path + "': " + file.problem);
      return;
    }
    if (!found.warning.empty())
      Warning(at, found.warning);
    EnterFile(path, std::move(key), std::move(file.bytes), at);
    return;
  }
  if (const std::optional<std::string_view> header = FindBuiltinHeader(relative)) {
    const std::string path = std::string(BuiltinFolder) + std::string(*header);
    if (!ReadBefore(path))
      EnterFile(path, path, std::string(BuiltinHeaderText(*header)), at);
    return;
  }
  if (IsFrameworkFile(relative)) {
    if (emptyFrameworkFiles.insert(AsciiLowered(FileName(relative))).second)
      Note(at, "'" + name + "' is not on the search path and is read as empty: its resources are the framework's");
    return;
  }
  std::string looked;
  for (const std::string& path : candidates)
    looked += (looked.empty() ? "" : ", ") + (FolderOf(path).empty() ? std::string(".") : FolderOf(path));
  Error(at, "cannot find include file '" + name + "' (looked in " + (looked.empty() ? "no folder" : looked) +
                "); -I FOLDER adds a folder to the search");
}

// A file whose #pragma once or include guard says a second reading gives
// nothing: it is neither read nor decoded again.
bool Preprocessor::Impl::ReadBefore(const std::string& key) {
  if (onceFiles.count(key) != 0)
    return true;
  const auto guard = guards.find(key);
  return guard != guards.end() && IsDefined(guard->second);
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
  return token.kind == TokenKind::Identifier && IsDefined(token.text);
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

LexToken Preprocessor::Impl::Ended(EndMark mark) const {
  LexToken token;
  token.end = mark;
  return token;
}

Preprocessor::Preprocessor(SourceFiles& files, const PreprocessorOptions& options, IncludeFileReader& includes,
                           Diagnostics& diagnostics)
    : impl(std::make_unique<Impl>(files, options, includes, diagnostics)) {}

Preprocessor::~Preprocessor() = default;

void Preprocessor::Start(const std::string& path, std::string bytes) {
  impl->Start(path, std::move(bytes));
}

Token Preprocessor::Next() {
  return impl->Next();
}

bool Preprocessor::Failed() const {
  return impl->Failed();
}

}  // namespace trellane
