#include <gtest/gtest.h>

#include <string>

#include "script/Literals.h"

namespace trellane {
namespace {

TEST(Literals, StringsReadTheirPlainBytesAndEscapesInOrder) {
  struct Case {
    std::string spelling;
    std::string text;
    bool wide;
  };
  const Case cases[] = {
      {"\"plain\"", "plain", false},
      {"\"\"", "", false},
      {"\"a\\tb\"", "a\tb", false},
      {"\"\\x41BC\"", "ABC", false},
      {"\"say \"\"hi\"\"\"", "say \"hi\"", false},
      {"\"\\\"q\\\"\"", "\"q\"", false},
      {"\"ab\\\\\"", "ab\\", false},
      {"\"\\q\"", "\\q", false},
      {"\"ab\\0cd\"", "ab", false},
      {"\"caf\\xE9 \xE9\"", "caf\xC3\xA9 \xC3\xA9", false},
      {"L\"\\x263A ok\"", "\xE2\x98\xBA ok", true},
      {"L\"a\\qb\"", "ab", true},
      {"L\"\\x41\\xE9z \xE9\"", "A\xC3\xA9z \xC3\xA9", true},
  };
  for (const Case& c : cases) {
    const StringLiteral literal = ReadStringLiteral(c.spelling, 1252);
    EXPECT_EQ(literal.text, c.text) << c.spelling;
    EXPECT_EQ(literal.wide, c.wide) << c.spelling;
    EXPECT_EQ(literal.unreadable, 0u) << c.spelling;
  }
}

}  // namespace
}  // namespace trellane
