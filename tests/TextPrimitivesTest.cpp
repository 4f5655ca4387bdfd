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

TEST(TextPrimitives, AsciiTextsHaveNoHighByteAnywhere) {
  EXPECT_TRUE(IsAscii(""));
  EXPECT_TRUE(IsAscii(std::string("a\0\x7F", 3)));
  EXPECT_TRUE(IsAscii("Item 12345\tCtrl+Shift+S"));
  // One high byte at every place of texts shorter than, as long as and
  // longer than one word of eight bytes.
  for (const std::size_t length : {1u, 7u, 8u, 9u, 16u, 23u}) {
    for (std::size_t at = 0; at < length; ++at) {
      std::string text(length, 'a');
      text[at] = '\x80';
      EXPECT_FALSE(IsAscii(text)) << length << " " << at;
      text[at] = '\xFF';
      EXPECT_FALSE(IsAscii(text)) << length << " " << at;
    }
  }
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
