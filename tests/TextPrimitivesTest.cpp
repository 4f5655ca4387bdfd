#include <gtest/gtest.h>

#include <string>

#include "text/TextPrimitives.h"

namespace trellane {
namespace {

struct FindCase {
  int start;
  const char* text;
  const char* pattern;
  int expected;
};

TEST(TextPrimitives, FindTextReportsPositionAbsenceAndRangeErrors) {
  const FindCase cases[] = {
      {1, "abc", "abc", -1},  // a pattern as long as the text is never found
      {1, "abcd", "abc", 1},     {2, "abcd", "abc", 0}, {3, "abcd", "abc", -2},
      {0, "abcd", "a", -2},      {0, "", "abc", -2},    {1, "xxabcabc", "abc", 3},
      {4, "xxabcabc", "abc", 6}, {1, "ab", "abc", -1},  {1, "IDC_CONTROL1", "CONTROL", 5},
      {1, "Abc", "abc", -1},     {1, "xAbc", "abc", 0},  // case-sensitive
  };
  for (const FindCase& c : cases)
    EXPECT_EQ(FindText(c.start, c.text, c.pattern), c.expected) << c.text << " / " << c.pattern << " from " << c.start;
}

TEST(TextPrimitives, CountTextCountsOverlappingOccurrences) {
  EXPECT_EQ(CountText("aaa", "aa"), 2);
  EXPECT_EQ(CountText("abc", "abc"), 1);
  EXPECT_EQ(CountText("ab", "abc"), 0);
  EXPECT_EQ(CountText("POPUP POPUP", "POPUP"), 2);
  EXPECT_EQ(CountText("abc", ""), 0);
}

TEST(TextPrimitives, TrimsKeepTheirOwnBytesAndReturnTheLength) {
  // TrimLeft skips only blanks and tabs; TrimRight drops every trailing byte
  // below '!' and keeps bytes above 0x7F. Both trim in place here.
  struct Case {
    int (*trim)(const char*, char*);
    const char* text;
    int length;
    const char* trimmed;
  };
  const Case cases[] = {
      {TrimLeft, "\t  x ", 2, "x "},       {TrimLeft, "\r\nx", 3, "\r\nx"}, {TrimLeft, " \t ", 0, ""},
      {TrimRight, " a b \r\n", 4, " a b"}, {TrimRight, "\r\n", 0, ""},      {TrimRight, "a\xE9 ", 2, "a\xE9"},
  };
  for (const Case& c : cases) {
    std::string buffer = c.text;
    EXPECT_EQ(c.trim(buffer.data(), buffer.data()), c.length) << '"' << c.text << '"';
    EXPECT_STREQ(buffer.c_str(), c.trimmed) << '"' << c.text << '"';
  }
}

TEST(TextPrimitives, ParseDecimalWrapsAndValidatesNothing) {
  EXPECT_EQ(ParseDecimal("1000"), 1000);
  EXPECT_EQ(ParseDecimal("-1"), -1);
  EXPECT_EQ(ParseDecimal("4294967297"), 1);
  EXPECT_EQ(ParseDecimal(""), 0);
  EXPECT_EQ(ParseDecimal("-"), 0);
  EXPECT_EQ(ParseDecimal("2147483648"), INT32_MIN);
}

TEST(TextPrimitives, ParseHexReadsEitherLetterCase) {
  EXPECT_EQ(ParseHex("1Ab"), 427u);
  EXPECT_EQ(ParseHex("ff"), 255u);
  EXPECT_EQ(ParseHex("FF"), 255u);
  EXPECT_EQ(ParseHex(""), 0u);
  EXPECT_EQ(ParseHex("50010000"), 0x50010000u);
  EXPECT_EQ(ParseHex("123456789"), 0x23456789u);  // only the last eight digits survive
}

TEST(TextPrimitives, CopiesAppendsAndLowersBytes) {
  char buffer[32];
  EXPECT_EQ(CopyText("abc", buffer), 3);
  EXPECT_STREQ(AppendText(buffer, "def"), "abcdef");
  EXPECT_STREQ(CopyCount("abcdef", buffer, 3), "abc");
  EXPECT_STREQ(CopyCount("abcdef", buffer, 0), "");
  const char withZero[] = {'a', '\0', 'b'};
  CopyCount(withZero, buffer, 3);
  EXPECT_EQ(std::string(buffer, 4), std::string("a\0b\0", 4));  // a zero among the bytes is copied
  char classField[32] = "SysTabControl32\xC4";
  EXPECT_STREQ(LowerAscii(classField), "systabcontrol32\xC4");
}

TEST(TextPrimitives, DirectoryOfPathKeepsTheLastBackslash) {
  char buffer[64];
  DirectoryOfPath("C:\\a\\b.rc", buffer);
  EXPECT_STREQ(buffer, "C:\\a\\");
  DirectoryOfPath("C:\\work\\", buffer);
  EXPECT_STREQ(buffer, "C:\\work\\");
  DirectoryOfPath("plain.rc", buffer);
  EXPECT_STREQ(buffer, "");
}

}  // namespace
}  // namespace trellane
