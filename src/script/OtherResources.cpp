// The resources that are not menus or dialogs: recognised and stepped over,
// so that nothing inside one starts a menu or a dialog.
#include "script/ScriptParser.h"

namespace trellane::parser {

void ScriptParser::SkipMemoryFlags() {
  while (IsMemoryFlag(Peek().keyword))
    Take();
}

bool ScriptParser::SkipBlock() {
  const SourceLocation begin = Take().location;
  int depth = 1;
  while (depth > 0) {
    const Token& token = Take();
    if (token.kind == TokenKind::End) {
      if (failed)
        return false;
      Warning(begin, "this BEGIN has no END; the block runs to the end of the script");
      return true;
    }
    if (IsBlockBegin(token))
      ++depth;
    else if (IsBlockEnd(token))
      --depth;
  }
  return true;
}

void ScriptParser::SkipFileName(const SourceLocation& type) {
  if (Peek().kind == TokenKind::String) {
    while (Peek().kind == TokenKind::String)
      Take();
    return;
  }
  // An unquoted file name: its pieces stand on the type's line.
  while (!AtEnd() && Peek().location.file == type.file && Peek().location.line == type.line)
    Take();
}

bool ScriptParser::SkipResource(const TokenMark& type) {
  SkipMemoryFlags();
  if (NamesFile(type.keyword) && !IsBlockBegin(Peek())) {
    SkipFileName(type.location);
    return true;
  }
  if (HasValuesBeforeBlock(type.keyword) || type.keyword == Keyword::StringTable) {
    while (!AtEnd() && !IsBlockBegin(Peek()))
      Take();
    if (AtEnd()) {
      if (failed)
        return false;
      Warning(type.location, std::string(type.text) + " has no BEGIN");
      return true;
    }
    return SkipBlock();
  }
  // RCDATA and user-defined types: a block of data or a file.
  if (IsBlockBegin(Peek()))
    return SkipBlock();
  if (AtEnd())
    return !failed;
  SkipFileName(type.location);
  return true;
}

}  // namespace trellane::parser
