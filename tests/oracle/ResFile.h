// Compiled resource files (.res) as the resource compilers write them: the
// resource headers, and the dialog and menu templates inside them decoded
// into plain values. Texts are UTF-8. A malformed file gives an error value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

constexpr std::uint16_t ResTypeMenu = 4;    // RT_MENU
constexpr std::uint16_t ResTypeDialog = 5;  // RT_DIALOG

// A resource type or name, a class, a menu or a control's text: a 16-bit
// ordinal (0xFFFF followed by the number) or a text.
struct ResId {
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::string text;

  bool operator==(const ResId&) const = default;
  bool IsOrdinal(std::uint16_t value) const { return isOrdinal && ordinal == value; }
};

// "#5" for an ordinal, the quoted text otherwise.
std::string Describe(const ResId& id);

struct ResEntry {
  ResId type;
  ResId name;
  std::uint32_t dataVersion = 0;
  std::uint16_t memoryFlags = 0;
  std::uint16_t languageId = 0;
  std::uint32_t version = 0;
  std::uint32_t characteristics = 0;
  std::string data;
};

struct ResDialogItem {
  std::uint32_t helpId = 0;  // DIALOGEX only
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0, y = 0, width = 0, height = 0;
  std::uint32_t id = 0;  // 16 bits in a DIALOG
  ResId className;
  ResId text;
  std::vector<std::uint8_t> data;
};

struct ResFont {
  std::uint16_t pointSize = 0;
  std::uint16_t weight = 0;  // DIALOGEX only
  std::uint8_t italic = 0;   // DIALOGEX only: the byte as written, 0 or 1 from llvm-rc
  std::uint8_t charset = 0;  // DIALOGEX only
  std::string face;
};

struct ResDialog {
  bool extended = false;
  std::uint32_t helpId = 0;  // DIALOGEX only
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0, y = 0, width = 0, height = 0;
  ResId menu;       // an empty text when there is none
  ResId className;  // an empty text when there is none
  std::string caption;
  std::optional<ResFont> font;  // present when the style has DS_SETFONT
  std::vector<ResDialogItem> items;
};

// One item of a menu, the nesting flattened: pop-ups come before their items.
struct ResMenuItem {
  int level = 0;
  bool popup = false;
  bool lastInLevel = false;
  std::string text;
  std::uint32_t id = 0;      // MENU: 16 bits, and none for pop-ups
  std::uint32_t type = 0;    // MENUEX: MFT_ bits; MENU: the item's flags without MF_POPUP and MF_END
  std::uint32_t state = 0;   // MENUEX only
  std::uint32_t helpId = 0;  // MENUEX pop-ups only
};

struct ResMenu {
  bool extended = false;
  std::vector<ResMenuItem> items;
};

template <typename T>
struct ResDecoding {
  T value{};
  std::string error;  // empty when the bytes decoded
  bool Ok() const { return error.empty(); }
};

// Where a MENUEX pop-up's help identifier stands. Windows reads it at the
// next DWORD boundary after the text; llvm-rc writes it right after the text.
enum class MenuExHelpIdPlacement { Aligned, AfterText };

ResDecoding<std::vector<ResEntry>> DecodeResFile(std::string_view bytes);
// The UTF-8 form of UTF-16LE bytes; an unpaired surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

ResDecoding<ResDialog> DecodeDialogTemplate(std::string_view data);
ResDecoding<ResMenu> DecodeMenuTemplate(std::string_view data, MenuExHelpIdPlacement helpIdPlacement);

}  // namespace trellane
