// The preprocessor's inner state, shared by the files that define its parts:
// Preprocessor.cpp (files, includes, the token stream) and Directives.cpp.
// Macro expansion is a unit of its own, MacroExpander, which reads the
// current file's tokens through the preprocessor's ExpansionSource side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "script/ConditionExpression.h"
#include "script/HeaderSearch.h"
#include "script/Lexer.h"
#include "script/MacroExpander.h"
#include "script/Macros.h"
#include "script/Preprocessor.h"

namespace trellane {

constexpr std::size_t MaxIncludeDepth = 64;
constexpr std::size_t MaxConditionalDepth = 256;
// The included files' texts stay for the whole reading (a guarded header may
// be included any number of times).
constexpr std::size_t MaxIncludedBytes = std::size_t{256} << 20;
constexpr std::size_t MaxWarnings = 1000;

class Preprocessor::Impl final : public ExpansionSource {
 public:
  Impl(SourceFiles& files, const PreprocessorOptions& options, IncludeFileReader& includes, Diagnostics& diagnostics);

  void Start(const std::string& path, std::string bytes);
  bool Next(Token& token);

  // The expander's side.
  void FileToken(LexToken& token) override;
  bool TakeParenthesis() override;
  void Error(const SourceLocation& at, std::string message) override;
  void Warning(const SourceLocation& at, std::string message) override;

 private:
  struct Frame {
    explicit Frame(Lexer reader) : lexer(std::move(reader)) {}

    Lexer lexer;
    std::uint32_t file = 0;
    std::string key;  // the path, normalised, to recognise the file when it is included again
    std::size_t conditionalBase = 0;
    bool resourceScript = true;
    bool unicode = false;
    bool skipContent = false;  // a header, or a false #if group: only directives count
    // Include guards: the macros of the #ifndef groups that hold every
    // directive of the file so far (_mingw.h has two), none with an #else.
    std::vector<std::string> guards;
    bool guarded = true;
  };

  struct Conditional {
    SourceLocation location;
    std::string_view directive;
    bool parentActive = true;
    bool active = true;
    bool taken = false;  // some group of this #if has been read, or none may be
    bool sawElse = false;
  };

  // A token with the outermost expansion it came from, if any.
  struct Pulled {
    LexToken token;
    bool fromExpansion = false;
    std::uint64_t serial = 0;
    std::string_view macro;
    SourceLocation location;
    std::uint16_t codePage = 0;
  };

  class LineTokens;

  // Preprocessor.cpp
  void Pull(Pulled& into);
  LexToken DirectiveToken();  // the next token of a directive's line, as written
  void PushFile(std::uint32_t file, std::string key);
  void LeaveFile();
  void UpdateCodePage();  // the current file's lexer takes the code page in force
  bool Active() const;
  void UpdateSkipping();
  void Include(const std::string& name, bool angled, const SourceLocation& at);
  bool ReadBefore(const std::string& key);
  void EnterFile(const std::string& path, std::string key, std::string bytes, const SourceLocation& at);
  bool MayEnterAgain(const Frame& frame);
  void Note(const SourceLocation& at, std::string message);
  void ReportLexError(const Lexer& lexer);

  // Directives.cpp
  void HandleDirective(const LexToken& hash);
  void DispatchDirective(const LexToken& hash, const LexToken& name, ReadMode outerMode);
  void ConditionalDirective(std::string_view directive, const LexToken& name);
  void PushConditional(const LexToken& directive, bool value);
  bool Evaluate(std::string_view directive, bool& value);
  bool DefineMacro(Lexer& lexer, const LexToken& name, std::string_view origin);
  void DefineFromText(std::string_view text);
  void IncludeDirective(const LexToken& hash, ReadMode outerMode);
  void PragmaDirective();
  void LineDirective(const LexToken& number, bool marker);
  void FinishLine(std::string_view directive, const SourceLocation& at);

  SourceFiles& files;
  PreprocessorOptions options;
  HeaderSearch search;
  Diagnostics& diagnostics;

  std::deque<std::string> arena;  // spellings made by # and ##, joined lines, -D and built-in definitions
  MacroExpander expander;
  std::vector<std::string_view> parameters;  // of the definition being read
  std::vector<Frame> frames;
  std::vector<Conditional> conditionals;
  std::unordered_set<std::string> onceFiles;            // keys of files with #pragma once
  std::unordered_set<std::string> emptyFrameworkFiles;  // names of framework files read as empty, in lower case
  std::unordered_map<std::string, std::vector<std::string>> guards;  // keys of files read whole, with their guards

  std::size_t includedBytes = 0;
  std::size_t warnings = 0;

  // The outermost expansion of the token Next handed on last.
  std::uint64_t lastSerial = 0;
  Pulled pulled[2];  // the token Next hands on and, after an expansion's token, the one after it
  std::size_t current = 0;
  bool lookahead = false;

  int codePage = DefaultCodePage;
  bool started = false;
  bool definingOption = false;  // reading a -D or built-in definition: problems have no place in a file
};

}  // namespace trellane
