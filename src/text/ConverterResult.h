// What a converter hands back to the conversion job.
#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include "text/Diagnostics.h"
#include "text/ImageBytes.h"

namespace trellane {

// The image, or the report that the script holds no keyword of the
// converter's kind (keywordFound false, no image).
struct ConverterResult {
  bool keywordFound = false;
  Image image;
  std::size_t recordCount = 0;  // items or controls
  Diagnostics diagnostics;
};

// A writable 32-byte slot for the name of the RadASM menu file: the request
// writes at most 31 characters and a zero, or nothing.
using MenuNameSlot = std::array<char, 32>;
using MenuNameRequest = std::function<void(MenuNameSlot& slot)>;

}  // namespace trellane
