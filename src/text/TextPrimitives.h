// Byte-text primitives on zero-terminated 8-bit texts. Every comparison is an
// exact byte comparison; only 'A' to 'Z' are ever case-folded.
#pragma once

#include <string_view>

namespace trellane {

// Whether every byte of text is below 0x80.
bool IsAscii(std::string_view text);

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
