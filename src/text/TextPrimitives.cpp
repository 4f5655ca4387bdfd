#include "text/TextPrimitives.h"

#include <cstring>

namespace trellane {

int TextLength(const char* text) {
  return static_cast<int>(std::strlen(text));
}

int CopyText(const char* source, char* destination) {
  const int length = TextLength(source);
  std::memmove(destination, source, static_cast<std::size_t>(length) + 1);
  return length;
}

char* AppendText(char* destination, const char* source) {
  CopyText(source, destination + TextLength(destination));
  return destination;
}

char* CopyCount(const char* source, char* destination, int count) {
  if (count > 0)
    std::memmove(destination, source, static_cast<std::size_t>(count));
  destination[count > 0 ? count : 0] = '\0';
  return destination;
}

char* LowerAscii(char* text) {
  for (char* p = text; *p != '\0'; ++p) {
    if (*p >= 'A' && *p <= 'Z')
      *p = static_cast<char>(*p + 0x20);
  }
  return text;
}

int TrimLeft(const char* source, char* destination) {
  const char* rest = source;
  while (*rest == ' ' || *rest == '\t')
    ++rest;
  if (*rest == '\0') {
    destination[0] = '\0';
    return 0;
  }
  return CopyText(rest, destination);
}

int TrimRight(const char* source, char* destination) {
  int kept = 0;
  for (int i = 0; source[i] != '\0'; ++i) {
    if (static_cast<unsigned char>(source[i]) >= 0x21)
      kept = i + 1;
  }
  if (destination != source)
    std::memmove(destination, source, static_cast<std::size_t>(kept));
  destination[kept] = '\0';
  return kept;
}

int FindText(int start, const char* text, const char* pattern) {
  if (start < 1)
    return -2;
  const int textLength = TextLength(text);
  const int patternLength = TextLength(pattern);
  if (patternLength >= textLength)
    return -1;
  if (start > textLength - patternLength + 1)
    return -2;
  for (int p = start - 1; p <= textLength - patternLength; ++p) {
    if (std::memcmp(text + p, pattern, static_cast<std::size_t>(patternLength)) == 0)
      return p + 1;
  }
  return 0;
}

int CountText(const char* text, const char* pattern) {
  const int textLength = TextLength(text);
  const int patternLength = TextLength(pattern);
  if (patternLength == 0)
    return 0;
  int count = 0;
  for (int p = 0; p <= textLength - patternLength; ++p) {
    if (std::memcmp(text + p, pattern, static_cast<std::size_t>(patternLength)) == 0)
      ++count;
  }
  return count;
}

std::int32_t ParseDecimal(const char* text) {
  const bool negative = text[0] == '-';
  std::uint32_t value = 0;
  for (const char* p = negative ? text + 1 : text; *p != '\0'; ++p)
    value = value * 10u + static_cast<std::uint32_t>(static_cast<unsigned char>(*p) - 0x30u);
  if (negative)
    value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::uint32_t ParseHex(const char* text) {
  std::uint32_t value = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    const char c = *p;
    std::uint32_t digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<std::uint32_t>(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    value = value * 16u + digit;
  }
  return value;
}

void DirectoryOfPath(const char* path, char* destination) {
  const int length = CopyText(path, destination);
  int cut = 0;
  for (int i = 0; i < length; ++i) {
    if (destination[i] == '\\')
      cut = i + 1;
  }
  destination[cut] = '\0';
}

}  // namespace trellane
