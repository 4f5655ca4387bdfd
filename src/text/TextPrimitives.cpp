#include "text/TextPrimitives.h"

#include <cstdint>
#include <cstring>

#include "text/AsciiCase.h"

namespace trellane {

bool IsAscii(std::string_view text) {
  // Eight bytes at a time, then the rest one by one.
  constexpr std::uint64_t HighBits = 0x8080808080808080u;
  std::size_t i = 0;
  std::uint64_t seen = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    seen |= word;
  }
  for (; i < text.size(); ++i)
    seen |= static_cast<unsigned char>(text[i]);
  return (seen & HighBits) == 0;
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
