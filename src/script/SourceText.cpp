#include "script/SourceText.h"

namespace trellane {
namespace {

std::uint32_t Utf16Unit(std::string_view bytes, std::size_t at, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[at]);
  const auto second = static_cast<unsigned char>(bytes[at + 1]);
  return bigEndian ? (first << 8u) | second : (second << 8u) | first;
}

bool IsHighSurrogate(std::uint32_t unit) {
  return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLowSurrogate(std::uint32_t unit) {
  return unit >= 0xDC00 && unit < 0xE000;
}

// bytes starts after the mark.
DecodedSource DecodeUtf16(std::string_view bytes, bool bigEndian) {
  DecodedSource source;
  source.encoding = bigEndian ? SourceEncoding::Utf16BE : SourceEncoding::Utf16LE;
  if (bytes.size() % 2 != 0) {
    source.ok = false;
    source.problem = "the UTF-16 script has an odd number of bytes";
    source.problemOffset = bytes.size() + 1;  // the last byte, counting the mark
    return source;
  }
  source.text.reserve(bytes.size() / 2);
  const std::size_t size = bytes.size();
  for (std::size_t i = 0; i < size; i += 2) {
    std::uint32_t unit = Utf16Unit(bytes, i, bigEndian);
    if (unit < 0x80) {
      source.text.push_back(static_cast<char>(unit));
      continue;
    }
    if (IsHighSurrogate(unit) && i + 3 < size && IsLowSurrogate(Utf16Unit(bytes, i + 2, bigEndian))) {
      unit = 0x10000 + ((unit - 0xD800) << 10u) + (Utf16Unit(bytes, i + 2, bigEndian) - 0xDC00);
      i += 2;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      unit = 0xFFFD;
      ++source.replacedUnits;
    }
    AppendCodePoint(source.text, unit);
  }
  return source;
}

}  // namespace

DecodedSource DecodeSource(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
    return DecodeUtf16(bytes.substr(2), false);
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
    return DecodeUtf16(bytes.substr(2), true);
  DecodedSource source;
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    source.encoding = SourceEncoding::Utf8WithMark;
    bytes.remove_prefix(3);
  }
  source.text.assign(bytes);
  return source;
}

bool IsKnownInputCodePage(int codePage) {
  return codePage == Utf8CodePage || codePage == DefaultCodePage;
}

bool IsKnownOutputCodePage(int codePage) {
  return codePage == DefaultCodePage;
}

void AppendCodePoint(std::string& utf8, std::uint32_t codePoint) {
  if ((codePoint >= 0xD800 && codePoint < 0xE000) || codePoint > 0x10FFFF)
    codePoint = 0xFFFD;
  if (codePoint < 0x80) {
    utf8.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    utf8.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    utf8.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    utf8.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    utf8.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    utf8.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// Placeholder until the code page tables exist: bytes are taken as Latin-1.
void AppendFromCodePage(std::string& utf8, std::string_view bytes, int codePage, std::size_t& invalid) {
  if (codePage == Utf8CodePage) {
    utf8.append(bytes);
    return;
  }
  (void)invalid;
  for (const char c : bytes)
    AppendCodePoint(utf8, static_cast<unsigned char>(c));
}

std::string ToCodePage(std::string_view utf8, int codePage, std::size_t& replaced) {
  (void)codePage;
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      const std::uint32_t point = ((c & 0x1Fu) << 6u) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      if (point < 0x100) {
        out.push_back(static_cast<char>(point));
      } else {
        out.push_back('?');
        ++replaced;
      }
      i += 2;
    } else {
      out.push_back('?');
      ++replaced;
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
        ++i;
    }
  }
  return out;
}

}  // namespace trellane
