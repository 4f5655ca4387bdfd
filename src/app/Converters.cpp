#include "app/Converters.h"

#include "dialog/DialogConverter.h"
#include "menu/MenuConverter.h"

namespace trellane {

ConverterTable ProgramConverters() {
  ConverterTable table;
  table.menu = [](std::string_view script, const ConversionContext&) { return ConvertMenuScript(script); };
  table.dialog = [](std::string_view script, const ConversionContext& context) {
    return ConvertDialogScript(script, *context.metrics, context.requestMenuName);
  };
  return table;
}

}  // namespace trellane
