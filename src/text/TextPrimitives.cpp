#include "text/TextPrimitives.h"

#include <cstdint>
#include <cstring>

#include "text/AsciiCase.h"

namespace trellane {

std::size_t AsciiRunEnd(std::string_view bytes, std::size_t from) {
  // Eight bytes at a time, since most of a text is ASCII.
  constexpr std::uint64_t HighBits = 0x8080808080808080u;
  while (from + 8 <= bytes.size()) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + from, 8);
    if ((word & HighBits) != 0)
      break;
    from += 8;
  }
  while (from < bytes.size() && static_cast<unsigned char>(bytes[from]) < 0x80)
    ++from;
  return from;
}

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

char* LowerAscii(char* text) {
  for (char* p = text; *p != '\0'; ++p)
    *p = AsciiLower(*p);
  return text;
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
