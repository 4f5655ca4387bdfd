#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "script/SourceText.h"

namespace trellane {
namespace {

// A UTF-16 file: its mark, then units.
std::string Utf16File(bool bigEndian, std::initializer_list<char16_t> units) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : units) {
    const auto high = static_cast<char>(unit >> 8u);
    const auto low = static_cast<char>(unit & 0xFFu);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
  return bytes;
}

TEST(SourceText, ByteOrderMarksGiveUtf8WithoutTheMark) {
  struct Case {
    std::string bytes;
    SourceEncoding encoding;
    std::string text;
    std::size_t replacedUnits;
  };
  // U+1F600 is the surrogate pair D83D DE00.
  const std::string sample = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  const std::string replacement = "\xEF\xBF\xBD";
  const Case cases[] = {
      {Utf16File(false, {u'A', 0xE9, 0x20AC, 0xD83D, 0xDE00}), SourceEncoding::Utf16LE, sample, 0},
      {Utf16File(true, {u'A', 0xE9, 0x20AC, 0xD83D, 0xDE00}), SourceEncoding::Utf16BE, sample, 0},
      // A lone high surrogate, a lone low one, two high ones, a high one at the end.
      {Utf16File(false, {0xD83D, u'A', 0xDE00, 0xD83D, 0xD83D, 0xDE00, 0xD800}), SourceEncoding::Utf16LE,
       replacement + "A" + replacement + replacement + "\xF0\x9F\x98\x80" + replacement, 4},
      {Utf16File(true, {0, u'\r', u'\n'}), SourceEncoding::Utf16BE, std::string("\0\r\n", 3), 0},
      {Utf16File(false, {}), SourceEncoding::Utf16LE, "", 0},
      {Utf16File(true, {}), SourceEncoding::Utf16BE, "", 0},
      {"\xEF\xBB\xBFx\xFF", SourceEncoding::Utf8WithMark, "x\xFF", 0},
      {"\xEF\xBB\xBF", SourceEncoding::Utf8WithMark, "", 0},
      {"\xEF\xBB", SourceEncoding::CodePage, "\xEF\xBB", 0},
      {"caf\xE9\r\n", SourceEncoding::CodePage, "caf\xE9\r\n", 0},
      {"", SourceEncoding::CodePage, "", 0},
  };
  for (const Case& c : cases) {
    const DecodedSource source = DecodeSource(c.bytes);
    EXPECT_TRUE(source.ok) << c.text;
    EXPECT_EQ(source.encoding, c.encoding) << c.text;
    EXPECT_EQ(source.text, c.text);
    EXPECT_EQ(source.replacedUnits, c.replacedUnits) << c.text;
  }
}

TEST(SourceText, Utf16WithAnOddByteCountCannotBeRead) {
  for (const std::string& bytes : {Utf16File(false, {u'A'}) + "B", Utf16File(true, {}) + "\n"}) {
    const DecodedSource source = DecodeSource(bytes);
    EXPECT_FALSE(source.ok);
    EXPECT_FALSE(source.problem.empty());
    EXPECT_EQ(source.problemOffset, bytes.size() - 1);
  }
}

constexpr int SingleBytePages[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 437, 850};

TEST(SourceText, EverySingleBytePageKeepsAllBytesThroughUtf8) {
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte)
    allBytes.push_back(static_cast<char>(byte));
  for (const int codePage : SingleBytePages) {
    EXPECT_TRUE(IsKnownInputCodePage(codePage)) << codePage;
    EXPECT_TRUE(IsKnownOutputCodePage(codePage)) << codePage;
    std::string utf8 = "x";
    std::size_t invalid = 0;
    AppendFromCodePage(utf8, allBytes, codePage, invalid);
    EXPECT_EQ(invalid, 0u) << codePage;
    EXPECT_EQ(utf8.find("\xEF\xBF\xBD"), std::string::npos) << codePage;
    std::size_t replaced = 0;
    EXPECT_EQ(ToCodePage(utf8, codePage, replaced), "x" + allBytes) << codePage;
    EXPECT_EQ(replaced, 0u) << codePage;
  }
}

