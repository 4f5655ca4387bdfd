// What a converter hands back to the conversion job.
#pragma once

#include <cstddef>
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
  Diagnostics diagnostics;
};

}  // namespace trellane
