// The .res decoder the oracle tests rest on, on templates built byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/oracle/ResFile.h"

namespace trellane {
namespace {

// Little-endian template bytes.
class Bytes {
 public:
  Bytes& U16(std::uint32_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
    return *this;
  }
  Bytes& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
  Bytes& U8(std::uint32_t value) {
    bytes += static_cast<char>(value);
    return *this;
  }
  Bytes& Text(const std::u16string& text) {
    for (const char16_t unit : text)
      U16(unit);
    return U16(0);
  }
  Bytes& Ordinal(std::uint16_t value) { return U16(0xFFFF).U16(value); }
  Bytes& Align() {
    while (bytes.size() % 4 != 0)
      bytes += '\0';
    return *this;
  }
  Bytes& Raw(const std::string& more) {
    bytes += more;
    return *this;
  }
  std::string bytes;
};

// A DIALOGEX with a font, a control of a predefined class with data bytes,
// and a control of a named class whose text is an ordinal.
std::string DialogExTemplate() {
  Bytes dialog;
  dialog.U16(1).U16(0xFFFF).U32(77).U32(0x80).U32(0x80C80040).U16(2);
  dialog.U16(0xFFF6).U16(20).U16(200).U16(100);
  dialog.Ordinal(300).Text(u"MyClass").Text(u"Caption \u263A");
  dialog.U16(9).U16(700).U8(1).U8(0xEE).Text(u"Tahoma");
  dialog.Align().U32(5).U32(0x200).U32(0x50010000).U16(1).U16(2).U16(3).U16(4).U32(0x12345678);
  dialog.Ordinal(0x80).Text(u"OK").U16(3).U8(0xAA).U8(0xBB).U8(0xCC);
  dialog.Align().U32(0).U32(0).U32(0x50000003).U16(5).U16(6).U16(7).U16(8).U32(0xFFFFFFFF);
  dialog.Text(u"Static").Ordinal(128).U16(0);
  return dialog.bytes;
}

// A MENU: "File" pop-up with "Open" and a nested pop-up, then "Exit".
std::string MenuTemplate() {
  Bytes menu;
  menu.U16(0).U16(0);
  menu.U16(0x10).Text(u"File");
  menu.U16(0x08).U16(100).Text(u"Open");
  menu.U16(0x90).Text(u"Recent");
  menu.U16(0x80).U16(101).Text(u"One");
  menu.U16(0x80).U16(102).Text(u"Exit");
  return menu.bytes;
}

// A MENUEX with one pop-up whose help identifier stands as placement says.
std::string MenuExTemplate(MenuExHelpIdPlacement placement) {
  Bytes menu;
  menu.U16(1).U16(4).U32(0);
  menu.U32(0).U32(0).U32(200).U16(0x81).Text(u"Pop");  // ends two bytes past a DWORD
  if (placement == MenuExHelpIdPlacement::Aligned)
    menu.Align();
  menu.U32(0x4321).Align();
  menu.U32(0x800).U32(3).U32(0x10000).U16(0x80).Text(u"Item").Align();
  return menu.bytes;
}

std::string ResourceHeader(std::uint16_t type, const std::u16string& name, std::size_t dataSize) {
  Bytes header;
  header.Ordinal(type).Text(name).Align().U32(0).U16(0x1030).U16(0x0407).U32(2).U32(3);
  Bytes entry;
  entry.U32(static_cast<std::uint32_t>(dataSize)).U32(static_cast<std::uint32_t>(header.bytes.size() + 8));
  return entry.bytes + header.bytes;
}

std::string ResFileWith(const std::string& dialog, const std::string& menu) {
  Bytes file;
  file.Raw(ResourceHeader(0, u"", 0));
  file.Raw(ResourceHeader(ResTypeDialog, u"ABOUT", dialog.size())).Raw(dialog).Align();
  file.Raw(ResourceHeader(ResTypeMenu, u"M", menu.size())).Raw(menu).Align();
  return file.bytes;
}

TEST(ResFile, DialogExTemplateFieldsDecode) {
  const ResDecoding<ResDialog> decoding = DecodeDialogTemplate(DialogExTemplate());
  ASSERT_TRUE(decoding.Ok()) << decoding.error;
  const ResDialog& dialog = decoding.value;
  EXPECT_TRUE(dialog.extended);
  EXPECT_EQ(dialog.helpId, 77u);
  EXPECT_EQ(dialog.exStyle, 0x80u);
  EXPECT_EQ(dialog.style, 0x80C80040u);
  EXPECT_EQ(dialog.x, -10);
  EXPECT_EQ(dialog.height, 100);
  EXPECT_TRUE(dialog.menu.IsOrdinal(300));
  EXPECT_EQ(dialog.className.text, "MyClass");
  EXPECT_EQ(dialog.caption, "Caption \xE2\x98\xBA");
  ASSERT_TRUE(dialog.font.has_value());
  EXPECT_EQ(dialog.font->pointSize, 9);
  EXPECT_EQ(dialog.font->weight, 700);
  EXPECT_EQ(dialog.font->italic, 1);
  EXPECT_EQ(dialog.font->charset, 0xEE);
  EXPECT_EQ(dialog.font->face, "Tahoma");
  ASSERT_EQ(dialog.items.size(), 2u);
  EXPECT_EQ(dialog.items[0].helpId, 5u);
  EXPECT_EQ(dialog.items[0].id, 0x12345678u);
  EXPECT_TRUE(dialog.items[0].className.IsOrdinal(0x80));
  EXPECT_EQ(dialog.items[0].text.text, "OK");
  EXPECT_EQ(dialog.items[0].data, (std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(dialog.items[1].className.text, "Static");
  EXPECT_TRUE(dialog.items[1].text.IsOrdinal(128));
  EXPECT_EQ(dialog.items[1].id, 0xFFFFFFFFu);
  EXPECT_EQ(dialog.items[1].height, 8);
}

TEST(ResFile, MenuNestingFlattensIntoLevels) {
  const ResDecoding<ResMenu> decoding = DecodeMenuTemplate(MenuTemplate(), MenuExHelpIdPlacement::Aligned);
  ASSERT_TRUE(decoding.Ok()) << decoding.error;
  const std::vector<ResMenuItem>& items = decoding.value.items;
  ASSERT_EQ(items.size(), 5u);
  const int levels[] = {0, 1, 1, 2, 0};
  const bool last[] = {false, false, true, true, true};
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].level, levels[i]) << items[i].text;
    EXPECT_EQ(items[i].lastInLevel, last[i]) << items[i].text;
  }
  EXPECT_TRUE(items[0].popup);
  EXPECT_EQ(items[1].type, 0x08u);  // MF_CHECKED
  EXPECT_EQ(items[2].type, 0u);     // without MF_POPUP and MF_END
  EXPECT_EQ(items[4].id, 102u);
}

TEST(ResFile, MenuExHelpIdsDecodeInEitherPlacement) {
  for (const MenuExHelpIdPlacement placement : {MenuExHelpIdPlacement::Aligned, MenuExHelpIdPlacement::AfterText}) {
    const ResDecoding<ResMenu> decoding = DecodeMenuTemplate(MenuExTemplate(placement), placement);
    ASSERT_TRUE(decoding.Ok()) << decoding.error;
    ASSERT_EQ(decoding.value.items.size(), 2u);
    const ResMenuItem& popup = decoding.value.items[0];
    const ResMenuItem& item = decoding.value.items[1];
    EXPECT_TRUE(popup.popup);
    EXPECT_EQ(popup.helpId, 0x4321u);
    EXPECT_EQ(popup.id, 200u);
    EXPECT_EQ(item.level, 1);
    EXPECT_EQ(item.type, 0x800u);
    EXPECT_EQ(item.state, 3u);
    EXPECT_EQ(item.id, 0x10000u);
    EXPECT_EQ(item.text, "Item");
  }
}

TEST(ResFile, ResourceHeadersDecode) {
  const ResDecoding<std::vector<ResEntry>> decoding = DecodeResFile(ResFileWith(DialogExTemplate(), MenuTemplate()));
  ASSERT_TRUE(decoding.Ok()) << decoding.error;
  ASSERT_EQ(decoding.value.size(), 3u);
  const ResEntry& dialog = decoding.value[1];
  EXPECT_TRUE(dialog.type.IsOrdinal(ResTypeDialog));
  EXPECT_EQ(dialog.name.text, "ABOUT");
  EXPECT_EQ(dialog.languageId, 0x0407);
  EXPECT_EQ(dialog.version, 2u);
  EXPECT_EQ(dialog.characteristics, 3u);
  EXPECT_EQ(dialog.data, DialogExTemplate());
  EXPECT_EQ(decoding.value[2].data, MenuTemplate());
}

// Cut short or with any byte overwritten, a file decodes or gives an error,
// and never reads outside its bytes (the sanitizer build checks that).
TEST(ResFile, TruncatedAndDamagedFilesGiveErrorsNotCrashes) {
  const std::string file = ResFileWith(DialogExTemplate(), MenuTemplate());
  const auto decodeAll = [](const std::string& bytes) {
    const ResDecoding<std::vector<ResEntry>> entries = DecodeResFile(bytes);
    bool ok = entries.Ok();
    for (const ResEntry& entry : entries.value) {
      if (entry.type.IsOrdinal(ResTypeDialog))
        ok = DecodeDialogTemplate(entry.data).Ok() && ok;
      if (entry.type.IsOrdinal(ResTypeMenu))
        ok = DecodeMenuTemplate(entry.data, MenuExHelpIdPlacement::Aligned).Ok() && ok;
    }
    return ok;
  };
  EXPECT_TRUE(decodeAll(file));
  for (std::size_t length = 0; length < file.size(); ++length) {
    const std::string cut = file.substr(0, length);
    const ResDecoding<std::vector<ResEntry>> entries = DecodeResFile(cut);
    // Only a cut between two resources leaves a whole file.
    EXPECT_TRUE(!entries.Ok() || entries.value.size() < 3) << "cut at " << length;
    decodeAll(cut);
  }
  for (std::size_t at = 0; at < file.size(); ++at) {
    for (const char value : {'\x00', '\x7F', '\xFF'}) {
      std::string damaged = file;
      damaged[at] = value;
      decodeAll(damaged);
    }
  }
  const std::string dialog = DialogExTemplate();
  for (std::size_t length = 0; length < dialog.size(); ++length)
    EXPECT_FALSE(DecodeDialogTemplate(dialog.substr(0, length)).Ok()) << "cut at " << length;
  const std::string menu = MenuTemplate();
  for (std::size_t length = 0; length < menu.size(); ++length)
    EXPECT_FALSE(DecodeMenuTemplate(menu.substr(0, length), MenuExHelpIdPlacement::Aligned).Ok())
        << "cut at " << length;
}

}  // namespace
}  // namespace trellane
