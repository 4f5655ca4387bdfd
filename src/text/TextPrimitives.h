// Byte-text primitives on zero-terminated 8-bit texts. Every comparison is an
// exact byte comparison; only 'A' to 'Z' are ever case-folded.
#pragma once

#include <cstdint>

namespace trellane {

// Number of bytes before the first zero byte.
int TextLength(const char* text);

// Copies source with its zero; returns the source's length.
int CopyText(const char* source, char* destination);

// Copies source over destination's terminating zero; returns destination.
char* AppendText(char* destination, const char* source);

// Copies exactly count bytes (zeros included) and a zero at destination[count].
char* CopyCount(const char* source, char* destination, int count);

// Lower-cases 'A' to 'Z' in place; returns text.
char* LowerAscii(char* text);

// Drops leading blanks and tabs; source and destination may be the same.
int TrimLeft(const char* source, char* destination);

// Cuts after the last byte of 0x21 or above; source and destination may be
// the same.
int TrimRight(const char* source, char* destination);

// 1-based position of pattern in text from 1-based start; 0 when absent, -1
// when the pattern is not shorter than the text, -2 when start is out of range.
// An empty pattern is found at start.
int FindText(int start, const char* text, const char* pattern);

// Occurrences of pattern in text, overlapping ones counted separately. An
// empty pattern occurs nowhere.
int CountText(const char* text, const char* pattern);

// Optional '-' then digits, wrapping modulo 2^32; other bytes count as
// (byte - '0') like digits.
std::int32_t ParseDecimal(const char* text);

// Hexadecimal digits, most significant first; other bytes count as 0.
std::uint32_t ParseHex(const char* text);

// Copies path and cuts it after its last backslash; a path without one gives
// the empty text.
void DirectoryOfPath(const char* path, char* destination);

}  // namespace trellane
