#include "dialog/DialogConverter.h"

namespace trellane {

ConverterResult ConvertDialogScript(std::string_view script, DisplayMetrics& metrics,
                                    const MenuNameRequest& requestMenuName) {
  (void)script;
  (void)metrics;
  (void)requestMenuName;
  return {};
}

}  // namespace trellane
