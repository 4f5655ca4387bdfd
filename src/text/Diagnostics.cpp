#include "text/Diagnostics.h"

#include <algorithm>

namespace trellane {

bool HasErrors(const Diagnostics& diagnostics) {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& diagnostic) { return diagnostic.severity == Severity::Error; });
}

std::size_t WarningCount(const Diagnostics& diagnostics) {
  return static_cast<std::size_t>(
      std::count_if(diagnostics.begin(), diagnostics.end(),
                    [](const Diagnostic& diagnostic) { return diagnostic.severity == Severity::Warning; }));
}

}  // namespace trellane
