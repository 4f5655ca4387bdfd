#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "script/ScriptKeywords.h"
#include "text/AsciiCase.h"

namespace trellane {
namespace {

struct Word {
  std::string_view spelling;
  Keyword keyword;
};

constexpr Word Words[] = {
    {"BEGIN", Keyword::Begin},
    {"END", Keyword::End},
    {"DIALOG", Keyword::Dialog},
    {"DIALOGEX", Keyword::DialogEx},
    {"MENU", Keyword::Menu},
    {"MENUEX", Keyword::MenuEx},
    {"STRINGTABLE", Keyword::StringTable},
    {"LANGUAGE", Keyword::Language},
    {"CHARACTERISTICS", Keyword::Characteristics},
    {"VERSION", Keyword::Version},
    {"STYLE", Keyword::Style},
    {"EXSTYLE", Keyword::ExStyle},
    {"CAPTION", Keyword::Caption},
    {"CLASS", Keyword::Class},
    {"FONT", Keyword::Font},
    {"MENUITEM", Keyword::MenuItem},
    {"POPUP", Keyword::Popup},
    {"SEPARATOR", Keyword::Separator},
    {"NOT", Keyword::Not},
    {"CONTROL", Keyword::Control},
    {"LTEXT", Keyword::LText},
    {"RTEXT", Keyword::RText},
    {"CTEXT", Keyword::CText},
    {"PUSHBUTTON", Keyword::PushButton},
    {"DEFPUSHBUTTON", Keyword::DefPushButton},
    {"PUSHBOX", Keyword::PushBox},
    {"CHECKBOX", Keyword::CheckBox},
    {"AUTOCHECKBOX", Keyword::AutoCheckBox},
    {"STATE3", Keyword::State3},
    {"AUTO3STATE", Keyword::Auto3State},
    {"RADIOBUTTON", Keyword::RadioButton},
    {"AUTORADIOBUTTON", Keyword::AutoRadioButton},
    {"GROUPBOX", Keyword::GroupBox},
    {"EDITTEXT", Keyword::EditText},
    {"COMBOBOX", Keyword::ComboBox},
    {"LISTBOX", Keyword::ListBox},
    {"SCROLLBAR", Keyword::ScrollBar},
    {"ICON", Keyword::Icon},
    {"BUTTON", Keyword::Button},
    {"EDIT", Keyword::Edit},
    {"STATIC", Keyword::Static},
    {"CHECKED", Keyword::Checked},
    {"GRAYED", Keyword::Grayed},
    {"HELP", Keyword::Help},
    {"INACTIVE", Keyword::Inactive},
    {"MENUBARBREAK", Keyword::MenuBarBreak},
    {"MENUBREAK", Keyword::MenuBreak},
    {"PRELOAD", Keyword::Preload},
    {"LOADONCALL", Keyword::LoadOnCall},
    {"FIXED", Keyword::Fixed},
    {"MOVEABLE", Keyword::Moveable},
    {"DISCARDABLE", Keyword::Discardable},
    {"PURE", Keyword::Pure},
    {"IMPURE", Keyword::Impure},
    {"SHARED", Keyword::Shared},
    {"NONSHARED", Keyword::NonShared},
    {"BITMAP", Keyword::Bitmap},
    {"CURSOR", Keyword::Cursor},
    {"HTML", Keyword::Html},
    {"MESSAGETABLE", Keyword::MessageTable},
    {"ANICURSOR", Keyword::AniCursor},
    {"ANIICON", Keyword::AniIcon},
    {"PLUGPLAY", Keyword::PlugPlay},
    {"VXD", Keyword::Vxd},
    {"ACCELERATORS", Keyword::Accelerators},
    {"VERSIONINFO", Keyword::VersionInfo},
    {"DLGINIT", Keyword::DlgInit},
    {"TOOLBAR", Keyword::Toolbar},
    {"DESIGNINFO", Keyword::DesignInfo},
};

std::string MixedCase(std::string_view word) {
  std::string mixed(word);
  for (std::size_t i = 0; i < mixed.size(); i += 2)
    mixed[i] = AsciiLower(mixed[i]);
  return mixed;
}

TEST(ScriptKeywords, EveryWordIsKnownInAnyCase) {
  for (const Word& word : Words) {
    EXPECT_EQ(ClassifyKeyword(word.spelling), word.keyword) << word.spelling;
    EXPECT_EQ(ClassifyKeyword(AsciiLowered(word.spelling)), word.keyword) << word.spelling;
    EXPECT_EQ(ClassifyKeyword(MixedCase(word.spelling)), word.keyword) << word.spelling;
  }
  EXPECT_EQ(std::size(Words), static_cast<std::size_t>(Keyword::DesignInfo));
}

TEST(ScriptKeywords, NearMissesAreNames) {
  for (const std::string_view name :
       {"", "B", "BEGI", "BEGINS", "_BEGIN", "BEGIN_", "B3GIN", "STATE4", "MENUITEMS", "CHARACTERISTIC",
        "AUTORADIOBUTTONS", "CHARACTERISTICSX", "IDOK", "IDC_STATIC", "RCDATA", "DIALOGEXX", "NOT_"})
    EXPECT_EQ(ClassifyKeyword(name), Keyword::None) << name;
}

// No keyword holds '_': a word with any one byte made '_' is a name, which
// checks every byte of the comparison.
TEST(ScriptKeywords, AWordWithAnyByteChangedIsAName) {
  for (const Word& word : Words) {
    for (std::size_t at = 0; at < word.spelling.size(); ++at) {
      std::string changed = AsciiLowered(word.spelling);
      changed[at] = '_';
      EXPECT_EQ(ClassifyKeyword(changed), Keyword::None) << changed;
    }
  }
}

// An expression takes no statement word or control statement for an
// undefined name; every other word may name a value.
TEST(ScriptKeywords, ReservedWordsAreTheStatementsAndControls) {
  constexpr std::string_view reserved[] = {
      "BEGIN",    "END",      "STYLE",           "EXSTYLE", "CAPTION",    "CLASS",       "FONT",
      "MENU",     "LANGUAGE", "CHARACTERISTICS", "VERSION", "MENUITEM",   "POPUP",       "SEPARATOR",
      "NOT",      "CONTROL",  "LTEXT",           "RTEXT",   "CTEXT",      "PUSHBUTTON",  "DEFPUSHBUTTON",
      "PUSHBOX",  "CHECKBOX", "AUTOCHECKBOX",    "STATE3",  "AUTO3STATE", "RADIOBUTTON", "AUTORADIOBUTTON",
      "GROUPBOX", "EDITTEXT", "COMBOBOX",        "LISTBOX", "SCROLLBAR",  "ICON",
  };
  for (const Word& word : Words) {
    const bool listed = std::find(std::begin(reserved), std::end(reserved), word.spelling) != std::end(reserved);
    EXPECT_EQ(IsReservedWord(word.keyword), listed) << word.spelling;
    const ControlKind* kind = ControlKindOf(word.keyword);
    const bool control = word.keyword >= Keyword::Control && word.keyword <= Keyword::Icon;
    EXPECT_EQ(kind != nullptr, control) << word.spelling;
  }
  EXPECT_FALSE(IsReservedWord(Keyword::None));
  EXPECT_EQ(ControlKindOf(Keyword::None), nullptr);
}

TEST(ScriptKeywords, WordsCarryTheirValues) {
  EXPECT_EQ(ControlKindOf(Keyword::EditText)->defaultStyle, 0x50810000u);
  EXPECT_EQ(ControlKindOf(Keyword::Icon)->classOrdinal, 0x82);
  EXPECT_FALSE(ControlKindOf(Keyword::ComboBox)->hasText);
  EXPECT_EQ(PredefinedClassOf(Keyword::Button), 0x80);
  EXPECT_EQ(PredefinedClassOf(Keyword::ComboBox), 0x85);
  EXPECT_EQ(PredefinedClassOf(Keyword::LText), std::nullopt);
  EXPECT_EQ(MenuOptionFlag(Keyword::Help), 0x4000u);
  EXPECT_EQ(MenuOptionFlag(Keyword::MenuBreak), 0x0040u);
  EXPECT_EQ(MenuOptionFlag(Keyword::Popup), 0u);
  EXPECT_TRUE(IsMemoryFlag(Keyword::Discardable));
  EXPECT_TRUE(IsMemoryFlag(Keyword::Fixed));
  EXPECT_FALSE(IsMemoryFlag(Keyword::Font));
  EXPECT_TRUE(NamesFile(Keyword::Icon) && NamesFile(Keyword::Font) && NamesFile(Keyword::Vxd));
  EXPECT_FALSE(NamesFile(Keyword::Accelerators));
  EXPECT_TRUE(HasValuesBeforeBlock(Keyword::VersionInfo));
  EXPECT_FALSE(HasValuesBeforeBlock(Keyword::StringTable));
  EXPECT_TRUE(IsStandardIdentifier("idok"));
  EXPECT_FALSE(IsStandardIdentifier("IDM_OPEN"));
}

}  // namespace
}  // namespace trellane
