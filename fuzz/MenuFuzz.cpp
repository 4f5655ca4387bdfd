// Feeds arbitrary bytes to the menu converter; the sanitizers report any
// read outside the script or any undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/Converters.h"
#include "radasm/MenuRecordFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The script is an exact-size copy, so a read at its end is caught.
  const std::string script(reinterpret_cast<const char*>(data), size);
  const trellane::ConverterResult result = trellane::ConvertMenuScript(std::string_view(script));
  if (!result.image.empty() && result.image.size() != trellane::MenuImageSize(result.recordCount))
    __builtin_trap();
  if (!result.keywordFound && !result.image.empty())
    __builtin_trap();
  return 0;
}
