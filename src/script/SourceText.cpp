#include "script/SourceText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <mutex>
#include <utility>
#include <vector>

#include "text/TextPrimitives.h"

namespace trellane {
namespace {

struct CodePageTable {
  int codePage;
  char16_t high[128];  // bytes 0x80-0xFF
};

struct DoubleByteRow {
  unsigned char lead;
  unsigned char firstTrail;
  unsigned char lastTrail;
  std::uint32_t start;  // of the trail bytes' characters in points
};

struct DoubleByteTable {
  int codePage;
  char16_t single[128];  // bytes 0x80-0xFF; 0 for a lead byte
  const DoubleByteRow* rows;
  std::size_t rowCount;
  const char16_t* points;
  const std::uint16_t* secondary;  // sorted
  std::size_t secondaryCount;
};

#include "script/CodePageTables.inc"

const DoubleByteTable* FindDoubleByteTable(int codePage) {
  for (const DoubleByteTable& table : DoubleByteTables)
    if (table.codePage == codePage)
      return &table;
  return nullptr;
}

// The character of the pair lead, trail, or 0 when it reads as nothing.
char16_t PairPoint(const DoubleByteTable& table, unsigned char lead, unsigned char trail) {
  const DoubleByteRow* end = table.rows + table.rowCount;
  const DoubleByteRow* row =
      std::lower_bound(table.rows, end, lead, [](const DoubleByteRow& r, unsigned char b) { return r.lead < b; });
  if (row == end || row->lead != lead || trail < row->firstTrail || trail > row->lastTrail)
    return 0;
  return table.points[row->start + (trail - row->firstTrail)];
}

// The character at `at` (a byte above 0x7F) and how many bytes it takes; 0
// with length 1 for a lead byte without a trail byte that pairs with it.
std::pair<char16_t, std::size_t> ReadDoubleByte(const DoubleByteTable& table, std::string_view bytes, std::size_t at) {
  const auto byte = static_cast<unsigned char>(bytes[at]);
  if (table.single[byte - 0x80] != 0)
    return {table.single[byte - 0x80], 1};
  if (at + 1 >= bytes.size())
    return {0, 1};
  const char16_t point = PairPoint(table, byte, static_cast<unsigned char>(bytes[at + 1]));
  return {point, point == 0 ? 1 : 2};
}

struct WrittenCode {
  char16_t point;
  std::uint16_t code;  // one byte below 0x100
};

// The codes each character is written as, sorted by character; built the
// first time a text is written in the page.
const std::vector<WrittenCode>& WrittenCodes(const DoubleByteTable& table) {
  constexpr std::size_t Count = std::size(DoubleByteTables);
  static std::once_flag built[Count];
  static std::vector<WrittenCode> codes[Count];
  const auto index = static_cast<std::size_t>(&table - DoubleByteTables);
  std::call_once(built[index], [&] {
    std::vector<WrittenCode>& list = codes[index];
    const auto add = [&](char16_t point, std::uint16_t code) {
      if (point != 0 && !std::binary_search(table.secondary, table.secondary + table.secondaryCount, code))
        list.push_back({point, code});
    };
    for (unsigned byte = 0x80; byte < 0x100; ++byte)
      add(table.single[byte - 0x80], static_cast<std::uint16_t>(byte));
    for (std::size_t r = 0; r < table.rowCount; ++r) {
      const DoubleByteRow& row = table.rows[r];
      for (unsigned trail = row.firstTrail; trail <= row.lastTrail; ++trail)
        add(table.points[row.start + (trail - row.firstTrail)], static_cast<std::uint16_t>(row.lead * 256 + trail));
    }
    std::sort(list.begin(), list.end(), [](const WrittenCode& a, const WrittenCode& b) { return a.point < b.point; });
  });
  return codes[index];
}

// The code of codePoint in the page, or -1.
int CodeOf(const DoubleByteTable& table, std::uint32_t codePoint) {
  const std::vector<WrittenCode>& codes = WrittenCodes(table);
  const auto found =
      std::lower_bound(codes.begin(), codes.end(), codePoint,
                       [](const WrittenCode& entry, std::uint32_t point) { return entry.point < point; });
  if (found == codes.end() || found->point != codePoint)
    return -1;
  return found->code;
}

struct ReverseEntry {
  char16_t point;
  unsigned char byte;
};

struct ReverseTable {
  int codePage;
  std::array<ReverseEntry, 128> entries;  // sorted by point
};

constexpr std::size_t CodePageCount = std::size(CodePageTables);

constexpr std::array<ReverseTable, CodePageCount> ReverseTables = [] {
  std::array<ReverseTable, CodePageCount> tables{};
  for (std::size_t t = 0; t < CodePageCount; ++t) {
    tables[t].codePage = CodePageTables[t].codePage;
    for (std::size_t i = 0; i < 128; ++i)
      tables[t].entries[i] = {CodePageTables[t].high[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(tables[t].entries.begin(), tables[t].entries.end(),
              [](const ReverseEntry& a, const ReverseEntry& b) { return a.point < b.point; });
  }
  return tables;
}();

const CodePageTable* FindTable(int codePage) {
  for (const CodePageTable& table : CodePageTables)
    if (table.codePage == codePage)
      return &table;
  return nullptr;
}

const ReverseTable* FindReverseTable(int codePage) {
  for (const ReverseTable& table : ReverseTables)
    if (table.codePage == codePage)
      return &table;
  return nullptr;
}

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

struct Utf8Step {
  std::uint32_t codePoint = 0xFFFD;
  std::size_t length = 1;  // of the sequence, or of the maximal invalid part
  bool valid = false;
};

// Reads the sequence at `at` (which is before the end) by the table of
// well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
// An invalid part is as long as the bytes that could still begin a valid
// sequence, and at least one byte.
Utf8Step ReadUtf8(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80)
    return {lead, 1, true};
  std::size_t length = 0;
  std::uint32_t point = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    point = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    point = lead & 0x0Fu;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    point = lead & 0x07u;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return {};
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (at + k >= text.size())
      return {0xFFFD, k, false};
    const auto next = static_cast<unsigned char>(text[at + k]);
    if (next < low || next > high)
      return {0xFFFD, k, false};
    low = 0x80;
    high = 0xBF;
    point = (point << 6u) | (next & 0x3Fu);
  }
  return {point, length, true};
}

// Valid runs are copied as they stand; each invalid part becomes U+FFFD.
void AppendValidUtf8(std::string& utf8, std::string_view bytes, std::size_t& invalid) {
  std::size_t runStart = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    i = AsciiRunEnd(bytes, i);
    if (i == bytes.size())
      break;
    const Utf8Step step = ReadUtf8(bytes, i);
    if (!step.valid) {
      utf8.append(bytes.substr(runStart, i - runStart));
      utf8.append(Replacement);
      ++invalid;
      runStart = i + step.length;
    }
    i += step.length;
  }
  utf8.append(bytes.substr(runStart));
}

// The byte of codePoint in the table, or -1.
int ByteOf(const ReverseTable& table, std::uint32_t codePoint) {
  const auto found =
      std::lower_bound(table.entries.begin(), table.entries.end(), codePoint,
                       [](const ReverseEntry& entry, std::uint32_t point) { return entry.point < point; });
  if (found == table.entries.end() || found->point != codePoint)
    return -1;
  return found->byte;
}

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

DecodedSource DecodeSource(std::string&& bytes) {
  const std::string_view view(bytes);
  if (view.substr(0, 2) == "\xFF\xFE" || view.substr(0, 2) == "\xFE\xFF")
    return DecodeSource(view);  // converted: the bytes stay as they are
  DecodedSource source;
  if (view.substr(0, 3) == "\xEF\xBB\xBF") {
    source.encoding = SourceEncoding::Utf8WithMark;
    bytes.erase(0, 3);
  }
  source.text = std::move(bytes);
  return source;
}

bool IsKnownInputCodePage(int codePage) {
  return codePage == Utf8CodePage || IsKnownOutputCodePage(codePage);
}

bool IsKnownOutputCodePage(int codePage) {
  return FindTable(codePage) != nullptr || FindDoubleByteTable(codePage) != nullptr;
}

bool IsDoubleByteCodePage(int codePage) {
  return FindDoubleByteTable(codePage) != nullptr;
}

std::size_t CharacterLength(std::string_view bytes, std::size_t at, int codePage) {
  if (static_cast<unsigned char>(bytes[at]) < 0x80)
    return 1;
  const DoubleByteTable* table = FindDoubleByteTable(codePage);
  return table == nullptr ? 1 : ReadDoubleByte(*table, bytes, at).second;
}

std::size_t CharacterBoundary(std::string_view bytes, std::size_t limit, int codePage) {
  if (limit >= bytes.size())
    return bytes.size();
  if (FindDoubleByteTable(codePage) == nullptr)
    return limit;
  std::size_t at = 0;
  for (;;) {
    const std::size_t next = at + CharacterLength(bytes, at, codePage);
    if (next > limit)
      return at;
    at = next;
  }
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

void AppendFromCodePage(std::string& utf8, std::string_view bytes, int codePage, std::size_t& invalid) {
  if (codePage == Utf8CodePage) {
    AppendValidUtf8(utf8, bytes, invalid);
    return;
  }
  const CodePageTable* table = FindTable(codePage);
  const DoubleByteTable* doubleByte = FindDoubleByteTable(codePage);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t runEnd = AsciiRunEnd(bytes, i);
    utf8.append(bytes.substr(i, runEnd - i));
    if (runEnd == bytes.size())
      break;
    const auto byte = static_cast<unsigned char>(bytes[runEnd]);
    if (doubleByte != nullptr) {
      const auto [point, length] = ReadDoubleByte(*doubleByte, bytes, runEnd);
      if (point != 0) {
        AppendCodePoint(utf8, point);
      } else {
        utf8.append(Replacement);
        ++invalid;
      }
      i = runEnd + length;
      continue;
    }
    if (table != nullptr) {
      AppendCodePoint(utf8, table->high[byte - 0x80]);
    } else {
      utf8.append(Replacement);
      ++invalid;
    }
    i = runEnd + 1;
  }
}

std::string ToCodePage(std::string_view utf8, int codePage, std::size_t& replaced) {
  const ReverseTable* table = FindReverseTable(codePage);
  const DoubleByteTable* doubleByte = FindDoubleByteTable(codePage);
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t runEnd = AsciiRunEnd(utf8, i);
    out.append(utf8.substr(i, runEnd - i));
    if (runEnd == utf8.size())
      break;
    const Utf8Step step = ReadUtf8(utf8, runEnd);
    const int code = !step.valid             ? -1
                     : doubleByte != nullptr ? CodeOf(*doubleByte, step.codePoint)
                     : table != nullptr      ? ByteOf(*table, step.codePoint)
                                             : -1;
    if (code < 0) {
      out.push_back('?');
      ++replaced;
    } else if (code > 0xFF) {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    } else {
      out.push_back(static_cast<char>(code));
    }
    i = runEnd + step.length;
  }
  return out;
}

}  // namespace trellane
