// The preprocessor's inner state, shared by the files that define its parts:
// Preprocessor.cpp (files, includes, the token stream), Directives.cpp and
// MacroExpansion.cpp.
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
#include "script/Macros.h"
#include "script/Preprocessor.h"

namespace trellane {

constexpr std::size_t MaxIncludeDepth = 64;
constexpr std::size_t MaxConditionalDepth = 256;
constexpr std::size_t MaxExpansionDepth = 256;
constexpr std::size_t MaxExpansionTokens = 1000000;
// Texts that stay for the whole reading: those # and ## make (each level of
// # can double its text) and those of included files (a guarded header may
// be included any number of times).
constexpr std::size_t MaxMadeBytes = std::size_t{64} << 20;
constexpr std::size_t MaxIncludedBytes = std::size_t{256} << 20;
constexpr std::size_t MaxWarnings = 1000;

class Preprocessor::Impl {
 public:
  Impl(SourceFiles& files, const PreprocessorOptions& options, IncludeFileReader& includes, Diagnostics& diagnostics);

  void Start(const std::string& path, std::string bytes);
  Token Next();
  bool Failed() const { return failed; }

 private:
  // What reading a file's tokens stops at.
  enum class ReadMode : std::uint8_t {
    Normal,       // the script's tokens: directives are obeyed, a file's end goes back to its includer
    Arguments,    // a macro's arguments: directives are obeyed, a file's end ends them
    Parenthesis,  // looking for the '(' after a function-like macro's name: a directive line ends the search
    Directive,    // a directive's operands: the line's end is the end
  };

  // Gives a member of the reading state a value for a scope and the outer
  // value back when the scope ends, however it ends.
  template <typename T>
  class Scoped {
   public:
    Scoped(T& member, T inner) : place(member), outer(member) { member = inner; }
    ~Scoped() { place = outer; }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    const T& Outer() const { return outer; }

   private:
    T& place;
    T outer;
  };

  struct Frame {
    explicit Frame(Lexer reader) : lexer(std::move(reader)) {}

    Lexer lexer;
    std::uint32_t file = 0;
    std::string key;  // the path, normalised, to recognise the file when it is included again
    std::size_t conditionalBase = 0;
    bool resourceScript = true;
    bool unicode = false;
    bool skipContent = false;  // a header, or a false #if group: only directives count
    // An include guard: the macro of an #ifndef that is the file's first
    // directive, while no directive has followed its #endif.
    std::size_t directives = 0;
    std::string guard;
    bool guardClosed = false;
  };

  struct Conditional {
    SourceLocation location;
    std::string_view directive;
    bool parentActive = true;
    bool active = true;
    bool taken = false;  // some group of this #if has been read, or none may be
    bool sawElse = false;
  };

  // A macro's expansion (or an argument expanded on its own) being read.
  struct Context {
    Macro* macro = nullptr;  // disabled while the context lives; nullptr for an argument
    std::size_t begin = 0;   // its tokens in contextTokens
    std::size_t position = 0;
    std::size_t end = 0;
  };

  struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool Empty() const { return begin == end; }
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
  void FileToken(LexToken& token);
  void PushFile(std::uint32_t file, std::string key);
  void LeaveFile();
  bool Active() const;
  void UpdateSkipping();
  void Include(const std::string& name, bool angled, const SourceLocation& at);
  bool ReadBefore(const std::string& key);
  void EnterFile(const std::string& path, std::string key, std::string bytes, const SourceLocation& at);
  bool MayEnterAgain(const Frame& frame);
  void Error(const SourceLocation& at, std::string message);
  void Warning(const SourceLocation& at, std::string message);
  void Note(const SourceLocation& at, std::string message);
  void ReportLexError(const Lexer& lexer);
  LexToken Ended(EndMark mark) const;

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

  // MacroExpansion.cpp
  // The hot path fills tokens in place: copying them whole right after they
  // were written field by field stalls the processor's store forwarding.
  void ReadToken(LexToken& token, bool& fromContext);
  void ExpandedToken(LexToken& token, bool& fromContext);
  LexToken DirectiveToken();  // the next token of a directive's line, as written
  LexToken Expanded();
  LexToken Unexpanded();
  bool EnterMacro(Macro& macro, const LexToken& name);
  bool FindParenthesis();
  bool CollectArguments(const LexToken& name, std::size_t parameterCount, bool variadic);
  bool CollectArgumentTokens(std::size_t first, std::size_t parameterCount, bool variadic, Range& argument);
  void Substitute(Lexer& body, Macro& macro, const LexToken& name, std::size_t parameterCount, bool variadic);
  std::size_t ParameterIndex(std::string_view name, std::size_t parameterCount) const;
  Range ExpandedArgument(std::size_t parameter);
  bool Append(const LexToken& token, bool paste, const LexToken& name);
  LexToken Stringize(Range argument, const LexToken& name);
  void TooLarge(bool text);
  void PopContext();
  void Paint(LexToken& token);
  bool IsDefined(std::string_view name);

  SourceFiles& files;
  PreprocessorOptions options;
  HeaderSearch search;
  Diagnostics& diagnostics;

  std::deque<std::string> arena;  // spellings made by # and ##, joined lines, -D and built-in definitions
  MacroTable macros;
  std::vector<Frame> frames;
  std::vector<Conditional> conditionals;
  std::unordered_set<std::string> onceFiles;            // keys of files with #pragma once
  std::unordered_set<std::string> emptyFrameworkFiles;  // names of framework files read as empty, in lower case
  std::unordered_map<std::string, std::string> guards;  // keys of files read whole, with their guard

  // Expansion: contexts form a stack whose tokens stack up in contextTokens;
  // those below contextBase belong to an outer reading (a directive inside
  // macro arguments, an argument expanded on its own) and are not seen.
  std::vector<Context> contexts;
  std::vector<LexToken> contextTokens;
  std::size_t contextBase = 0;
  bool argumentBoundary = false;  // an argument is being expanded: its end ends the reading
  ReadMode mode = ReadMode::Normal;
  std::size_t expansionTokens = 0;  // pushed since the current outermost expansion began
  std::size_t madeBytes = 0;        // of text made by # and ## in the whole reading
  std::size_t includedBytes = 0;
  std::size_t warnings = 0;
  std::string_view expansionRoot;  // the macro that began it, and where
  SourceLocation expansionRootLocation;

  // The macro call being substituted, stacked as calls nest: arguments as
  // written (tokens in scratch), their expansions, parameter names.
  std::vector<LexToken> scratch;
  std::vector<Range> arguments;
  std::vector<Range> expandedArguments;
  std::vector<std::string_view> parameters;
  std::size_t argumentBase = 0;
  std::size_t parameterBase = 0;

  // The outermost expansion at the top level, for the tokens' macro marks.
  std::uint64_t serial = 0;
  std::uint64_t lastSerial = 0;
  std::string_view outermostName;
  SourceLocation outermostLocation;
  std::uint16_t outermostCodePage = 0;
  Pulled pulled[2];  // the token Next hands on and, after an expansion's token, the one after it
  std::size_t current = 0;
  bool lookahead = false;

  int codePage = DefaultCodePage;
  bool started = false;
  bool failed = false;
  bool definingOption = false;  // reading a -D or built-in definition: problems have no place in a file
};

}  // namespace trellane
