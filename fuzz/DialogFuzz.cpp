// Feeds arbitrary bytes to the dialog converter with fixed display metrics,
// and to the reader of plain CONTROL fields, whose fields must be those of the
// field-by-field reading whenever it takes the bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "dialog/DialogConverter.h"
#include "radasm/DialogRecordFile.h"
#include "metrics/FixedMetrics.h"
#include "dialog/PlainControl.h"
#include "dialog/StatementFields.h"
#include "text/NumberField.h"

namespace {

bool SameField(const trellane::Field& a, const trellane::Field& b) {
  return a.text == b.text && a.position == b.position;
}

bool SameNumber(std::uint32_t value, std::string_view field) {
  return trellane::ParseFlagsExpression(field) == value;
}

void CheckPlainControl(std::string_view script) {
  using namespace trellane;
  ControlStatement control;
  if (!PlainControlReader(script).Read(0, control))
    return;
  const auto fields = SplitFields<11>(script, 0, CodeEnd);
  if (fields.count < 8 || fields.count > 9 || !SameField(control.text, fields.items[0]) ||
      !SameField(control.identifier, fields.items[1]) || !SameField(control.className, fields.items[2]) ||
      !SameNumber(control.style, fields.items[3].text) ||
      !SameNumber(static_cast<std::uint32_t>(control.x), fields.items[4].text) ||
      !SameNumber(static_cast<std::uint32_t>(control.y), fields.items[5].text) ||
      !SameNumber(static_cast<std::uint32_t>(control.width), fields.items[6].text) ||
      !SameNumber(static_cast<std::uint32_t>(control.height), fields.items[7].text) ||
      (fields.count == 9 ? !SameNumber(control.exStyle, fields.items[8].text) : control.exStyle != 0))
    __builtin_trap();
}

}  // namespace

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
  CheckPlainControl(script);
  return 0;
}
