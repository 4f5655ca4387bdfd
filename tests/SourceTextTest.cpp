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

}  // namespace
}  // namespace trellane
