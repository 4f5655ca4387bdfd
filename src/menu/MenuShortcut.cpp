#include "menu/MenuShortcut.h"

#include <array>
#include <cstdio>

#include "menu/MenuRecordFile.h"

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

bool IsAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char LowerAsciiByte(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// name is lower case already.
bool EqualsIgnoringCase(std::string_view word, std::string_view name) {
  if (word.size() != name.size())
    return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (LowerAsciiByte(word[i]) != name[i])
      return false;
  }
  return true;
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
  if (word.empty() || word.size() > 9)
    return 0;  // no name is longer than "backspace"
  const char first = LowerAsciiByte(word[0]);
  for (const AccelKey& key : AccelKeyTable) {
    if (key.name[0] == first && EqualsIgnoringCase(word, key.name))
      return key.code;
  }
  for (const AccelKey& alias : ShortcutAliases) {
    if (alias.name[0] == first && EqualsIgnoringCase(word, alias.name))
      return alias.code;
  }
  return 0;
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
