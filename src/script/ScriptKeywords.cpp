#include "script/ScriptKeywords.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/AsciiCase.h"

namespace trellane {
namespace {

// Bits of KeywordEntry::traits.
constexpr std::uint8_t Reserved = 1;
constexpr std::uint8_t MemoryFlag = 2;
constexpr std::uint8_t FileResource = 4;
constexpr std::uint8_t BlockResource = 8;

constexpr std::uint16_t ButtonClass = 0x80;
constexpr std::uint16_t EditClass = 0x81;
constexpr std::uint16_t StaticClass = 0x82;
constexpr std::uint16_t ListBoxClass = 0x83;
constexpr std::uint16_t ScrollBarClass = 0x84;
constexpr std::uint16_t ComboBoxClass = 0x85;

struct KeywordEntry {
  std::string_view spelling;  // upper case
  std::uint8_t traits;
  std::uint16_t predefinedClass;  // a class name's ordinal
  std::uint32_t menuOption;       // a MENU option's MF_ bit
  std::optional<ControlKind> control;
};

constexpr ControlKind Kind(ControlStatement statement, std::uint32_t style, std::uint16_t classOrdinal, bool hasText) {
  return ControlKind{statement, style, classOrdinal, hasText};
}

constexpr KeywordEntry Entry(std::string_view spelling, std::uint8_t traits = 0, std::uint16_t predefinedClass = 0,
                             std::uint32_t menuOption = 0, std::optional<ControlKind> control = std::nullopt) {
  return KeywordEntry{spelling, traits, predefinedClass, menuOption, control};
}

// In the order of Keyword.
constexpr std::array<KeywordEntry, static_cast<std::size_t>(Keyword::DesignInfo) + 1> Entries{{
    Entry({}),
    Entry("BEGIN", Reserved),
    Entry("END", Reserved),
    Entry("DIALOG"),
    Entry("DIALOGEX"),
    Entry("MENU", Reserved),
    Entry("MENUEX"),
    Entry("STRINGTABLE"),
    Entry("LANGUAGE", Reserved),
    Entry("CHARACTERISTICS", Reserved),
    Entry("VERSION", Reserved),
    Entry("STYLE", Reserved),
    Entry("EXSTYLE", Reserved),
    Entry("CAPTION", Reserved),
    Entry("CLASS", Reserved),
    Entry("FONT", Reserved | FileResource),
    Entry("MENUITEM", Reserved),
    Entry("POPUP", Reserved),
    Entry("SEPARATOR", Reserved),
    Entry("NOT", Reserved),
    Entry("CONTROL", Reserved, 0, 0, Kind(ControlStatement::Control, 0x50000000, 0, true)),
    Entry("LTEXT", Reserved, 0, 0, Kind(ControlStatement::LText, 0x50020000, StaticClass, true)),
    Entry("RTEXT", Reserved, 0, 0, Kind(ControlStatement::RText, 0x50020002, StaticClass, true)),
    Entry("CTEXT", Reserved, 0, 0, Kind(ControlStatement::CText, 0x50020001, StaticClass, true)),
    Entry("PUSHBUTTON", Reserved, 0, 0, Kind(ControlStatement::PushButton, 0x50010000, ButtonClass, true)),
    Entry("DEFPUSHBUTTON", Reserved, 0, 0, Kind(ControlStatement::DefPushButton, 0x50010001, ButtonClass, true)),
    Entry("PUSHBOX", Reserved, 0, 0, Kind(ControlStatement::PushBox, 0x5001000A, ButtonClass, true)),
    Entry("CHECKBOX", Reserved, 0, 0, Kind(ControlStatement::CheckBox, 0x50010002, ButtonClass, true)),
    Entry("AUTOCHECKBOX", Reserved, 0, 0, Kind(ControlStatement::AutoCheckBox, 0x50010003, ButtonClass, true)),
    Entry("STATE3", Reserved, 0, 0, Kind(ControlStatement::State3, 0x50010005, ButtonClass, true)),
    Entry("AUTO3STATE", Reserved, 0, 0, Kind(ControlStatement::Auto3State, 0x50010006, ButtonClass, true)),
    Entry("RADIOBUTTON", Reserved, 0, 0, Kind(ControlStatement::RadioButton, 0x50000004, ButtonClass, true)),
    Entry("AUTORADIOBUTTON", Reserved, 0, 0, Kind(ControlStatement::AutoRadioButton, 0x50000009, ButtonClass, true)),
    Entry("GROUPBOX", Reserved, 0, 0, Kind(ControlStatement::GroupBox, 0x50000007, ButtonClass, true)),
    Entry("EDITTEXT", Reserved, 0, 0, Kind(ControlStatement::EditText, 0x50810000, EditClass, false)),
    Entry("COMBOBOX", Reserved, ComboBoxClass, 0, Kind(ControlStatement::ComboBox, 0x50000000, ComboBoxClass, false)),
    Entry("LISTBOX", Reserved, ListBoxClass, 0, Kind(ControlStatement::ListBox, 0x50800001, ListBoxClass, false)),
    Entry("SCROLLBAR", Reserved, ScrollBarClass, 0,
          Kind(ControlStatement::ScrollBar, 0x50000000, ScrollBarClass, false)),
    Entry("ICON", Reserved | FileResource, 0, 0, Kind(ControlStatement::Icon, 0x50000003, StaticClass, true)),
    Entry("BUTTON", 0, ButtonClass),
    Entry("EDIT", 0, EditClass),
    Entry("STATIC", 0, StaticClass),
    Entry("CHECKED", 0, 0, 0x0008),
    Entry("GRAYED", 0, 0, 0x0001),
    Entry("HELP", 0, 0, 0x4000),
    Entry("INACTIVE", 0, 0, 0x0002),
    Entry("MENUBARBREAK", 0, 0, 0x0020),
    Entry("MENUBREAK", 0, 0, 0x0040),
    Entry("PRELOAD", MemoryFlag),
    Entry("LOADONCALL", MemoryFlag),
    Entry("FIXED", MemoryFlag),
    Entry("MOVEABLE", MemoryFlag),
    Entry("DISCARDABLE", MemoryFlag),
    Entry("PURE", MemoryFlag),
    Entry("IMPURE", MemoryFlag),
    Entry("SHARED", MemoryFlag),
    Entry("NONSHARED", MemoryFlag),
    Entry("BITMAP", FileResource),
    Entry("CURSOR", FileResource),
    Entry("HTML", FileResource),
    Entry("MESSAGETABLE", FileResource),
    Entry("ANICURSOR", FileResource),
    Entry("ANIICON", FileResource),
    Entry("PLUGPLAY", FileResource),
    Entry("VXD", FileResource),
    Entry("ACCELERATORS", BlockResource),
    Entry("VERSIONINFO", BlockResource),
    Entry("DLGINIT", BlockResource),
    Entry("TOOLBAR", BlockResource),
    Entry("DESIGNINFO", BlockResource),
}};

constexpr std::size_t ShortestKeyword = 3;  // END, NOT, VXD
constexpr std::size_t LongestKeyword = 15;  // AUTORADIOBUTTON, CHARACTERISTICS

// Identifiers are made of letters, digits and '_'. Of these, only a letter
// and its other case differ in bit 0x20 alone: without that bit, two such
// bytes are the same exactly when they are the same letter in any case or
// the same byte.
constexpr std::uint8_t CaseBit = 0x20;

// An open-addressed table of the entries' indexes; 0 marks an empty slot.
// A word's slot comes from its length and three of its letters, not from
// all of them: the lexer classifies every identifier, and most are names
// that an empty slot or a length turns away.
constexpr std::size_t SlotCount = 256;
constexpr std::size_t SlotOf(std::string_view word) {
  const auto letter = [word](std::size_t at) { return static_cast<std::size_t>(word[at] & ~CaseBit & 0x7F); };
  return (word.size() * 37 + letter(0) * 7 + letter(1) * 3 + letter(word.size() - 1)) % SlotCount;
}

template <typename Word>
Word Load(const char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// Whether the first size bytes of two identifiers are the same but for the
// case of their letters, size from ShortestKeyword to 16: a word at the
// start and one at the end, which may overlap, rather than a byte at a time.
bool SameIdentifier(const char* a, const char* b, std::size_t size) {
  if (size >= 8) {
    constexpr auto caseBits = ~std::uint64_t{0x2020202020202020};
    const std::uint64_t head = Load<std::uint64_t>(a) ^ Load<std::uint64_t>(b);
    const std::uint64_t tail = Load<std::uint64_t>(a + size - 8) ^ Load<std::uint64_t>(b + size - 8);
    return ((head | tail) & caseBits) == 0;
  }
  if (size >= 4) {
    constexpr auto caseBits = ~std::uint32_t{0x20202020};
    const std::uint32_t head = Load<std::uint32_t>(a) ^ Load<std::uint32_t>(b);
    const std::uint32_t tail = Load<std::uint32_t>(a + size - 4) ^ Load<std::uint32_t>(b + size - 4);
    return ((head | tail) & caseBits) == 0;
  }
  for (std::size_t at = 0; at < size; ++at) {
    if (((a[at] ^ b[at]) & ~CaseBit) != 0)
      return false;
  }
  return true;
}

constexpr std::array<std::uint8_t, SlotCount> MakeSlots() {
  std::array<std::uint8_t, SlotCount> slots{};
  for (std::size_t index = 1; index < Entries.size(); ++index) {
    std::size_t slot = SlotOf(Entries[index].spelling);
    while (slots[slot] != 0)
      slot = (slot + 1) % SlotCount;
    slots[slot] = static_cast<std::uint8_t>(index);
  }
  return slots;
}

constexpr std::array<std::uint8_t, SlotCount> Slots = MakeSlots();

const KeywordEntry& EntryOf(Keyword keyword) {
  return Entries[static_cast<std::size_t>(keyword)];
}

}  // namespace

Keyword ClassifyKeyword(std::string_view identifier) {
  if (identifier.size() < ShortestKeyword || identifier.size() > LongestKeyword)
    return Keyword::None;
  for (std::size_t slot = SlotOf(identifier); Slots[slot] != 0; slot = (slot + 1) % SlotCount) {
    const std::string_view spelling = Entries[Slots[slot]].spelling;
    if (spelling.size() == identifier.size() && SameIdentifier(spelling.data(), identifier.data(), spelling.size()))
      return static_cast<Keyword>(Slots[slot]);
  }
  return Keyword::None;
}

bool IsReservedWord(Keyword keyword) {
  return (EntryOf(keyword).traits & Reserved) != 0;
}

bool IsMemoryFlag(Keyword keyword) {
  return (EntryOf(keyword).traits & MemoryFlag) != 0;
}

bool NamesFile(Keyword keyword) {
  return (EntryOf(keyword).traits & FileResource) != 0;
}

bool HasValuesBeforeBlock(Keyword keyword) {
  return (EntryOf(keyword).traits & BlockResource) != 0;
}

const ControlKind* ControlKindOf(Keyword keyword) {
  const std::optional<ControlKind>& kind = EntryOf(keyword).control;
  return kind ? &*kind : nullptr;
}

std::optional<std::uint16_t> PredefinedClassOf(Keyword keyword) {
  const std::uint16_t ordinal = EntryOf(keyword).predefinedClass;
  if (ordinal == 0)
    return std::nullopt;
  return ordinal;
}

std::uint32_t MenuOptionFlag(Keyword keyword) {
  return EntryOf(keyword).menuOption;
}

bool IsStandardIdentifier(std::string_view name) {
  static constexpr std::array<std::string_view, 12> StandardIdentifiers{
      "IDOK", "IDCANCEL", "IDABORT", "IDRETRY",    "IDIGNORE",   "IDYES",
      "IDNO", "IDCLOSE",  "IDHELP",  "IDTRYAGAIN", "IDCONTINUE", "IDC_STATIC",
  };
  return std::any_of(StandardIdentifiers.begin(), StandardIdentifiers.end(),
                     [&](std::string_view word) { return SameLetters(name, word); });
}

}  // namespace trellane
