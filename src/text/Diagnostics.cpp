#include "text/Diagnostics.h"

#include <algorithm>

namespace trellane {

bool HasErrors(const Diagnostics& diagnostics) {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& diagnostic) { return diagnostic.severity == Severity::Error; });
}

}  // namespace trellane
