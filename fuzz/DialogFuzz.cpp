// Feeds arbitrary bytes to the dialog converter with fixed display metrics;
// the sanitizers report any read outside the script or any undefined
// behaviour.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/Converters.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogRecordFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace trellane;
  FixedMetrics metrics({8, 16}, 96, {13, 316});
  const MenuNameRequest request = [](MenuNameSlot& slot) { std::memcpy(slot.data(), "fuzz.mnu", 9); };
  const std::string script(reinterpret_cast<const char*>(data), size);
  const ConverterResult result = ConvertDialogScript(std::string_view(script), metrics, request);
  if (!result.image.empty() && result.image.size() != DialogImageSize(result.recordCount))
    __builtin_trap();
  if (!result.keywordFound && !result.image.empty())
    __builtin_trap();
  return 0;
}
