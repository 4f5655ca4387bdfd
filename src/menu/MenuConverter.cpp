#include "menu/MenuConverter.h"

namespace trellane {

ConverterResult ConvertMenuScript(std::string_view script) {
  (void)script;
  return {};
}

}  // namespace trellane
