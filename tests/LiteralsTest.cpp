#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "script/Literals.h"

namespace trellane {
namespace {

TEST(Literals, NumbersReadEachRadixAndSuffix) {
  struct Case {
    const char* spelling;
    std::optional<std::uint32_t> value;
    bool isLong;
  };
  const Case cases[] = {
      {"0", 0u, false},
      {"1234567890", 1234567890u, false},
      {"0x1F", 31u, false},
      {"0XabCD", 0xABCDu, false},
      {"017", 15u, false},
      {"12L", 12u, true},
      {"0x10ul", 16u, true},
      {"7U", 7u, false},
      {"4294967297", 1u, false},
      {"08", std::nullopt, false},
      {"0x", std::nullopt, false},
      {"12abc", std::nullopt, false},
      {"0xG", std::nullopt, false},
      {"1.5", std::nullopt, false},
  };
  for (const Case& c : cases) {
    const std::optional<NumberLiteral> literal = ReadNumberLiteral(c.spelling);
    ASSERT_EQ(literal.has_value(), c.value.has_value()) << c.spelling;
    if (literal) {
      EXPECT_EQ(literal->value, *c.value) << c.spelling;
      EXPECT_EQ(literal->isLong, c.isLong) << c.spelling;
    }
  }
}

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
  StringLiteral literal;  // one for every case, as the parser reads them: nothing of one text stays for the next
  for (const Case& c : cases) {
    ReadStringLiteral(c.spelling, 1252, literal);
    EXPECT_EQ(literal.text, c.text) << c.spelling;
    EXPECT_EQ(literal.wide, c.wide) << c.spelling;
    EXPECT_EQ(literal.unreadable, 0u) << c.spelling;
  }
}

}  // namespace
}  // namespace trellane
