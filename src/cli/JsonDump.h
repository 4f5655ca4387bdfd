// Record files and script listings as JSON documents, for programs that read
// what the tables show. Their shapes are docs/record-file.schema.json and
// docs/resource-list.schema.json.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>

#include "script/ScriptReader.h"
#include "text/ImageBytes.h"

namespace trellane {

// Objects keep their members in the order written, as the tables do.
using Json = nlohmann::ordered_json;

// Every field of a menu record file; texts are decoded from codePage into
// UTF-8. None for an image shorter than the header.
std::optional<Json> MenuImageJson(const Image& image, int codePage);

// Every field of a dialog record file, as for menus.
std::optional<Json> DialogImageJson(const Image& image, int codePage);

// The menus and dialogs a reading found, in script order.
Json ResourceListJson(const ScriptReading& reading, std::optional<int> outputCodePage);

// The document as text, indented, ending in a newline.
std::string JsonText(const Json& document);

}  // namespace trellane
