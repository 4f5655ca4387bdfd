// Feeds arbitrary bytes to the dialog converter with fixed display metrics.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "dialog/DialogConverter.h"
#include "dialog/DialogRecordFile.h"
#include "dialog/FixedMetrics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace trellane;
  FixedMetrics metrics({8, 16}, 96, {13, 316});
  const MenuNameRequest request = [](MenuNameSlot& slot) { std::memcpy(slot.data(), "fuzz.mnu", 9); };
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  const ConverterResult result = ConvertDialogScript(script, metrics, request);
  if (result.keywordFound && result.image.size() != DialogImageSize(result.recordCount))
    __builtin_trap();
  if (!result.keywordFound && !result.image.empty())
    __builtin_trap();
  return 0;
}
