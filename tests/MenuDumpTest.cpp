#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "radasm/MenuImageText.h"
#include "radasm/MenuRecordFile.h"
#include "radasm/MenuShortcut.h"

namespace trellane {
namespace {

TEST(MenuDump, ShortcutCodesReadAsKeyNames) {
  struct Case {
    std::uint32_t code;
    std::string_view text;
  };
  const Case cases[] = {
      {0, "-"},
      {0x353, "Ctrl+Shift+S"},
      {0x473, "Alt+F4"},
      {0x79, "F10"},
      {0x170, "Shift+F1"},
      {0x221, "Ctrl+PgUp"},
      {0x22, "PgDn"},
      {0x226, "Ctrl+Up"},
      {0x1B, "Esc"},
      {0x41, "A"},
      {0x30, "0"},
      {0x2E, "Del"},
      {0x0D, "Enter"},
      {0x2D, "Ins"},
      {0x08, "Back"},
      {0x09, "Tab"},
      {0x20, "Space"},
      {0x65, "Num5"},
      {0x724, "Ctrl+Shift+Alt+Home"},
      {0x200, "Ctrl"},
      {0x2BA, "Ctrl+0xBA"},
      {0x1234, "0x1234"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShortcutText(c.code), c.text) << c.code;
}

TEST(MenuDump, EveryKeyTheTablesNameReadsBackToItsCode) {
  for (const AccelKey& key : AccelKeyTable)
    EXPECT_EQ(ReadShortcut(ShortcutText(key.code)).code, key.code) << key.name;
}

TEST(MenuDump, ShortcutWordsAreReadWholeInAnyCase) {
  struct Case {
    std::string_view text;
    std::uint32_t code;
    std::size_t keyCount;
    std::vector<std::string_view> unknown;
  };
  const Case cases[] = {
      {"", 0, 0, {}},
      {"Ctrl+Shift+S", 0x353, 1, {}},
      {"cTRL-s", 0x253, 1, {}},
      {"s", 0x53, 1, {}},
      {"7", 0x37, 1, {}},
      {"F12", 0x7B, 1, {}},
      {"BACKSPACE", 0x08, 1, {}},            // the longest name
      {"backspaces", 0, 0, {"backspaces"}},  // one byte longer than any name
      {"Ctrlx+Home", 0x24, 1, {"Ctrlx"}},
      {"Alt+Wheel+Up", 0x426, 1, {"Wheel"}},
      {"A B", 0x43, 2, {}},
      {"\xC4+Ctrl", 0x200, 0, {}},  // a byte of no word ends words
      {"Del\xC4Ins", 0x2F, 2, {}},
      {"ReturnReturnReturn", 0, 0, {"ReturnReturnReturn"}},
  };
  for (const Case& c : cases) {
    const ShortcutReading reading = ReadShortcut(c.text);
    EXPECT_EQ(reading.code, c.code) << c.text;
    EXPECT_EQ(reading.keyCount, c.keyCount) << c.text;
    EXPECT_EQ(reading.unknown, c.unknown) << c.text;
  }
}

TEST(MenuDump, FlagsShowByName) {
  EXPECT_EQ(MenuFlagNames(0), "-");
  EXPECT_EQ(MenuFlagNames(0x03), "CHECKED|GRAYED");
  EXPECT_EQ(MenuFlagNames(0x7F), "CHECKED|GRAYED|RIGHTJUSTIFY|RADIOCHECK|DISABLED|OWNERDRAW|RIGHTORDER");
  EXPECT_EQ(MenuFlagNames(0x104), "RIGHTJUSTIFY|0x100");
}

TEST(MenuDump, OddFilesAreDescribedNotMisread) {
  Image image(MenuImageSize(1) + 7, 0);
  StoreU32(image, MenuHeader::resourceId, 0xFFFFFFFF);
  StoreU16(image, MenuHeader::fixedValue, 99);
  image[MenuItemOffset(0)] = 3;
  StoreU16(image, MenuItemOffset(0) + MenuItemRecord::level, 0xFFFF);
  StoreText(image, MenuItemOffset(0) + MenuItemRecord::caption, 64, "a\tb");
  std::ostringstream out;
  DescribeMenuImage(image, out);
  EXPECT_EQ(out.str(),
            "menu (numeric), id -1, following id 0, 1 item, fixed value 99 (expected 100)\n"
            "        #  name  id  caption   level  flags  shortcut\n"
            "0 (tag 3)  -      0  \"a\\x09b\"     -1  -      -\n"
            "7 bytes after the last record do not make a whole record\n");

  std::ostringstream shortOut;
  DescribeMenuImage(Image(12, 0), shortOut);
  EXPECT_EQ(shortOut.str(), "menu record file too short: 12 bytes\n");
}

}  // namespace
}  // namespace trellane
