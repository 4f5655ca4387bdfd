// Warnings that a conversion collects, tied to the script position they concern.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

struct Diagnostic {
  std::size_t position = 0;  // byte index into the script
  std::size_t line = 0;      // 1-based, filled by AssignLineNumbers
  std::string message;
};

using Diagnostics = std::vector<Diagnostic>;

inline void Warn(Diagnostics& diagnostics, std::size_t position, std::string message) {
  diagnostics.push_back(Diagnostic{position, 0, std::move(message)});
}

// Orders the warnings by position and gives each its line number, in one pass
// over the script. A line ends at LF, at CR not followed by LF, or at CR LF.
void AssignLineNumbers(std::string_view script, Diagnostics& diagnostics);

}  // namespace trellane
