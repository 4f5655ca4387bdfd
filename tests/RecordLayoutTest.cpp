#include <gtest/gtest.h>

#include <string>

#include "radasm/DialogRecordFile.h"
#include "radasm/MenuRecordFile.h"
#include "tests/ScriptTestSupport.h"
#include "text/ImageBytes.h"

namespace trellane {
namespace {

TEST(RecordLayout, MenuImageSizesAndOffsets) {
  EXPECT_EQ(MenuImageSize(0), 40u);
  EXPECT_EQ(MenuImageSize(5), 640u);
  EXPECT_EQ(MenuItemOffset(4), 520u);
  EXPECT_EQ(MenuItemRecord::caption + MenuItemRecord::captionWidth, MenuItemRecord::level);
  EXPECT_EQ(MenuItemRecord::identifierName + MenuItemRecord::identifierNameWidth, MenuItemRecord::identifier);
}

TEST(RecordLayout, DialogImageSizesAndOffsets) {
  EXPECT_EQ(DialogImageSize(0), 485u);
  EXPECT_EQ(DialogImageSize(2), 1167u);
  EXPECT_EQ(ControlOffset(1), 826u);
  EXPECT_EQ(DialogWindowOffset + ControlRecord::identifier, 441u);
  EXPECT_EQ(DialogWindowOffset + ControlRecord::identifierName, 445u);
  EXPECT_EQ(DialogHeader::className + DialogHeader::classNameWidth, DialogHeader::menuName);
  EXPECT_EQ(ControlRecord::text + ControlRecord::textWidth, ControlRecord::typeIndex);
  EXPECT_EQ(ControlRecord::identifierName + ControlRecord::identifierNameWidth + 8, ControlRecord::Size);
}

TEST(RecordLayout, TextSlotsAreCutAndAlwaysZeroTerminated) {
  Image image(MenuImageSize(1), 0xAA);
  const std::string longCaption(100, 'c');
  EXPECT_FALSE(
      StoreText(image, MenuItemOffset(0) + MenuItemRecord::caption, MenuItemRecord::captionWidth, longCaption));
  const std::size_t caption = MenuItemOffset(0) + MenuItemRecord::caption;
  EXPECT_EQ(LoadText(image, caption, MenuItemRecord::captionWidth), std::string(63, 'c'));
  EXPECT_EQ(image[caption + 63], 0);
  EXPECT_EQ(image[caption + 64], 0xAA);  // the next field is untouched

  EXPECT_TRUE(StoreText(image, caption, MenuItemRecord::captionWidth, "&Open"));
  EXPECT_EQ(image[caption + 5], 0);
  EXPECT_EQ(image[caption + 63], 0);  // the slot's tail is zero again
}

TEST(RecordLayout, TextsOnZerosWriteOnlyTheirOwnBytes) {
  struct Case {
    std::string text;
    std::string stored;
    bool whole;
  };
  const Case cases[] = {
      {"Item", "Item", true},
      {"", "", true},
      {"1234567", "1234567", true},
      {"12345678", "1234567", false},          // cut to the slot less its zero
      {std::string("ab\0cd", 5), "ab", true},  // up to the first zero byte
      {std::string("1234567\0x", 9), "1234567", true},
  };
  for (const Case& c : cases) {
    Image image(12, 0);
    image[11] = 0xAA;
    EXPECT_EQ(StoreTextOnZeros(image, 2, 8, c.text), c.whole) << c.stored;
    EXPECT_EQ(LoadText(image, 2, 8), c.stored);
    EXPECT_EQ(image[2 + c.stored.size()], 0);
    EXPECT_EQ(image[11], 0xAA);
  }
  Image image(4, 0);
  EXPECT_THROW(StoreTextOnZeros(image, 2, 8, "x"), std::out_of_range);
}

TEST(RecordLayout, StoresAreLittleEndianAndBoundsChecked) {
  Image image(8, 0);
  StoreU32(image, 0, 0xFFFFFFFFu);
  StoreU16(image, 4, 0x12345);
  EXPECT_EQ(image[0], 0xFF);
  EXPECT_EQ(image[3], 0xFF);
  EXPECT_EQ(image[4], 0x45);
  EXPECT_EQ(image[5], 0x23);
  EXPECT_EQ(image[6], 0);
  EXPECT_THROW(StoreU32(image, 6, 1), std::out_of_range);
  EXPECT_THROW(StoreText(image, 4, 8, "x"), std::out_of_range);
}

TEST(RecordLayout, AccelKeyTableTriesLongerNamesFirst) {
  ASSERT_EQ(AccelKeyTable.size(), 75u);
  EXPECT_EQ(AccelKeyTable[0].name, "return");
  EXPECT_EQ(AccelKeyTable[38].name, "up");
  EXPECT_EQ(AccelKeyTable[39].code, 0x30u);
  EXPECT_EQ(AccelKeyTable[74].code, 0x5Au);
  // A name is never tried after a shorter name it contains.
  for (std::size_t i = 0; i < AccelKeyTable.size(); ++i) {
    for (std::size_t j = i + 1; j < AccelKeyTable.size(); ++j)
      EXPECT_EQ(AccelKeyTable[j].name.find(AccelKeyTable[i].name), std::string_view::npos)
          << AccelKeyTable[i].name << " is tried before " << AccelKeyTable[j].name;
  }
}

TEST(RecordLayout, ControlClassLookUpFollowsTableOrder) {
  for (const ClassFieldCase& c : ClassFieldCases()) {
    const ControlClass* row = LookUpControlClass(c.classField);
    ASSERT_NE(row, nullptr) << c.classField;
    EXPECT_EQ(row->typeIndex, c.typeIndex) << c.classField;
    EXPECT_EQ(row->typeCode, c.typeCode) << c.classField;
  }
  EXPECT_EQ(LookUpControlClass("edit"), &ControlClassTable[31]);  // a field that is just the name
  EXPECT_EQ(LookUpControlClass(" \"MyOwnClass\""), nullptr);
}

}  // namespace
}  // namespace trellane
