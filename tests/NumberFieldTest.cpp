#include <gtest/gtest.h>

#include <optional>

#include "text/NumberField.h"

namespace trellane {
namespace {

struct NumberCase {
  const char* text;
  std::optional<std::uint32_t> expected;
};

TEST(NumberField, ReadsCIntegerLiterals) {
  const NumberCase cases[] = {
      {"0x100", 0x100},
      {" 0x100 ", 0x100},
      {"\t0X4000", 0x4000},
      {"50010000", 50010000},
      {"-1", 0xFFFFFFFFu},
      {"0x50010000L", 0x50010000},
      {"0", 0},
      {"4294967297", 1},
      {"", std::nullopt},
      {"0x", std::nullopt},
      {"-", std::nullopt},
      {"12ab", std::nullopt},
      {"WS_CHILD", std::nullopt},
      {"0xG1", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const NumberCase& c : cases)
    EXPECT_EQ(ParseIntegerLiteral(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumberField, ReadsFlagExpressionsAsResourceEditorsWriteThem) {
  const NumberCase cases[] = {
      {"NOT 0x10000000|0x40010003", 0x40010003},
      {"0x50000000 | 0x00010000", 0x50010000},
      {"0x10 + 0x01", 0x11},
      {"NOT 0x1 | 0x3", 0x2},
      {"(0x1|0x2)|0x4", 0x7},
      {" 0x00000800 ", 0x800},
      {"0x1 |", std::nullopt},
      {"WS_CHILD|WS_VISIBLE", std::nullopt},
      {"(0x1", std::nullopt},
      {"NOTE", std::nullopt},
  };
  for (const NumberCase& c : cases)
    EXPECT_EQ(ParseFlagsExpression(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumberField, DeepNestingIsRefusedNotRecursedWithoutBound) {
  const std::string deep = std::string(10000, '(') + "1" + std::string(10000, ')');
  EXPECT_EQ(ParseFlagsExpression(deep), std::nullopt);
}

}  // namespace
}  // namespace trellane
