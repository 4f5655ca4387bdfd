// Macro expansion as C does it, apart from the files it reads: the
// preprocessor hands the expander the next token of the current file
// through ExpansionSource, and the expander keeps the expansions being read,
// the arguments of the calls and the marks of the outermost expansion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "script/Lexer.h"
#include "script/Macros.h"

namespace trellane {

constexpr std::size_t MaxExpansionDepth = 256;
constexpr std::size_t MaxExpansionTokens = 1000000;
// The text # and ## make stays for the whole reading; each level of # can
// double its text.
constexpr std::size_t MaxMadeBytes = std::size_t{64} << 20;

// What reading a file's tokens stops at.
enum class ReadMode : std::uint8_t {
  Normal,       // the script's tokens: directives are obeyed, a file's end goes back to its includer
  Arguments,    // a macro's arguments: directives are obeyed, a file's end ends them
  Parenthesis,  // looking for the '(' after a function-like macro's name: a directive line ends the search
  Directive,    // a directive's operands: the line's end is the end
};

// An End token of the given kind.
inline LexToken Ended(EndMark mark) {
  LexToken token;
  token.end = mark;
  return token;
}

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

// The reading around the expansions: the files, their directives and the
// messages. The read mode says what the next file token stops at; the
// expander sets it while it collects a call's arguments.
class ExpansionSource {
 public:
  // The next token of the current file, its directives obeyed; End where
  // the mode stops the reading.
  virtual void FileToken(LexToken& token) = 0;
  // Takes the file's next token when it is '(' and leaves it otherwise; a
  // directive line ends the search.
  virtual bool TakeParenthesis() = 0;
  virtual void Error(const SourceLocation& at, std::string message) = 0;
  virtual void Warning(const SourceLocation& at, std::string message) = 0;

  // An error has stopped the reading.
  bool Failed() const { return failed; }

  ReadMode mode = ReadMode::Normal;

 protected:
  ExpansionSource() = default;
  ~ExpansionSource() = default;
  ExpansionSource(const ExpansionSource&) = delete;
  ExpansionSource& operator=(const ExpansionSource&) = delete;

  bool failed = false;
};

// The outermost expansion read at the top level, for the tokens' macro marks.
struct OutermostExpansion {
  std::uint64_t serial = 0;  // one more for each
  std::string_view name;
  SourceLocation location;
  std::uint16_t codePage = 0;
};

// A macro's expansion is read again for more macros while the macro itself
// stays disabled; a name met while its macro is disabled is marked and never
// expands, wherever it goes later.
class MacroExpander {
 public:
  // Texts made by # and ## go to arena, which must outlive the tokens.
  MacroExpander(ExpansionSource& reading, std::deque<std::string>& texts) : source(reading), arena(texts) {}
  MacroExpander(const MacroExpander&) = delete;
  MacroExpander& operator=(const MacroExpander&) = delete;

  MacroTable& Macros() { return macros; }
  bool IsDefined(std::string_view name);

  // The next token, macros expanded; true when it came from an expansion.
  // The hot path fills the token in place: copying it whole
  // right after it was written field by field stalls the processor's store
  // forwarding.
  bool ExpandedToken(LexToken& token);
  // No expansion is open: the next token is the file's own, which the
  // reading may take itself and hand to Expand.
  bool ReadsFile() const { return contexts.size() == contextBase && !argumentBoundary; }
  // Expands token, read last, when it names a macro; fromContext says where
  // it came from. Returns what ExpandedToken returns for it.
  bool Expand(LexToken& token, bool fromContext);
  LexToken Expanded();
  LexToken Unexpanded();  // the next token, its macros left as they are

  const OutermostExpansion& Outermost() const { return outermost; }

  // A directive's line read where expansions are under way (in a macro's
  // arguments, between an expansion's tokens): they are not seen, and the
  // expansions the line begins end with it.
  class LineScope {
   public:
    explicit LineScope(MacroExpander& reading)
        : expander(reading),
          base(reading.contextBase, reading.contexts.size()),
          boundary(reading.argumentBoundary, false) {}
    ~LineScope() { expander.PopContexts(); }
    LineScope(const LineScope&) = delete;
    LineScope& operator=(const LineScope&) = delete;

   private:
    MacroExpander& expander;
    Scoped<std::size_t> base;
    Scoped<bool> boundary;
  };

 private:
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

  bool ReadToken(LexToken& token);  // true when the token came from an expansion
  void BeginExpansion(const LexToken& name);
  bool ReadOneToken(const Macro& macro, LexToken& name);
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
  void PopContexts();  // those above contextBase
  void Paint(LexToken& token);

  ExpansionSource& source;
  std::deque<std::string>& arena;
  MacroTable macros;

  // Contexts form a stack whose tokens stack up in contextTokens; those
  // below contextBase belong to an outer reading (a directive inside macro
  // arguments, an argument expanded on its own) and are not seen.
  std::vector<Context> contexts;
  std::vector<LexToken> contextTokens;
  std::size_t contextBase = 0;
  bool argumentBoundary = false;    // an argument is being expanded: its end ends the reading
  std::size_t expansionTokens = 0;  // pushed since the current outermost expansion began
  std::size_t madeBytes = 0;        // of text made by # and ## in the whole reading
  std::string_view expansionRoot;   // the macro that began it, and where
  SourceLocation expansionRootLocation;

  // The macro call being substituted, stacked as calls nest: arguments as
  // written (tokens in scratch), their expansions, parameter names.
  std::vector<LexToken> scratch;
  std::vector<Range> arguments;
  std::vector<Range> expandedArguments;
  std::vector<std::string_view> parameters;
  std::size_t argumentBase = 0;
  std::size_t parameterBase = 0;

  OutermostExpansion outermost;
};

}  // namespace trellane