TEST(SourceText, HighBytesReadAsWindowsReadsThem) {
  struct Case {
    int codePage;
    unsigned char byte;
    std::uint32_t point;
  };
  const Case cases[] = {
      {1252, 0x80, 0x20AC}, {1252, 0x81, 0x0081}, {1252, 0x9D, 0x009D}, {1252, 0xE9, 0x00E9}, {1250, 0x8A, 0x0160},
      {1251, 0xC0, 0x0410}, {1251, 0x98, 0x0098}, {1253, 0xAA, 0xF8F9}, {1254, 0xD0, 0x011E}, {1255, 0xCA, 0x05BA},
      {1255, 0xFF, 0xF896}, {1256, 0xC7, 0x0627}, {1257, 0xA5, 0xF8FD}, {1258, 0xDE, 0x0303}, {874, 0xA1, 0x0E01},
      {874, 0xDB, 0xF8C1},  {437, 0x80, 0x00C7},  {437, 0xDB, 0x2588},  {850, 0xD5, 0x0131},  {850, 0x9E, 0x00D7},
  };
  for (const Case& c : cases) {
    std::string utf8;
    std::size_t invalid = 0;
    AppendFromCodePage(utf8, std::string(1, static_cast<char>(c.byte)), c.codePage, invalid);
    std::string expected;
    AppendCodePoint(expected, c.point);
    EXPECT_EQ(utf8, expected) << c.codePage << " byte " << int{c.byte};
  }
}

