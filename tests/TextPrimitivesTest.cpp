#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "text/RecordArray.h"
#include "text/TextPrimitives.h"

namespace trellane {
namespace {

// Past a few MB the array grows by mremap and is advised for huge pages:
// the records stay as they were stored, through copies and moves.
TEST(TextPrimitives, RecordArraysKeepTheirRecordsAsTheyGrow) {
  struct Record {
    std::size_t index;
    char bytes[40];
  };
  constexpr std::size_t Count = 300000;  // 14 MB
  RecordArray<Record> records;
  for (std::size_t i = 0; i < Count; ++i)
    records.push_back({i, {static_cast<char>(i)}});
  RecordArray<Record> copy = records;
  RecordArray<Record> moved = std::move(records);
  EXPECT_TRUE(records.empty());  // NOLINT(bugprone-use-after-move): a moved-from array is empty
  const RecordArray<Record>& same = copy;
  copy = same;  // assigned to itself, it keeps its records
  for (const RecordArray<Record>* array : {&copy, &moved}) {
    ASSERT_EQ(array->size(), Count);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < Count; ++i)
      wrong += (*array)[i].index != i || (*array)[i].bytes[0] != static_cast<char>(i);
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ((*array)[Count - 1].index, Count - 1);
  }
  EXPECT_THROW(static_cast<void>(copy.at(Count)), std::out_of_range);
}

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
