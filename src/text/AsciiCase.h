// Letter case as resource scripts and file systems fold it: only 'A' to 'Z'
// and 'a' to 'z', whatever the locale.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace trellane {

inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The same letters in any case.
inline bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

inline std::string AsciiLowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
  return lowered;
}

}  // namespace trellane
