// Warnings and errors about a script, tied to the place they concern.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

enum class Severity { Warning, Error, Note };

struct Diagnostic {
  std::size_t position = 0;  // byte index into the file the diagnostic concerns
  std::size_t line = 0;      // 1-based; 0 when no line is known yet
  std::string message;
  std::size_t column = 0;  // 1-based; 0 when unknown
  Severity severity = Severity::Warning;
  std::string file;                       // empty: the script itself
  std::vector<std::string> includedFrom;  // "file:line" of each #include, innermost first
};

using Diagnostics = std::vector<Diagnostic>;

inline void Warn(Diagnostics& diagnostics, std::size_t position, std::string message) {
  Diagnostic diagnostic;
  diagnostic.position = position;
  diagnostic.message = std::move(message);
  diagnostics.push_back(std::move(diagnostic));
}

// Some diagnostic is an error.
bool HasErrors(const Diagnostics& diagnostics);

// The warnings among the diagnostics; notes and errors do not count.
std::size_t WarningCount(const Diagnostics& diagnostics);

}  // namespace trellane
