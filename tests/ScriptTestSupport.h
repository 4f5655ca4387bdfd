// Helpers the converter and metrics tests share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialog/DialogConverter.h"
#include "dialog/FixedMetrics.h"
#include "text/Diagnostics.h"

namespace trellane {

// The lines of a script, each ended by lineEnd.
inline std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd = "\r\n") {
  std::string script;
  for (const std::string& line : lines)
    script.append(line).append(lineEnd);
  return script;
}

// Some warning contains text.
inline bool Mentions(const Diagnostics& diagnostics, const std::string& text) {
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.message.find(text) != std::string::npos)
      return true;
  }
  return false;
}

// The display of the dialog walk-through: 96 pixels per inch, text height 13
// and sample width 316 for every font, system base units 8 and 16.
inline FixedMetrics WalkThroughMetrics() {
  return FixedMetrics({8, 16}, 96, {13, 316});
}

inline ConverterResult ConvertDialog(const std::string& script, const MenuNameRequest& request = {}) {
  FixedMetrics metrics = WalkThroughMetrics();
  return ConvertDialogScript(script, metrics, request);
}

}  // namespace trellane
