#include "radasm/RecordWriter.h"

#include "script/SourceText.h"
#include "text/TextPrimitives.h"

namespace trellane {

std::string_view OutputText(std::string_view utf8, const WriterOptions& options, const SourceLocation& location,
                            std::string& converted) {
  // Most texts are ASCII: they need neither a conversion nor a string.
  if (IsAscii(utf8))
    return utf8;
  std::size_t replaced = 0;
  converted = ToCodePage(utf8, options.outputCodePage, replaced);
  if (replaced > 0 && options.warn)
    options.warn(location, "\"" + std::string(utf8) + "\" has " + std::to_string(replaced) +
                               (replaced == 1 ? " character" : " characters") + " that code page " +
                               std::to_string(options.outputCodePage) + " lacks; each became '?'");
  return converted;
}

void StoreSlotText(Image& image, std::size_t offset, std::size_t width, std::string_view text,
                   const WriterOptions& options, const SourceLocation& location, std::string_view what) {
  // Never half a double-byte character at the end of the slot.
  const std::size_t fits = CharacterBoundary(text, width - 1, options.outputCodePage);
  const bool whole = StoreTextOnZeros(image, offset, width, text.substr(0, fits)) && fits == text.size();
  if (!whole && options.warn)
    options.warn(location, std::string(what) + " is longer than " + std::to_string(width - 1) +
                               " bytes; it is cut to \"" + std::string(text.substr(0, fits)) + "\"");
}

std::string_view RecordName(const NameOrOrdinal& name) {
  return name.IsOrdinal() ? name.Symbol() : name.Text();
}

}  // namespace trellane
