#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/Converters.h"
#include "radasm/MenuImageText.h"
#include "radasm/MenuRecordFile.h"

namespace trellane {
namespace {

// Writes LF-separated lines with CR LF line ends.
std::string CrLf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n')
      out += '\r';
    out += c;
  }
  return out;
}

const std::string WorkedExample =
    "#define IDR_MAINMENU 600\n"
    "#define IDM_OPEN 601\n"
    "#define IDM_ABOUT 603\n"
    "\n"
    "IDR_MAINMENU MENUEX\n"
    "BEGIN\n"
    "    POPUP \"&File\",0\n"
    "    BEGIN\n"
    "        MENUITEM \"&Open\\tCtrl+O\",IDM_OPEN,0x0,0x3\n"
    "        MENUITEM \"\",0,0x800\n"
    "    END\n"
    "    POPUP \"&Help\",0,0x4000\n"
    "    BEGIN\n"
    "        MENUITEM \"&About\",IDM_ABOUT,0x0,0x8\n"
    "    END\n"
    "END\n";

// A menu resource around the given item lines.
std::string Menu(std::string_view items) {
  return "#define IDM_X 7\n1 MENUEX\nBEGIN\n" + std::string(items) + "END\n";
}

bool HasWarning(const ConverterResult& result, std::string_view part) {
  for (const Diagnostic& diagnostic : result.diagnostics) {
    if (diagnostic.message.find(part) != std::string::npos)
      return true;
  }
  return false;
}

std::string Warnings(const ConverterResult& result) {
  std::string all;
  for (const Diagnostic& diagnostic : result.diagnostics)
    all += diagnostic.message + "\n";
  return all;
}

std::string Dump(const ConverterResult& result) {
  std::ostringstream out;
  DescribeMenuImage(result.image, out);
  return out.str();
}

struct Item {
  std::string name;
  std::uint32_t identifier;
  std::string caption;
  std::uint32_t level;
  std::uint32_t flags;
  std::uint32_t shortcut;
};

Item ItemAt(const ConverterResult& result, std::size_t index) {
  const std::size_t record = MenuItemOffset(index);
  return Item{std::string(LoadText(result.image, record + MenuItemRecord::identifierName, 32)),
              LoadU32(result.image, record + MenuItemRecord::identifier),
              std::string(LoadText(result.image, record + MenuItemRecord::caption, 64)),
              LoadU16(result.image, record + MenuItemRecord::level),
              LoadU16(result.image, record + MenuItemRecord::flags),
              LoadU16(result.image, record + MenuItemRecord::shortcut)};
}

std::size_t ItemCount(const ConverterResult& result) {
  return (result.image.size() - MenuHeader::Size) / MenuItemRecord::Size;
}

