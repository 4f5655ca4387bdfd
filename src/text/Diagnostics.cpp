#include "text/Diagnostics.h"

#include <algorithm>

namespace trellane {

void AssignLineNumbers(std::string_view script, Diagnostics& diagnostics) {
  std::stable_sort(diagnostics.begin(), diagnostics.end(),
                   [](const Diagnostic& a, const Diagnostic& b) { return a.position < b.position; });
  std::size_t line = 1;
  std::size_t scanned = 0;
  for (Diagnostic& diagnostic : diagnostics) {
    const std::size_t target = std::min(diagnostic.position, script.size());
    for (; scanned < target; ++scanned) {
      const char c = script[scanned];
      if (c == '\n' || (c == '\r' && (scanned + 1 >= script.size() || script[scanned + 1] != '\n')))
        ++line;
    }
    diagnostic.line = line;
  }
}

}  // namespace trellane

namespace trellane {

bool HasErrors(const Diagnostics& diagnostics) {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& diagnostic) { return diagnostic.severity == Severity::Error; });
}

}  // namespace trellane
