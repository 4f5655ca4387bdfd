// Feeds arbitrary bytes to the scanning steps both converters stand on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/DefineTable.h"
#include "text/NumberField.h"
#include "text/ScriptScan.h"

namespace {

void WalkLines(std::string_view script, const trellane::DefineTable& defines) {
  trellane::Diagnostics diagnostics;
  trellane::LineWalker walker(script);
  trellane::ScriptLine line;
  while (walker.Next(line)) {
    const std::string_view code = trellane::LineCode(script, line);
    const std::string_view word = trellane::LeadingWord(script, line);
    trellane::ResolveIdentifier(trellane::TrimField(word), defines, line.start, diagnostics);
    trellane::ParseFlagsExpression(code);
    if (const auto quoted = trellane::TakeQuotedText(script, line.codeStart, line.end)) {
      const auto comma = trellane::ScanTo(script, quoted->closingQuote, ',', line.end);
      if (comma)
        trellane::TakeField(script, *comma, line.end);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view script(bytes);
  const trellane::DefineTable defines(script);
  WalkLines(script, defines);
  for (const std::string_view keyword : {"MENUEX", "DIALOGEX"}) {
    if (const auto block = trellane::FindResourceBlock(script, keyword)) {
      trellane::StatementName(script, block->keyword);
      WalkLines(script.substr(0, block->bodyEnd), defines);
    }
  }
  return 0;
}
