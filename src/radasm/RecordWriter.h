// What the writers of record files share: where warnings go, the code page
// of the texts, and how a text goes into a slot.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "script/ResourceModel.h"
#include "text/ImageBytes.h"

namespace trellane {

// Receives a writer's warning about the script place a record came from.
using WriterWarning = std::function<void(const SourceLocation& location, const std::string& message)>;

struct WriterOptions {
  int outputCodePage = 1252;  // the single-byte code page of every text in the file
  WriterWarning warn;
};

// A model text (UTF-8) in the output code page; warns when a character
// had to become '?'. A text of plain ASCII, which every code page keeps as
// it is, is returned itself; any other is converted into converted.
std::string_view OutputText(std::string_view utf8, const WriterOptions& options, const SourceLocation& location,
                            std::string& converted);

// Stores a text already in the output code page into a zeroed slot of
// width bytes; warns, naming what, when it is cut.
void StoreSlotText(Image& image, std::size_t offset, std::size_t width, std::string_view text,
                   const WriterOptions& options, const SourceLocation& location, std::string_view what);

// The name RadASM keeps for a resource or identifier: the macro written for
// it, or a resource's own name; empty for a plain number.
std::string_view RecordName(const NameOrOrdinal& name);

}  // namespace trellane
