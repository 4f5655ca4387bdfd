#include "radasm/MenuShortcut.h"

#include <array>
#include <cstdio>

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

// The bytes of which shortcut words are made: ASCII letters and digits.
constexpr std::array<bool, 256> WordBytes = [] {
  std::array<bool, 256> bytes{};
  for (int c = 0; c < 256; ++c)
    bytes[static_cast<std::size_t>(c)] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  return bytes;
}();

bool IsAsciiAlnum(char c) {
  return WordBytes[static_cast<unsigned char>(c)];
}

char LowerAsciiByte(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The key names of two letters or more, in a small open-addressing table
// built once: a lookup lower-cases the word into a buffer and probes a slot
// or two instead of comparing it with every name.
class KeyWords {
 public:
  static constexpr std::size_t MaxLength = 9;  // "backspace"

  KeyWords() {
    for (const AccelKey& key : AccelKeyTable)
      Insert(key);
    for (const AccelKey& alias : ShortcutAliases)
      Insert(alias);
  }

  // word holds 2 to MaxLength bytes.
  std::uint32_t Find(std::string_view word) const {
    std::array<char, MaxLength> lower;
    std::size_t hash = word.size();
    for (std::size_t i = 0; i < word.size(); ++i) {
      lower[i] = LowerAsciiByte(word[i]);
      hash = NextHash(hash, lower[i]);
    }
    const std::string_view lowered(lower.data(), word.size());
    for (std::size_t i = hash % SlotCount;; i = (i + 1) % SlotCount) {
      const AccelKey& slot = slots[i];
      if (slot.name.empty())
        return 0;
      if (slot.name == lowered)
        return slot.code;
    }
  }

 private:
  static constexpr std::size_t SlotCount = 128;  // a little over twice the names

  static std::size_t NextHash(std::size_t hash, char c) { return hash * 31 + static_cast<unsigned char>(c); }

  static std::size_t Home(std::string_view name) {
    std::size_t hash = name.size();
    for (const char c : name)
      hash = NextHash(hash, c);
    return hash % SlotCount;
  }

  // The first entry of a name wins, as in the order the tables are tried.
  void Insert(const AccelKey& key) {
    if (key.name.size() < 2)
      return;
    for (std::size_t i = Home(key.name);; i = (i + 1) % SlotCount) {
      if (slots[i].name == key.name)
        return;
      if (slots[i].name.empty()) {
        slots[i] = key;
        return;
      }
    }
  }

  std::array<AccelKey, SlotCount> slots{};
};

const KeyWords& KeyWordsOnce() {
  static const KeyWords keyWords;
  return keyWords;
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

std::uint32_t ShortcutWordCode(std::string_view word) {
  if (word.size() == 1) {
    const char c = LowerAsciiByte(word[0]);
    if (c >= 'a' && c <= 'z')
      return static_cast<std::uint32_t>(c - 'a' + 'A');  // the table's letters are their capitals
    if (c >= '0' && c <= '9')
      return static_cast<std::uint32_t>(c);
    return 0;
  }
  if (word.empty() || word.size() > KeyWords::MaxLength)
    return 0;
  return KeyWordsOnce().Find(word);
}

ShortcutReading ReadShortcut(std::string_view text) {
  ShortcutReading reading;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsAsciiAlnum(text[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && IsAsciiAlnum(text[i]))
      ++i;
    const std::string_view word = text.substr(start, i - start);
    const std::uint32_t code = ShortcutWordCode(word);
    if (code == 0) {
      reading.unknown.push_back(word);
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
