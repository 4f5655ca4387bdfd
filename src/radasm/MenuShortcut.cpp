#include "radasm/MenuShortcut.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "radasm/MenuRecordFile.h"

namespace trellane {
namespace {

// Names that resource editors write for keys the table spells differently.
constexpr std::array<AccelKey, 9> ShortcutAliases{{
    {"del", 0x2E},
    {"enter", 0x0D},
    {"insert", 0x2D},
    {"escape", 0x1B},
    {"pageup", 0x21},
    {"pagedown", 0x22},
    {"backspace", 0x08},
    {"bksp", 0x08},
    {"space", 0x20},
}};

// Each byte of which shortcut words are made (ASCII letters and digits) as
// the lower-case byte it is looked up by; 0 for every other byte. One table
// read both ends a word and folds its case.
constexpr std::array<char, 256> WordBytes = [] {
  std::array<char, 256> bytes{};
  for (int c = 0; c < 256; ++c) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
      bytes[static_cast<std::size_t>(c)] = static_cast<char>(c);
    else if (c >= 'A' && c <= 'Z')
      bytes[static_cast<std::size_t>(c)] = static_cast<char>(c - 'A' + 'a');
  }
  return bytes;
}();

char WordByte(char c) {
  return WordBytes[static_cast<unsigned char>(c)];
}

// A lower-case word of up to MaxLength bytes padded with zeros to a fixed
// width: comparing it with a name is one fixed-size comparison, not a call.
struct PackedWord {
  static constexpr std::size_t MaxLength = 9;  // "backspace"
  static constexpr std::size_t Width = 16;

  std::array<char, Width> bytes{};
  std::size_t length = 0;
  std::size_t hash = 0;

  // Adds the lower-case byte c; a word longer than MaxLength keeps counting
  // its length only, and is no name.
  void Add(char c) {
    if (length < MaxLength) {
      bytes[length] = c;
      hash = hash * 31 + static_cast<unsigned char>(c);
    }
    ++length;
  }
};

PackedWord Packed(std::string_view lowerName) {
  PackedWord word;
  for (const char c : lowerName)
    word.Add(c);
  return word;
}

// The key names of two letters or more, in a small open-addressing table
// built once: a lookup probes a slot or two instead of comparing the word
// with every name.
class KeyWords {
 public:
  KeyWords() {
    for (const AccelKey& key : AccelKeyTable)
      Insert(key);
    for (const AccelKey& alias : ShortcutAliases)
      Insert(alias);
  }

  // word holds 2 to MaxLength bytes.
  std::uint32_t Find(const PackedWord& word) const {
    for (std::size_t i = word.hash % SlotCount;; i = (i + 1) % SlotCount) {
      const Slot& slot = slots[i];
      if (slot.name[0] == '\0')
        return 0;
      if (std::memcmp(slot.name.data(), word.bytes.data(), PackedWord::Width) == 0)
        return slot.code;
    }
  }

 private:
  static constexpr std::size_t SlotCount = 128;  // a little over twice the names

  struct Slot {
    std::array<char, PackedWord::Width> name{};  // empty for a free slot
    std::uint32_t code = 0;
  };

  // The first entry of a name wins, as in the order the tables are tried.
  void Insert(const AccelKey& key) {
    if (key.name.size() < 2)
      return;
    const PackedWord name = Packed(key.name);
    for (std::size_t i = name.hash % SlotCount;; i = (i + 1) % SlotCount) {
      if (slots[i].name == name.bytes)
        return;
      if (slots[i].name[0] == '\0') {
        slots[i] = {name.bytes, key.code};
        return;
      }
    }
  }

  std::array<Slot, SlotCount> slots{};
};

const KeyWords& KeyWordsOnce() {
  static const KeyWords keyWords;
  return keyWords;
}

// The code of one lower-case key word, or 0 when no table knows it.
std::uint32_t WordCode(const PackedWord& word) {
  if (word.length == 1) {
    const char c = word.bytes[0];
    return c >= 'a' && c <= 'z' ? static_cast<std::uint32_t>(c - 'a' + 'A')  // the table's letters are capitals
                                : static_cast<std::uint32_t>(c);             // a digit
  }
  if (word.length > PackedWord::MaxLength)
    return 0;
  return KeyWordsOnce().Find(word);
}

bool IsModifier(std::uint32_t code) {
  return code == ShortcutModifier::Shift || code == ShortcutModifier::Ctrl || code == ShortcutModifier::Alt;
}

struct KeyName {
  std::uint32_t code;
  std::string_view name;
};

constexpr std::array<KeyName, 15> NamedKeys{{
    {0x08, "Back"},
    {0x09, "Tab"},
    {0x0D, "Enter"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "PgUp"},
    {0x22, "PgDn"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x2D, "Ins"},
    {0x2E, "Del"},
}};

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

std::string KeyText(std::uint32_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, static_cast<char>(key));
  if (key >= 0x70 && key <= 0x7B)
    return "F" + std::to_string(key - 0x70 + 1);
  if (key >= 0x60 && key <= 0x69)
    return "Num" + std::to_string(key - 0x60);
  for (const KeyName& named : NamedKeys) {
    if (named.code == key)
      return std::string(named.name);
  }
  return Hex(key, 2);
}

}  // namespace

ShortcutReading ReadShortcut(std::string_view text) {
  ShortcutReading reading;
  std::size_t i = 0;
  while (i < text.size()) {
    if (WordByte(text[i]) == 0) {
      ++i;
      continue;
    }
    // The word is lower-cased and hashed as it is scanned.
    const std::size_t start = i;
    PackedWord word;
    for (char c; i < text.size() && (c = WordByte(text[i])) != 0; ++i)
      word.Add(c);
    const std::uint32_t code = WordCode(word);
    if (code == 0) {
      reading.unknown.push_back(text.substr(start, i - start));
      continue;
    }
    if (!IsModifier(code))
      ++reading.keyCount;
    reading.code |= code;
  }
  return reading;
}

std::string ShortcutText(std::uint32_t code) {
  if (code == 0)
    return "-";
  constexpr std::uint32_t Known = ShortcutModifier::Shift | ShortcutModifier::Ctrl | ShortcutModifier::Alt | 0xFF;
  if ((code & ~Known) != 0)
    return Hex(code, 4);
  std::string text;
  if (code & ShortcutModifier::Ctrl)
    text += "Ctrl+";
  if (code & ShortcutModifier::Shift)
    text += "Shift+";
  if (code & ShortcutModifier::Alt)
    text += "Alt+";
  const std::uint32_t key = code & 0xFF;
  if (key == 0) {
    text.pop_back();  // modifiers alone
    return text;
  }
  return text + KeyText(key);
}

}  // namespace trellane
