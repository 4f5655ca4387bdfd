// What a converter hands back to the conversion job.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "radasm/DialogWriter.h"
#include "text/Diagnostics.h"
#include "text/ImageBytes.h"

namespace trellane {

// The image; or, without one, why: the script could not be read (errors in
// diagnostics), it holds no resource of the converter's kind (keywordFound
// false), or none of the name asked for (missingResource).
struct ConverterResult {
  bool keywordFound = false;
  bool scriptFailed = false;
  std::string missingResource;  // the --resource name no resource answers to
  Image image;
  std::size_t recordCount = 0;  // items or controls
  std::string resourceName;     // the converted resource, as `list` names it
  int textCodePage = 1252;      // the code page its texts are written in
  Diagnostics diagnostics;
};

// One record file of a whole-script conversion.
struct ConvertedResource {
  std::string fileName;  // a name safe on every file system, unique in the script
  std::string resourceName;
  bool isMenu = false;
  Image image;
  std::size_t recordCount = 0;
};

// Takes each record file of a whole-script conversion as soon as it is made,
// so that no more than one image is held at a time.
using ResourceSink = std::function<void(ConvertedResource resource)>;

// What a whole-script conversion found beside its files.
struct ScriptConverterResult {
  bool scriptFailed = false;
  std::size_t resourceCount = 0;
  Diagnostics diagnostics;
};

}  // namespace trellane
