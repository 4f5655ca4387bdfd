#include "script/MacroExpander.h"

#include <limits>
#include <string>

namespace trellane {
namespace {

constexpr std::size_t NotExpanded = std::numeric_limits<std::size_t>::max();
constexpr std::size_t NoParameter = std::numeric_limits<std::size_t>::max();
// Above this many contexts Paint asks the table instead of comparing names.
constexpr std::size_t MaxComparedContexts = 16;

}  // namespace

bool MacroExpander::IsDefined(std::string_view name) {
  const Macro* macro = macros.Find(name);
  return macro != nullptr && macro->IsDefined();
}

// The disabled macros are those of the contexts, seldom more than a few:
// comparing their names spares the name a probe of the table here, on top
// of the one it meets when it is read again.
void MacroExpander::Paint(LexToken& token) {
  if (token.kind != TokenKind::Identifier || (token.flags & LexFlag::NoExpand) != 0)
    return;
  if (contexts.size() > MaxComparedContexts) {
    const Macro* macro = macros.Find(token.text);
    if (macro != nullptr && macro->IsDefined() && (macro->flags & Macro::Disabled) != 0)
      token.flags |= LexFlag::NoExpand;
    return;
  }
  for (const Context& context : contexts) {
    if (context.macro != nullptr && context.macro->IsDefined() && context.macro->Name() == token.text) {
      token.flags |= LexFlag::NoExpand;
      return;
    }
  }
}

void MacroExpander::PopContext() {
  const Context& context = contexts.back();
  if (context.macro != nullptr)
    context.macro->flags &= static_cast<std::uint8_t>(~Macro::Disabled);
  contextTokens.resize(context.begin);
  contexts.pop_back();
}

void MacroExpander::PopContexts() {
  while (contexts.size() > contextBase)
    PopContext();
}

bool MacroExpander::ReadToken(LexToken& token) {
  for (;;) {
    if (contexts.size() > contextBase) {
      if (source.Failed()) {
        token = Ended(EndMark::Failed);
        return false;
      }
      Context& context = contexts.back();
      if (context.position < context.end) {
        token = contextTokens[context.position++];
        return true;
      }
      PopContext();
      continue;
    }
    // The source ends a failed reading itself.
    if (!argumentBoundary)
      source.FileToken(token);
    else
      token = Ended(source.Failed() ? EndMark::Failed : EndMark::Argument);
    return false;
  }
}

bool MacroExpander::ExpandedToken(LexToken& token) {
  const bool fromContext = ReadToken(token);
  return Expand(token, fromContext);
}

bool MacroExpander::Expand(LexToken& token, bool fromContext) {
  for (;;) {
    if (token.kind != TokenKind::Identifier || (token.flags & LexFlag::NoExpand) != 0)
      return fromContext;
    Macro* macro = macros.Find(token.text);
    if (macro == nullptr || !macro->IsDefined())
      return fromContext;
    if ((macro->flags & Macro::Disabled) != 0) {
      token.flags |= LexFlag::NoExpand;
      return fromContext;
    }
    if (macro->IsOneToken() && ReadOneToken(*macro, token))
      return true;
    if (!EnterMacro(*macro, token))
      return fromContext;
    fromContext = ReadToken(token);
  }
}

LexToken MacroExpander::Expanded() {
  LexToken token;
  ExpandedToken(token);
  return token;
}

LexToken MacroExpander::Unexpanded() {
  LexToken token;
  ReadToken(token);
  return token;
}

// A fresh expansion, not one inside another, counts its tokens from here and
// marks the tokens of the top level with its name.
void MacroExpander::BeginExpansion(const LexToken& name) {
  expansionTokens = 0;
  expansionRoot = name.text;
  expansionRootLocation = name.location;
  if (contextBase == 0 && source.mode == ReadMode::Normal) {
    ++outermost.serial;
    outermost.name = name.text;
    outermost.location = name.location;
    outermost.codePage = name.codePage;
  }
}

// The body of a macro of one token that is no name, as Substitute would
// leave it in a context of its own, read from there at once and left: the
// token replaces the name here, without the context. Most macros of a
// resource script are such numbers and texts; this spares their expansion
// about a third of its instructions. False where the context's way must be
// taken: an expansion too deep or too large, or a body that is more than one
// token in the code page of the place it is used.
bool MacroExpander::ReadOneToken(const Macro& macro, LexToken& name) {
  const bool fresh = ReadsFile();
  if (contexts.size() >= MaxExpansionDepth || source.Failed() || (!fresh && expansionTokens >= MaxExpansionTokens))
    return false;
  const std::string_view text = macro.Definition().substr(macro.nameLength);
  Lexer body(text, name.location.file, false, arena);
  body.SetCodePage(name.codePage);
  LexToken token;
  body.Next(token, true);
  if (token.kind == TokenKind::End || body.Position() != text.size())
    return false;
  if (fresh)
    BeginExpansion(name);
  ++expansionTokens;
  token.flags = static_cast<std::uint8_t>((token.flags & ~LexFlag::SpaceBefore) | (name.flags & LexFlag::SpaceBefore));
  name = token;
  return true;
}

// Pushes the expansion of the macro named by name; false when a
// function-like macro's name is not followed by '(' and stays a name.
bool MacroExpander::EnterMacro(Macro& macro, const LexToken& name) {
  if (ReadsFile())
    BeginExpansion(name);
  if (contexts.size() >= MaxExpansionDepth) {
    source.Error(name.location, "macro expansion nested more than " + std::to_string(MaxExpansionDepth) +
                                    " levels deep at '" + std::string(name.text) + "'");
    return true;
  }
  const Macro definition = macro;  // a #define among the arguments may change the entry
  if (definition.IsFunctionLike() && !FindParenthesis())
    return false;
  if (source.Failed())
    return true;

  Lexer body(definition.Definition().substr(definition.nameLength), name.location.file, false, arena);
  body.SetCodePage(name.codePage);  // its texts are read in the page of the place it is used
  const std::size_t scratchMark = scratch.size();
  const std::size_t argumentMark = arguments.size();
  const std::size_t parameterMark = parameters.size();
  std::size_t parameterCount = 0;
  bool variadic = false;
  bool collected = true;
  if (definition.IsFunctionLike()) {
    LexToken bad;
    ReadParameters(body, parameters, variadic, bad);  // checked when it was defined
    parameterCount = parameters.size() - parameterMark;
    collected = CollectArguments(name, parameterCount, variadic);
  }
  if (collected) {
    const Scoped<std::size_t> argumentsOfCall(argumentBase, argumentMark);
    const Scoped<std::size_t> parametersOfCall(parameterBase, parameterMark);
    Substitute(body, macro, name, parameterCount, variadic);
  }
  scratch.resize(scratchMark);
  arguments.resize(argumentMark);
  expandedArguments.resize(argumentMark);
  parameters.resize(parameterMark);
  return true;
}

// Takes the '(' that makes a function-like macro's name a call. Exhausted
// expansions are left on the way, as C's rescanning leaves them; a directive
// line ends the search.
bool MacroExpander::FindParenthesis() {
  for (;;) {
    if (source.Failed())
      return false;
    if (contexts.size() > contextBase) {
      Context& context = contexts.back();
      if (context.position < context.end) {
        if (!contextTokens[context.position].Is('('))
          return false;
        ++context.position;
        return true;
      }
      PopContext();
      continue;
    }
    return !argumentBoundary && source.TakeParenthesis();
  }
}

// Reads the tokens of a call's arguments up to its closing parenthesis into
// scratch, each argument but the last into arguments; false at the end of
// the script or of the reading before it.
bool MacroExpander::CollectArgumentTokens(std::size_t first, std::size_t parameterCount, bool variadic,
                                          Range& argument) {
  const Scoped<ReadMode> reading(source.mode, source.mode == ReadMode::Normal ? ReadMode::Arguments : source.mode);
  std::size_t depth = 0;
  for (;;) {
    LexToken token;
    ReadToken(token);
    if (token.kind == TokenKind::End)
      return false;
    if (token.kind == TokenKind::Punctuator && token.text.size() == 1) {
      const char c = token.text[0];
      if (c == '(') {
        ++depth;
      } else if (c == ')') {
        if (depth == 0)
          break;
        --depth;
      } else if (c == ',' && depth == 0 && !(variadic && arguments.size() - first + 1 >= parameterCount)) {
        argument.end = scratch.size();
        arguments.push_back(argument);
        argument = {scratch.size(), scratch.size()};
        continue;
      }
    }
    Paint(token);
    scratch.push_back(token);
  }
  return true;
}

bool MacroExpander::CollectArguments(const LexToken& name, std::size_t parameterCount, bool variadic) {
  const std::size_t first = arguments.size();
  Range argument{scratch.size(), scratch.size()};
  if (!CollectArgumentTokens(first, parameterCount, variadic, argument)) {
    source.Error(name.location, "unterminated argument list of macro '" + std::string(name.text) + "'");
    return false;
  }
  argument.end = scratch.size();
  arguments.push_back(argument);
  std::size_t given = arguments.size() - first;
  if (parameterCount == 0 && given == 1 && argument.Empty()) {
    arguments.pop_back();
    given = 0;
  }
  if (variadic && given + 1 == parameterCount) {  // the variable part may be left out
    arguments.push_back({scratch.size(), scratch.size()});
    ++given;
  }
  if (given != parameterCount) {
    source.Error(name.location, "macro '" + std::string(name.text) + "' takes " + std::to_string(parameterCount) +
                                    (parameterCount == 1 ? " argument" : " arguments") + ", but " +
                                    std::to_string(given) + (given == 1 ? " was" : " were") + " given");
    return false;
  }
  expandedArguments.resize(arguments.size(), Range{NotExpanded, NotExpanded});
  return true;
}

std::size_t MacroExpander::ParameterIndex(std::string_view name, std::size_t parameterCount) const {
  for (std::size_t index = 0; index < parameterCount; ++index) {
    if (parameters[parameterBase + index] == name)
      return index;
  }
  return NoParameter;
}

// Lexes the body again and puts each argument in: as written beside # and
// ##, expanded on its own elsewhere. The result becomes a new context.
void MacroExpander::Substitute(Lexer& body, Macro& macro, const LexToken& name, std::size_t parameterCount,
                               bool variadic) {
  const std::size_t begin = contextTokens.size();
  bool paste = false;
  LexToken token;
  LexToken next;
  body.Next(token, true);
  while (token.kind != TokenKind::End && !source.Failed()) {
    body.Next(next, true);
    const std::size_t stringized =
        parameterCount > 0 && token.Is('#') ? ParameterIndex(next.text, parameterCount) : NoParameter;
    if (stringized != NoParameter) {  // the definition was checked: a parameter follows each '#'
      LexToken text = Stringize(arguments[argumentBase + stringized], name);
      text.flags = token.flags & LexFlag::SpaceBefore;
      Append(text, paste, name);
      paste = false;
      body.Next(token, true);
      continue;
    }
    if (token.Is("##")) {
      paste = contextTokens.size() > begin;
      token = next;
      continue;
    }
    const std::size_t parameter = parameterCount > 0 && token.kind == TokenKind::Identifier
                                      ? ParameterIndex(token.text, parameterCount)
                                      : NoParameter;
    if (parameter == NoParameter) {
      Append(token, paste, name);
    } else if (paste && variadic && parameter == parameterCount - 1 && contextTokens.back().Is(',')) {
      // ", ## __VA_ARGS__" drops the comma when the variable part is empty, as GCC and clang do
      const Range raw = arguments[argumentBase + parameter];
      if (raw.Empty())
        contextTokens.pop_back();
      for (std::size_t at = raw.begin; at < raw.end && !source.Failed(); ++at)
        Append(LexToken(scratch[at]), false, name);
    } else {
      const bool asWritten = paste || next.Is("##");
      const Range range = asWritten ? arguments[argumentBase + parameter] : ExpandedArgument(parameter);
      if (range.Empty() && asWritten) {
        LexToken placemarker;
        placemarker.kind = TokenKind::Other;
        placemarker.flags = LexFlag::Placemarker | (token.flags & LexFlag::SpaceBefore);
        placemarker.location = name.location;
        Append(placemarker, paste, name);
      }
      for (std::size_t at = range.begin; at < range.end && !source.Failed(); ++at) {
        LexToken piece = scratch[at];
        if (at == range.begin)
          piece.flags =
              static_cast<std::uint8_t>((piece.flags & ~LexFlag::SpaceBefore) | (token.flags & LexFlag::SpaceBefore));
        Append(piece, paste && at == range.begin, name);
      }
    }
    paste = false;
    token = next;
  }
  if (source.Failed()) {
    contextTokens.resize(begin);
    return;
  }
  std::size_t kept = begin;
  for (std::size_t at = begin; at < contextTokens.size(); ++at) {
    if ((contextTokens[at].flags & LexFlag::Placemarker) == 0)
      contextTokens[kept++] = contextTokens[at];
  }
  contextTokens.resize(kept);
  if (kept > begin) {
    LexToken& first = contextTokens[begin];
    first.flags =
        static_cast<std::uint8_t>((first.flags & ~LexFlag::SpaceBefore) | (name.flags & LexFlag::SpaceBefore));
  }
  Context context;
  context.macro = &macro;
  context.begin = begin;
  context.position = begin;
  context.end = contextTokens.size();
  contexts.push_back(context);
  macro.flags |= Macro::Disabled;
}

// An argument fully expanded as if it were the rest of the file, once per call.
MacroExpander::Range MacroExpander::ExpandedArgument(std::size_t parameter) {
  const std::size_t index = argumentBase + parameter;
  if (expandedArguments[index].begin != NotExpanded)
    return expandedArguments[index];
  const Range raw = arguments[index];
  const Scoped<std::size_t> base(contextBase, contexts.size());
  const Scoped<bool> boundary(argumentBoundary, true);
  Context context;
  context.begin = contextTokens.size();
  context.position = context.begin;
  contextTokens.insert(contextTokens.end(), scratch.begin() + static_cast<std::ptrdiff_t>(raw.begin),
                       scratch.begin() + static_cast<std::ptrdiff_t>(raw.end));
  context.end = contextTokens.size();
  contexts.push_back(context);
  expansionTokens += raw.end - raw.begin;
  if (expansionTokens > MaxExpansionTokens)
    TooLarge(false);
  Range expanded{scratch.size(), scratch.size()};
  for (;;) {
    const LexToken token = Expanded();
    if (token.kind == TokenKind::End)
      break;
    scratch.push_back(token);
  }
  expanded.end = scratch.size();
  PopContexts();
  expandedArguments[index] = expanded;
  return expanded;
}

// Adds a token to the expansion being built, pasted onto the one before
// when it follows ##. False once the expansion has grown too large.
bool MacroExpander::Append(const LexToken& token, bool paste, const LexToken& name) {
  if (++expansionTokens > MaxExpansionTokens) {
    TooLarge(false);
    return false;
  }
  if (!paste) {
    contextTokens.push_back(token);
    return true;
  }
  LexToken& left = contextTokens.back();
  if ((token.flags & LexFlag::Placemarker) != 0)
    return true;
  if ((left.flags & LexFlag::Placemarker) != 0) {
    const std::uint8_t space = left.flags & LexFlag::SpaceBefore;
    left = token;
    left.flags = static_cast<std::uint8_t>((left.flags & ~LexFlag::SpaceBefore) | space);
    return true;
  }
  madeBytes += left.text.size() + token.text.size();
  if (madeBytes > MaxMadeBytes) {
    TooLarge(true);
    return false;
  }
  std::string joined(left.text);
  joined.append(token.text);
  TokenKind kind = TokenKind::Other;
  if (IsSingleToken(joined, arena, kind)) {
    left.text = arena.emplace_back(std::move(joined));
    left.kind = kind;
    left.keyword = kind == TokenKind::Identifier ? ClassifyKeyword(left.text) : Keyword::None;
    left.flags &= static_cast<std::uint8_t>(~LexFlag::NoExpand);
    return true;
  }
  source.Warning(name.location, "pasting " + DescribeToken(left) + " and " + DescribeToken(token) +
                                    " with ## does not give one token; they stay apart");
  contextTokens.push_back(token);
  return true;
}

void MacroExpander::TooLarge(bool text) {
  const std::string root = "'" + std::string(expansionRoot) + "'";
  source.Error(
      expansionRootLocation,
      text ? "the text made by # and ## passes " + std::to_string(MaxMadeBytes) + " bytes in the expansion of " + root
           : "the expansion of " + root + " grows past " + std::to_string(MaxExpansionTokens) + " tokens");
}

LexToken MacroExpander::Stringize(Range argument, const LexToken& name) {
  std::string& text = arena.emplace_back(1, '"');
  for (std::size_t at = argument.begin; at < argument.end; ++at) {
    if (madeBytes + text.size() > MaxMadeBytes)
      break;
    const LexToken& piece = scratch[at];
    if (at != argument.begin && (piece.flags & (LexFlag::SpaceBefore | LexFlag::LineStart)) != 0)
      text.push_back(' ');
    if (piece.kind == TokenKind::String || piece.kind == TokenKind::CharLiteral) {
      for (const char c : piece.text) {
        if (c == '"' || c == '\\')
          text.push_back('\\');
        text.push_back(c);
      }
    } else {
      text.append(piece.text);
    }
  }
  text.push_back('"');
  madeBytes += text.size();
  if (madeBytes > MaxMadeBytes)  // each level of # can double the text: "\"" and "\\" double again
    TooLarge(true);
  LexToken token;
  token.kind = TokenKind::String;
  token.text = text;
  token.location = name.location;
  token.codePage = name.codePage;
  return token;
}

}  // namespace trellane