TEST(SourceText, InvalidUtf8BecomesOneReplacementPerMaximalPart) {
  struct Case {
    std::string bytes;
    std::string utf8;
    std::size_t invalid;
  };
  const std::string bad = "\xEF\xBF\xBD";
  const Case cases[] = {
      {"plain \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "plain \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", 0},
      {"\xC0\x80", bad + bad, 2},                      // overlong
      {"\xE0\x80\x80", bad + bad + bad, 3},            // overlong
      {"\xED\xA0\x80", bad + bad + bad, 3},            // surrogate
      {"\xF4\x90\x80\x80", bad + bad + bad + bad, 4},  // above U+10FFFF
      {"a\xE2\x82", "a" + bad, 1},                     // cut off at the end
      {"\xE2\x82z\xF0\x9F\x98", bad + "z" + bad, 2},
      {"\x80\xBF\xFE\xFF", bad + bad + bad + bad, 4},
      {"\xC3\xA9\xC3", "\xC3\xA9" + bad, 1},
  };
  for (const Case& c : cases) {
    std::string utf8;
    std::size_t invalid = 0;
    AppendFromCodePage(utf8, c.bytes, Utf8CodePage, invalid);
    EXPECT_EQ(utf8, c.utf8);
    EXPECT_EQ(invalid, c.invalid) << c.utf8;
  }
}

TEST(SourceText, CharactersAPageLacksAreWrittenAsQuestionMarks) {
  struct Case {
    int codePage;
    std::string utf8;
    std::string bytes;
    std::size_t replaced;
  };
  const Case cases[] = {
      {1252, "caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80", 0},
      {1252, "\xD0\x96x", "?x", 1},  // Cyrillic Zhe
      {1251, "\xD0\x96x", "\xC6x", 0},
      {437, "\xE2\x82\xAC", "?", 1},         // no euro sign in the OEM page
      {1252, "\xF0\x9F\x98\x80!", "?!", 1},  // beyond the BMP
      {1252, "\xEF\xBF\xBD", "?", 1},        // a replacement character stays replaced
      {Utf8CodePage, "a\xC3\xA9", "a?", 1},  // not a page texts are written in
      {932, "a\xC3\xA9", "a?", 1},
      {1252,
       "\xC0\x80"
       "a\xE2\x82",
       "??a?", 3},  // invalid UTF-8
  };
  for (const Case& c : cases) {
    std::size_t replaced = 0;
    EXPECT_EQ(ToCodePage(c.utf8, c.codePage, replaced), c.bytes) << c.codePage;
    EXPECT_EQ(replaced, c.replaced) << c.codePage;
  }
}

TEST(SourceText, PagesWithoutTablesAreNotRead) {
  for (const int codePage : {1361, 20932, 51949, 0, -1}) {
    EXPECT_FALSE(IsKnownInputCodePage(codePage)) << codePage;
    EXPECT_FALSE(IsKnownOutputCodePage(codePage)) << codePage;
    std::string utf8;
    std::size_t invalid = 0;
    AppendFromCodePage(utf8, "ab\x82\xA0", codePage, invalid);
    EXPECT_EQ(utf8, "ab\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(invalid, 2u);
  }
  EXPECT_TRUE(IsKnownInputCodePage(Utf8CodePage));
  EXPECT_FALSE(IsKnownOutputCodePage(Utf8CodePage));
}

TEST(SourceText, DoubleBytePagesReadAndWriteAsWindowsDoes) {
  struct Case {
    int codePage;
    std::string bytes;
    std::string utf8;
  };
  const Case cases[] = {
      {932, "\x95\x5C\x8E\xA6", "\xE8\xA1\xA8\xE7\xA4\xBA"},  // a trail byte that is a backslash
      {932, "\x83\x5C\x83\x74\x83\x67", "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88"},
      {932, "\xB1", "\xEF\xBD\xB1"},  // a half-width katakana is one byte
      {932, "\x80\xA0\xFD", "\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB1"},
      {936, "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
      {936, "\x80", "\xE2\x82\xAC"},
      {949, "\xC7\xD1\xB1\xB9\xBE\xEE", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"},
      {950, "\xA4\xA4\xA4\xE5", "\xE4\xB8\xAD\xE6\x96\x87"},
      {950, "\xC6\xA1", "\xEF\x9A\xB1"},  // Windows reads the ETEN kana as private-use characters
      {949, "\xC9\xA1", "\xEE\x80\x80"},  // a user-defined character
  };
  for (const Case& c : cases) {
    std::string utf8;
    std::size_t invalid = 0;
    AppendFromCodePage(utf8, c.bytes, c.codePage, invalid);
    EXPECT_EQ(utf8, c.utf8) << c.codePage;
    EXPECT_EQ(invalid, 0u) << c.codePage;
    std::size_t replaced = 0;
    EXPECT_EQ(ToCodePage(c.utf8, c.codePage, replaced), c.bytes) << c.codePage;
    EXPECT_EQ(replaced, 0u) << c.codePage;
    EXPECT_TRUE(IsKnownInputCodePage(c.codePage));
    EXPECT_TRUE(IsKnownOutputCodePage(c.codePage));
  }
}

TEST(SourceText, EveryDoubleBytePairReadsAsOneCharacterAndMostWriteBack) {
  for (const int codePage : {932, 936, 949, 950}) {
    std::size_t pairs = 0;
    std::size_t rewritten = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
        if (CharacterLength(bytes, 0, codePage) != 2)
          continue;
        ++pairs;
        std::string utf8;
        std::size_t invalid = 0;
        AppendFromCodePage(utf8, bytes, codePage, invalid);
        ASSERT_EQ(invalid, 0u) << codePage << " " << lead << " " << trail;
        std::size_t replaced = 0;
        const std::string back = ToCodePage(utf8, codePage, replaced);
        ASSERT_EQ(replaced, 0u) << codePage << " " << lead << " " << trail;
        if (back != bytes)
          ++rewritten;  // a second code of a character, written as Windows writes it
      }
    }
    EXPECT_GT(pairs, 9000u) << codePage;
    EXPECT_LT(rewritten, 400u) << codePage;
  }
}

TEST(SourceText, SecondCodesOfACharacterAreWrittenAsWindowsWritesThem) {
  struct Case {
    int codePage;
    std::string read;
    std::string written;
  };
  const Case cases[] = {
      {932, "\x87\x90", "\x81\xE0"},  // NEC's row 13 gives way to JIS
      {932, "\xED\x40", "\xFA\x5C"},  // NEC's selection of IBM's extension gives way to IBM's
      {932, "\xEE\xEF", "\xFA\x40"}, {950, "\xA2\xCC", "\xA4\x51"}, {950, "\xA2\xA4", "\xF9\xF9"},
  };
  for (const Case& c : cases) {
    std::string utf8;
    std::size_t invalid = 0;
    AppendFromCodePage(utf8, c.read, c.codePage, invalid);
    std::size_t replaced = 0;
    EXPECT_EQ(ToCodePage(utf8, c.codePage, replaced), c.written) << c.codePage;
  }
}

TEST(SourceText, LeadBytesWithoutTheirTrailByteReadAsReplacements) {
  struct Case {
    int codePage;
    std::string bytes;
    std::string utf8;
  };
  const std::string replacement = "\xEF\xBF\xBD";
  const Case cases[] = {
      {932, "a\x95", "a" + replacement},    // at the end of the text
      {932, "\x95\n", replacement + "\n"},  // at the end of a line
      {936, "\xD6\"", replacement + "\""},  // before a byte that is no trail byte
      {950, "\xA4\x80\xA4\xA4", replacement + "\xC2\x80\xE4\xB8\xAD"},
  };
  for (const Case& c : cases) {
    std::string utf8;
    std::size_t invalid = 0;
    AppendFromCodePage(utf8, c.bytes, c.codePage, invalid);
    EXPECT_EQ(utf8, c.utf8) << c.codePage;
    EXPECT_EQ(invalid, 1u) << c.codePage;
  }
}

TEST(SourceText, CutsFallBetweenDoubleByteCharacters) {
  struct Case {
    int codePage;
    std::string bytes;
    std::size_t limit;
    std::size_t boundary;
  };
  const Case cases[] = {
      {932, "\x95\x5C\x8E\xA6", 3, 2}, {932, "\x95\x5C\x8E\xA6", 4, 4}, {932, "a\x95\x5C", 2, 1},
      {932, "\xB1\xB2\xB3", 2, 2},     {1252, "\x95\x5C\x8E", 1, 1},    {949, "ab", 9, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CharacterBoundary(c.bytes, c.limit, c.codePage), c.boundary) << c.codePage << " " << c.limit;
}

}  // namespace
}  // namespace trellane
