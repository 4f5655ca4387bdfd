// Byte-text primitives on zero-terminated 8-bit texts. Every comparison is an
// exact byte comparison; only 'A' to 'Z' are ever case-folded.
#pragma once

#include <cstddef>
#include <string_view>

namespace trellane {

// The end of the run of ASCII bytes (below 0x80) that starts at from.
std::size_t AsciiRunEnd(std::string_view bytes, std::size_t from);

inline bool IsAscii(std::string_view text) {
  return AsciiRunEnd(text, 0) == text.size();
}

// Number of bytes before the first zero byte.
int TextLength(const char* text);

// Copies source with its zero; returns the source's length.
int CopyText(const char* source, char* destination);

// Copies source over destination's terminating zero; returns destination.
char* AppendText(char* destination, const char* source);

// Lower-cases 'A' to 'Z' in place; returns text.
char* LowerAscii(char* text);

// Copies path and cuts it after its last backslash; a path without one gives
// the empty text.
void DirectoryOfPath(const char* path, char* destination);

}  // namespace trellane