void Put16(Image& bytes, std::size_t offset, std::uint32_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutText(Image& bytes, std::size_t offset, std::string_view text) {
  std::memcpy(bytes.data() + offset, text.data(), text.size());
}

TEST(MenuConverter, WorkedExampleGivesExactlyItsBytes) {
  Image expected = ZeroedImage(640);
  PutText(expected, 0, "IDR_MAINMENU");
  Put16(expected, 32, 600);
  Put16(expected, 36, 601);
  Put16(expected, 38, 100);
  struct Row {
    std::string_view name;
    std::uint32_t identifier;
    std::string_view caption;
    std::uint32_t level;
    std::uint32_t flags;
    std::uint32_t shortcut;
  };
  const Row rows[] = {
      {"", 0, "&File", 0, 0, 0},    {"IDM_OPEN", 601, "&Open", 1, 0x12, 0x24F}, {"", 0, "-", 1, 0, 0},
      {"", 0, "&Help", 0, 0x04, 0}, {"IDM_ABOUT", 603, "&About", 1, 0x01, 0},
  };
  std::size_t offset = 40;
  for (const Row& row : rows) {
    expected[offset] = 1;
    PutText(expected, offset + 4, row.name);
    Put16(expected, offset + 36, row.identifier);
    PutText(expected, offset + 40, row.caption);
    Put16(expected, offset + 104, row.level);
    Put16(expected, offset + 112, row.flags);
    Put16(expected, offset + 116, row.shortcut);
    offset += 120;
  }

  const ConverterResult result = ConvertMenuScript(CrLf(WorkedExample));
  ASSERT_TRUE(result.keywordFound);
  EXPECT_EQ(result.recordCount, 5u);
  EXPECT_EQ(result.image, expected);
  EXPECT_TRUE(result.diagnostics.empty()) << Warnings(result);
}

TEST(MenuConverter, LfAndCrLfScriptsGiveTheSameImage) {
  std::ifstream file(std::string(TRELLANE_SOURCE_DIR) + "/examples/menu.rc", std::ios::binary);
  const std::string example{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ASSERT_NE(example.find("\r\n"), std::string::npos) << "the example keeps CR LF line ends";
  std::string exampleLf;
  for (const char c : example) {
    if (c != '\r')
      exampleLf += c;
  }
  for (const auto& [lf, crLf] : {std::pair{WorkedExample, CrLf(WorkedExample)}, std::pair{exampleLf, example}}) {
    const ConverterResult fromLf = ConvertMenuScript(lf);
    const ConverterResult fromCrLf = ConvertMenuScript(crLf);
    ASSERT_TRUE(fromLf.keywordFound);
    EXPECT_GT(fromLf.recordCount, 0u);
    EXPECT_EQ(fromLf.image, fromCrLf.image);
    EXPECT_EQ(Dump(fromLf), Dump(fromCrLf));
    EXPECT_TRUE(fromLf.diagnostics.empty()) << Warnings(fromLf);
  }
}

TEST(MenuConverter, ExampleScriptConvertsAsItsDumpShows) {
  std::ifstream file(std::string(TRELLANE_SOURCE_DIR) + "/examples/menu.rc", std::ios::binary);
  const std::string example{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const ConverterResult result = ConvertMenuScript(example);
  EXPECT_EQ(Dump(result),
            "menu IDR_MAINMENU, id 10000, following id 10001, 15 items\n"
            " #  name                   id  caption        level  flags            shortcut\n"
            " 0  -                       0  \"&File\"            0  -                -\n"
            " 1  IDM_FILE_NEW        10001  \"&New\"             1  -                Ctrl+N\n"
            " 2  IDM_FILE_OPEN       10002  \"&Open...\"         1  -                Ctrl+O\n"
            " 3  IDM_FILE_SAVE       10003  \"&Save\"            1  -                Ctrl+S\n"
            " 4  IDM_FILE_SAVEAS     10004  \"Save &As...\"      1  -                Ctrl+Shift+S\n"
            " 5  -                       0  \"-\"                1  -                -\n"
            " 6  IDM_FILE_EXIT       10005  \"E&xit\"            1  -                Alt+F4\n"
            " 7  -                       0  \"&Edit\"            0  -                -\n"
            " 8  IDM_EDIT_UNDO       10006  \"&Undo\"            1  GRAYED|DISABLED  Ctrl+Z\n"
            " 9  IDM_EDIT_DELETE     10007  \"&Delete\"          1  -                Del\n"
            "10  -                       0  \"&View\"            0  -                -\n"
            "11  IDM_VIEW_TOOLBAR    10008  \"&Toolbar\"         1  CHECKED          -\n"
            "12  IDM_VIEW_STATUSBAR  10009  \"&Status Bar\"      1  CHECKED          -\n"
            "13  -                       0  \"&Help\"            0  RIGHTJUSTIFY     -\n"
            "14  IDM_HELP_ABOUT      10010  \"&About...\"        1  -                F1\n");
}

struct ShortcutCase {
  std::string_view caption;  // as written between the quotes
  std::string_view stored;
  std::uint32_t shortcut;
};

TEST(MenuConverter, ShortcutDescriptionsGiveTheirKeyCodes) {
  const ShortcutCase cases[] = {
      {"S\\tCtrl+Shift+S", "S", 0x353},
      {"Close\\tAlt+F4", "Close", 0x473},
      {"Menu\\tF10", "Menu", 0x79},
      {"Help\\tShift+F1", "Help", 0x170},
      {"Prev\\tCtrl+PgUp", "Prev", 0x221},
      {"Up\\tCtrl+Up", "Up", 0x226},
      {"Quit\\tEsc", "Quit", 0x1B},
      {"All\\tA", "All", 0x41},
      {"Cut\\tCtrl+X", "Cut", 0x258},
      {"lower\\tctrl+o", "lower", 0x24F},
      {"Blanks\\tCtrl + O", "Blanks", 0x24F},
      {"Keypad\\tNum5", "Keypad", 0x65},
      {"Home\\tCtrl+Shift+Alt+Home", "Home", 0x724},
      // Whole words: names that are no table rows are read as the aliases
      // resource editors write, not letter by letter.
      {"Delete\\tDel", "Delete", 0x2E},
      {"Delete\\tDELETE", "Delete", 0x2E},
      {"Go\\tEnter", "Go", 0x0D},
      {"Go\\tAlt+Return", "Go", 0x40D},
      {"Mode\\tInsert", "Mode", 0x2D},
      {"Mode\\tIns", "Mode", 0x2D},
      {"Stop\\tEscape", "Stop", 0x1B},
      {"Page\\tPageUp", "Page", 0x21},
      {"Page\\tPageDown", "Page", 0x22},
      {"Erase\\tBackspace", "Erase", 0x08},
      {"Erase\\tBksp", "Erase", 0x08},
      {"Erase\\tBack", "Erase", 0x08},
      {"Play\\tCtrl+Space", "Play", 0x220},
      {"Remove\\tShift+Del", "Remove", 0x12E},
      // Where the caption is split.
      {"\\tCtrl+X", "", 0x258},
      {"a\\tb\\tCtrl+B", "a\tb", 0x242},
      {"Trailing\\t", "Trailing", 0},
      {"Plain", "Plain", 0},
  };
  for (const ShortcutCase& c : cases) {
    const ConverterResult result = ConvertMenuScript(Menu("MENUITEM \"" + std::string(c.caption) + "\",1\n"));
    ASSERT_EQ(result.recordCount, 1u) << c.caption;
    const Item item = ItemAt(result, 0);
    EXPECT_EQ(item.caption, c.stored) << c.caption;
    EXPECT_EQ(item.shortcut, c.shortcut) << c.caption;
    EXPECT_TRUE(result.diagnostics.empty()) << c.caption << ": " << Warnings(result);
  }
}

TEST(MenuConverter, UnknownShortcutWordAddsNothingAndWarns) {
  const ConverterResult result = ConvertMenuScript(Menu("MENUITEM \"Zoom\\tCtrl+Wheel\",1\n"));
  EXPECT_EQ(ItemAt(result, 0).shortcut, 0x200u);
  EXPECT_TRUE(HasWarning(result, "shortcut key Wheel is unknown")) << Warnings(result);

  const ConverterResult noKey = ConvertMenuScript(Menu("MENUITEM \"Zoom in\\tCtrl++\",1\n"));
  EXPECT_EQ(ItemAt(noKey, 0).shortcut, 0x200u);
  EXPECT_TRUE(HasWarning(noKey, "names no key")) << Warnings(noKey);
}

TEST(MenuConverter, EmptyCaptionAfterAShortcutItemHasNoShortcut) {
  const ConverterResult result = ConvertMenuScript(Menu("MENUITEM \"&Open\\tCtrl+O\",1\nMENUITEM \"\",,0x800\n"));
  EXPECT_EQ(ItemAt(result, 1).caption, "-");
  EXPECT_EQ(ItemAt(result, 1).shortcut, 0u);
}

struct FlagCase {
  std::string_view fields;  // after the identifier
  std::uint32_t flags;
};

TEST(MenuConverter, TypeAndStateBitsMapToRecordFlags) {
  const FlagCase cases[] = {
      {",0x100", 0x20},      {",0x200", 0x08},   {",0x2000", 0x40},  {",0x4000", 0x04},        {",0x800", 0x00},
      {",0x0,0x1", 0x02},    {",0x0,0x2", 0x10}, {",0x0,0x8", 0x01}, {",0x0,0x3", 0x12},       {",0x0,0x4", 0x00},
      {",0x6300,0xB", 0x7F}, {"", 0x00},         {",,0x8", 0x01},    {",0x4000,0x8,99", 0x05},
  };
  for (const FlagCase& c : cases) {
    const ConverterResult result = ConvertMenuScript(Menu("MENUITEM \"x\",1" + std::string(c.fields) + "\n"));
    EXPECT_EQ(ItemAt(result, 0).flags, c.flags) << c.fields;
  }
}

TEST(MenuConverter, LevelsFollowNestedPopups) {
  const ConverterResult result =
      ConvertMenuScript(Menu("POPUP \"A\"\n"
                             "BEGIN\n"
                             "  MENUITEM \"A1\",1\n"
                             "  POPUP \"A2\"\n"
                             "  BEGIN\n"
                             "    POPUP \"A2a\"\n"
                             "    BEGIN\n"
                             "      MENUITEM \"deep\",2\n"
                             "    END\n"
                             "    MENUITEM \"A2b\",3\n"
                             "  END\n"
                             "  MENUITEM \"A3\",4\n"
                             "END\n"
                             "MENUITEM \"top\",5\n"));
  const std::vector<std::uint32_t> expected{0, 1, 1, 2, 3, 2, 1, 0};
  ASSERT_EQ(result.recordCount, expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(ItemAt(result, i).level, expected[i]) << i;
  EXPECT_TRUE(result.diagnostics.empty()) << Warnings(result);
}

TEST(MenuConverter, KeywordsCountOnlyAsWholeStatementWords) {
  const ConverterResult result = ConvertMenuScript(
      "#define IDM_POPUP1 1\n#define IDM_SEND 2\n"
      "1 MENUEX\n"
      "BEGIN // MENUITEM in a comment\n"
      "  POPUP \"File\"\n"
      "  BEGIN \n"
      "    MENUITEM \"Open\",IDM_POPUP1\n"
      "    MENUITEM \"Send\",IDM_SEND\n"
      "    // MENUITEM \"commented\",3\n"
      "    /* POPUP \"also\"\n"
      "       MENUITEM \"commented\" */\n"
      "    MENUITEM\t\"Tabbed\",4\n"
      "  END\t\n"
      "  MENUITEM \"Last\",6\n"
      "END\n");
  ASSERT_EQ(result.recordCount, 5u) << Warnings(result);
  const std::vector<std::uint32_t> levels{0, 1, 1, 1, 0};
  const std::vector<std::string> captions{"File", "Open", "Send", "Tabbed", "Last"};
  for (std::size_t i = 0; i < levels.size(); ++i) {
    EXPECT_EQ(ItemAt(result, i).level, levels[i]) << i;
    EXPECT_EQ(ItemAt(result, i).caption, captions[i]) << i;
  }
  EXPECT_EQ(ItemAt(result, 1).identifier, 1u);
  EXPECT_EQ(ItemAt(result, 2).identifier, 2u);
}

TEST(MenuConverter, OnlyTheFirstMenusOwnItemsAreConverted) {
  const ConverterResult result = ConvertMenuScript(
      "#define IDM_A 1\n"
      "IDD_MAIN DIALOGEX 0,0,100,50\n"
      "STYLE WS_POPUP|WS_CAPTION\n"
      "MENU IDR_OLD\n"
      "BEGIN\n"
      "  CONTROL \"MENUITEM\",1,\"Button\",WS_POPUP,1,1,1,1\n"
      "END\n"
      "IDR_OLD MENU\n"
      "BEGIN\n"
      "  POPUP \"Old\"\n"
      "  BEGIN\n"
      "    MENUITEM \"Old item\",IDM_A\n"
      "  END\n"
      "END\n"
      "IDR_NEW MENUEX\n"
      "BEGIN\n"
      "  MENUITEM \"New item\",IDM_A\n"
      "END\n"
      "IDR_OTHER MENUEX\n"
      "BEGIN\n"
      "  MENUITEM \"Other\",IDM_A\n"
      "END\n");
  ASSERT_TRUE(result.keywordFound);
  ASSERT_EQ(result.recordCount, 2u);
  EXPECT_EQ(result.image.size(), MenuImageSize(2));
  EXPECT_EQ(ItemAt(result, 1).caption, "Old item");
  EXPECT_EQ(ItemAt(result, 1).level, 1u);
  EXPECT_EQ(LoadText(result.image, MenuHeader::resourceName, 32), "IDR_OLD");
  EXPECT_TRUE(HasWarning(result,
                         "a further MENUEX resource is not converted; only the first one is (IDR_OLD; not "
                         "IDR_NEW, IDR_OTHER)"))
      << Warnings(result);
}

TEST(MenuConverter, PopupWithoutIdentifierTakesNothingFromTheNextLine) {
  const ConverterResult result =
      ConvertMenuScript(Menu("POPUP \"File\"\nBEGIN\n  MENUITEM \"Open\",IDM_X,0x4000,0x8\nEND\n"));
  const Item popup = ItemAt(result, 0);
  EXPECT_EQ(popup.identifier, 0u);
  EXPECT_EQ(popup.name, "");
  EXPECT_EQ(popup.flags, 0u);
  const Item item = ItemAt(result, 1);
  EXPECT_EQ(item.name, "IDM_X");
  EXPECT_EQ(item.identifier, 7u);
  EXPECT_EQ(item.flags, 0x05u);
}

TEST(MenuConverter, EmptyIdentifierFieldGivesZeroAndStillReadsTheType) {
  const ConverterResult result =
      ConvertMenuScript(Menu("MENUITEM \"\",,0x00000800\nPOPUP \"Help\",  ,0x4000\nBEGIN\nEND\n"));
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(ItemAt(result, i).identifier, 0u) << i;
    EXPECT_EQ(ItemAt(result, i).name, "") << i;
  }
  EXPECT_EQ(ItemAt(result, 0).caption, "-");
  EXPECT_EQ(ItemAt(result, 1).flags, 0x04u);
  EXPECT_TRUE(result.diagnostics.empty()) << Warnings(result);
}

TEST(MenuConverter, TypeAndStateAreNumbersWithBlanksAround) {
  const FlagCase cases[] = {
      {", 0x4000", 0x04},      {",\t0x4000 , 0x8 ", 0x05}, {", 16384", 0x04},
      {",0x4000|0x100", 0x24}, {",0x0,0x1|0x8", 0x03},     {",0x0,NOT 0x1|0x8", 0x01},
  };
  for (const FlagCase& c : cases) {
    const ConverterResult result = ConvertMenuScript(Menu("MENUITEM \"x\",1" + std::string(c.fields) + "\n"));
    EXPECT_EQ(ItemAt(result, 0).flags, c.flags) << c.fields;
    EXPECT_TRUE(result.diagnostics.empty()) << c.fields << ": " << Warnings(result);
  }
}

TEST(MenuConverter, WindowsConstantsWithoutTheirHeaderAreUsedWithAWarning) {
  const ConverterResult result = ConvertMenuScript(Menu("MENUITEM \"x\",1,MFT_RADIOCHECK,0x8\n"));
  EXPECT_EQ(ItemAt(result, 0).flags, 0x09u);
  EXPECT_TRUE(HasWarning(result, "MFT_RADIOCHECK is not defined; the Windows headers' value is used"))
      << Warnings(result);
  const ConverterResult included =
      ConvertMenuScript("#include <windows.h>\n1 MENUEX\nBEGIN\nMENUITEM \"x\",1,MFT_RADIOCHECK,MFS_CHECKED\nEND\n");
  EXPECT_EQ(ItemAt(included, 0).flags, 0x09u);
  EXPECT_TRUE(included.diagnostics.empty()) << Warnings(included);
}

TEST(MenuConverter, IdentifiersFillTheirWhole32BitSlot) {
  struct Case {
    std::string_view field;
    std::uint32_t value;
  };
  const Case cases[] = {{"0", 0}, {"65535", 65535}, {"-1", 0xFFFFFFFF}, {"70000", 70000}, {"IDC_STATIC", 0xFFFFFFFF}};
  for (const Case& c : cases) {
    const ConverterResult result = ConvertMenuScript(Menu("MENUITEM \"x\"," + std::string(c.field) + "\n"));
    EXPECT_EQ(ItemAt(result, 0).identifier, c.value) << c.field;
  }
  const ConverterResult minusOne = ConvertMenuScript("#define IDR_M -1\nIDR_M MENUEX\nBEGIN\nEND\n");
  EXPECT_EQ(LoadU32(minusOne.image, MenuHeader::resourceId), 0xFFFFFFFFu);
  EXPECT_EQ(LoadU16(minusOne.image, MenuHeader::followingId), 0u);
}

TEST(MenuConverter, HeaderHoldsNameIdentifierAndFollowingId) {
  struct Case {
    std::string_view script;
    std::string_view name;
    std::uint32_t id;
    std::uint32_t following;
  };
  const Case cases[] = {
      {"500 MENUEX\nBEGIN\nEND\n", "", 500, 501},
      {"65535 MENUEX\nBEGIN\nEND\n", "", 65535, 0},
      {"#define IDR_M\t42 \nIDR_M MENUEX\nBEGIN\nEND\n", "IDR_M", 42, 43},
      {"IDR_UNDEFINED MENUEX\nBEGIN\nEND\n", "IDR_UNDEFINED", 0, 1},
  };
  for (const Case& c : cases) {
    const ConverterResult result = ConvertMenuScript(c.script);
    ASSERT_EQ(result.image.size(), 40u) << c.script;
    EXPECT_EQ(LoadText(result.image, MenuHeader::resourceName, 32), c.name) << c.script;
    EXPECT_EQ(LoadU32(result.image, MenuHeader::resourceId), c.id) << c.script;
    EXPECT_EQ(LoadU16(result.image, MenuHeader::followingId), c.following) << c.script;
    EXPECT_EQ(LoadU16(result.image, MenuHeader::fixedValue), 100u) << c.script;
  }
}

TEST(MenuConverter, TextsTooLongForTheirSlotsAreCutWithAWarning) {
  const std::string longCaption(70, 'c');
  const std::string longName = "IDM_" + std::string(36, 'N');
  const std::string longResource = "IDR_" + std::string(40, 'R');
  const ConverterResult result =
      ConvertMenuScript("#define " + longName + " 9\n" + longResource + " MENUEX\nBEGIN\n  MENUITEM \"" + longCaption +
                        "\\tCtrl+K\"," + longName + "\nEND\n");
  ASSERT_EQ(result.recordCount, 1u);
  const Item item = ItemAt(result, 0);
  EXPECT_EQ(item.caption, longCaption.substr(0, 63));
  EXPECT_EQ(item.name, longName.substr(0, 31));
  EXPECT_EQ(item.identifier, 9u);
  EXPECT_EQ(item.shortcut, 0x24Bu);
  EXPECT_EQ(LoadText(result.image, MenuHeader::resourceName, 32), longResource.substr(0, 31));
  EXPECT_TRUE(HasWarning(result, "caption cut to 63 characters"));
  EXPECT_TRUE(HasWarning(result, "name " + longName + " cut to 31 characters"));
  EXPECT_TRUE(HasWarning(result, "name " + longResource + " cut to 31 characters"));
}

TEST(MenuConverter, WarningsPointAtTheItemsLine) {
  std::string script = CrLf(Menu("MENUITEM \"a\",1\nMENUITEM \"b\",IDM_NOWHERE\n"));
  ConverterResult result = ConvertMenuScript(script);
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].position, script.find("IDM_NOWHERE"));
  EXPECT_EQ(result.diagnostics[0].line, 5u);
  EXPECT_EQ(result.diagnostics[0].column, 14u);
  EXPECT_EQ(result.diagnostics[0].message, "IDM_NOWHERE has no #define; identifier 0");
}

TEST(MenuConverter, QuotedCaptionsKeepDoubledQuotesAndCommas) {
  const ConverterResult result =
      ConvertMenuScript(Menu("MENUITEM \"Say \"\"Hi\"\", now\",IDM_X,,0x8 // \"quoted\", 99\n"));
  const Item item = ItemAt(result, 0);
  EXPECT_EQ(item.caption, "Say \"Hi\", now");
  EXPECT_EQ(item.identifier, 7u);
  EXPECT_EQ(item.flags, 0x01u);
  EXPECT_TRUE(result.diagnostics.empty()) << Warnings(result);
}

TEST(MenuConverter, MenuitemSeparatorBecomesASeparatorRecord) {
  const ConverterResult result = ConvertMenuScript(Menu("MENUITEM SEPARATOR\n"));
  ASSERT_EQ(result.recordCount, 1u);
  EXPECT_EQ(ItemAt(result, 0).caption, "-");
  EXPECT_TRUE(result.diagnostics.empty()) << Warnings(result);
}

// MENU options are stored as the MENUEX type and state that mean the same to
// Windows: GRAYED and INACTIVE both grey and disable an item there.
TEST(MenuConverter, MenuOptionsAreStoredAsTheirExtendedMeaning) {
  const ConverterResult result = ConvertMenuScript(
      "1 MENU\nBEGIN\n POPUP \"&File\", HELP\n BEGIN\n  MENUITEM \"a\", 1, CHECKED\n  MENUITEM \"b\", 2, GRAYED\n"
      "  MENUITEM \"c\", 3, INACTIVE\n  MENUITEM SEPARATOR\n  MENUITEM \"d\", 4, CHECKED GRAYED\n"
      "  MENUITEM \"e\", 5, MENUBREAK\n END\nEND\n");
  ASSERT_EQ(result.recordCount, 7u) << Warnings(result);
  const std::uint32_t flags[] = {0x04, 0x01, 0x12, 0x12, 0, 0x13, 0};
  for (std::size_t i = 0; i < std::size(flags); ++i)
    EXPECT_EQ(ItemAt(result, i).flags, flags[i]) << i;
  EXPECT_EQ(ItemAt(result, 4).caption, "-");
  EXPECT_TRUE(HasWarning(result, "menu break")) << Warnings(result);
}

TEST(MenuConverter, ScriptsWithoutAMenuGiveNoImage) {
  const std::string_view scripts[] = {
      "",
      "// IDR_M MENUEX\n/* IDR_M MENUEX */\nIDD DIALOGEX 0,0,1,1\nCAPTION \"MENUEX\"\n",
      "IDD_MENU DIALOG 0,0,1,1\nMENU IDR_MENU\nBEGIN\nEND\n",
  };
  for (const std::string_view script : scripts) {
    const ConverterResult result = ConvertMenuScript(script);
    EXPECT_FALSE(result.keywordFound) << script;
    EXPECT_TRUE(result.image.empty()) << script;
  }
}

// Broken menus are either read with a warning or refused with an error that
// says where; nothing is written from a refused script.
TEST(MenuConverter, BrokenScriptsAreReadWithAWarningOrRefused) {
  constexpr int Refused = -1;
  struct Case {
    std::string_view script;
    int items;
    std::string_view message;
  };
  const Case cases[] = {
      // The keyword is the last thing in the file.
      {"MENUEX", Refused, "expected the type of resource 'MENUEX'"},
      {"IDR_M MENUEX", 0, "has no BEGIN"},
      {"1 MENUEX\n  MENUITEM \"a\",1\n", Refused, "expected BEGIN"},
      // The block is never closed: its items run to the end of the script.
      {"1 MENUEX\nBEGIN\n  POPUP \"a\"\n  BEGIN\n    MENUITEM \"b\",1", 2, "no closing END"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"a\",1\nEND\nEND\n  MENUITEM \"b\",2\nEND\n", Refused,
       "'END' stands outside any resource"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"unterminated,1\nEND\n", Refused, "unclosed string"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"", Refused, "unclosed string"},
      {"1 MENUEX\nBEGIN\n  MENUITEM IDM_X,1\nEND\n", Refused, "expected a quoted text"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"a\" junk ,1\nEND\n", Refused, "expected MENUITEM, POPUP or END, found 'junk'"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"a\",1,0x,0x1\nEND\n", Refused, "'0x' is not a number"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"a\",\"b\",0x1\nEND\n", Refused, "found '\"b\"'"},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"x\\t\\t\",1,0x1,0x1,0x1,0x1,0x1\r\r\nEND\n", 1, "at most 3 values"},
      {"1 MENUEX\r\rBEGIN\r\r  MENUITEM \"a\",1\r\rEND\r\r", 1, ""},
      {"1 MENUEX\nBEGIN\n  MENUITEM \"a\\tCtrl+A+B\",1\nEND\n", 1, "more than one key"},
      {std::string_view("1 MENUEX\nBEGIN\n  MENUITEM \"a\0b\",1\nEND\n", 38), 1, ""},
  };
  for (const Case& c : cases) {
    const std::string script(c.script);  // a copy, so that reads past its end are caught
    const ConverterResult result = ConvertMenuScript(std::string_view(script));
    if (c.items == Refused) {
      EXPECT_TRUE(result.scriptFailed) << c.script;
      EXPECT_TRUE(result.image.empty()) << c.script;
    } else {
      ASSERT_TRUE(result.keywordFound) << c.script << ": " << Warnings(result);
      EXPECT_EQ(result.recordCount, static_cast<std::size_t>(c.items)) << c.script;
      EXPECT_EQ(result.image.size(), MenuImageSize(result.recordCount)) << c.script;
    }
    if (!c.message.empty()) {
      EXPECT_TRUE(HasWarning(result, c.message)) << c.script << ": " << Warnings(result);
    }
  }
}

TEST(MenuConverter, ManyItemsFillEveryRecord) {
  std::string items;
  for (int i = 0; i < 3000; ++i)
    items += "  MENUITEM \"Item " + std::to_string(i) + "\\tCtrl+" + std::to_string(i % 10) + "\"," +
             std::to_string(i + 1) + "\n";
  const ConverterResult result = ConvertMenuScript(Menu(items));
  ASSERT_EQ(result.recordCount, 3000u);
  ASSERT_EQ(ItemCount(result), 3000u);
  for (std::size_t i = 0; i < 3000; i += 999) {
    const Item item = ItemAt(result, i);
    EXPECT_EQ(item.caption, "Item " + std::to_string(i));
    EXPECT_EQ(item.identifier, i + 1);
    EXPECT_EQ(item.shortcut, 0x230u + i % 10);
  }
}

}  // namespace
}  // namespace trellane
