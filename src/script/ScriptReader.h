// The front end: reads a resource script (decoding, preprocessing, tokens,
// parsing) into its resource model.
#pragma once

#include <string>

#include "script/Preprocessor.h"
#include "script/ResourceModel.h"
#include "script/SourceFiles.h"
#include "text/Diagnostics.h"

namespace trellane {

struct ScriptReading {
  ResourceScript resources;
  SourceFiles files;        // their names and places; the texts are released when the reading ends
  Diagnostics diagnostics;  // warnings, and the errors that stopped the reading
  bool ok = false;          // no error: every menu and dialog of the script is in resources
};

ScriptReading ReadResourceScript(const std::string& path, std::string bytes, const PreprocessorOptions& options,
                                 IncludeFileReader& includes);

}  // namespace trellane
