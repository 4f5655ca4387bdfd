// Shortcut descriptions of menu captions ("Ctrl+Shift+S") and their key codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

struct ShortcutReading {
  std::uint32_t code = 0;                 // OR of the codes of the known words
  std::size_t keyCount = 0;               // known words that are keys, not modifiers
  std::vector<std::string_view> unknown;  // words found in no table
};

// Splits text into words at every byte that is not a letter or digit and
// looks each word up whole, in any letter case, in AccelKeyTable and in the
// aliases that resource editors write (del, enter, insert, escape, pageup,
// pagedown, backspace, bksp, space).
ShortcutReading ReadShortcut(std::string_view text);

// A shortcut code as text: "Ctrl+Shift+S", "Alt+F4", "-" for 0; a key the
// tables do not name shows as 0xNN.
std::string ShortcutText(std::uint32_t code);

}  // namespace trellane
