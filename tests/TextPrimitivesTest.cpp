#include <gtest/gtest.h>

#include <string>

#include "text/TextPrimitives.h"

namespace trellane {
namespace {

TEST(TextPrimitives, CopiesAppendsAndLowersBytes) {
  char buffer[32];
  EXPECT_EQ(CopyText("abc", buffer), 3);
  EXPECT_STREQ(AppendText(buffer, "def"), "abcdef");
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
