// The menus and dialogs of a resource script as the front end reads them:
// plain values, every text in UTF-8, every number as the resource compilers
// compute it. Other resources are stepped over and not kept.
//
// Texts are views. The front end keeps their bytes in the TextStore of the
// ResourceScript it fills (a model built by hand may view literals), so a
// control or an item allocates nothing of its own and a script of many
// thousands of them costs little more than their fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "script/SourceFiles.h"
#include "text/RecordArray.h"

namespace trellane {

// Bytes that stay in place while more are added, for as long as the store
// lives: moving the store moves no byte.
class TextStore {
 public:
  TextStore() = default;
  TextStore(TextStore&&) noexcept = default;
  TextStore& operator=(TextStore&&) noexcept = default;
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;
  ~TextStore() = default;

  std::string_view Keep(std::string_view text);
  std::span<const std::uint8_t> Keep(std::span<const std::uint8_t> bytes);

 private:
  char* Place(std::size_t size);

  std::vector<std::unique_ptr<char[]>> blocks;
  char* next = nullptr;  // the free part of the last block
  std::size_t left = 0;
};

// A resource's name, or a name or class field that may be a number or a text.
// One view holds the text of a name or the symbol of a number: a field is
// never both.
class NameOrOrdinal {
 public:
  NameOrOrdinal() = default;
  static NameOrOrdinal Name(std::string_view text) { return {false, 0, text}; }
  static NameOrOrdinal Ordinal(std::uint32_t value, std::string_view symbol = {}) { return {true, value, symbol}; }

  bool IsOrdinal() const { return isOrdinal; }
  // The value as written; the compilers keep its low 16 bits.
  std::uint32_t Value() const { return ordinal; }
  // A name as written (the compilers store resource names upper-cased).
  std::string_view Text() const { return isOrdinal ? std::string_view() : written; }
  // The macro the script wrote for a number, if one stands for it whole.
  std::string_view Symbol() const { return isOrdinal ? written : std::string_view(); }

 private:
  NameOrOrdinal(bool ordinalField, std::uint32_t value, std::string_view text)
      : isOrdinal(ordinalField), ordinal(value), written(text) {}

  bool isOrdinal = false;
  std::uint32_t ordinal = 0;
  std::string_view written;
};

// A numeric field: its value and, when the script wrote a macro for it, that
// macro's name (IDOK, IDC_NAME).
struct NumberField {
  std::uint32_t value = 0;
  std::string_view symbol;
};

struct Language {
  std::uint16_t primary = 0;  // LANG_NEUTRAL
  std::uint16_t sub = 0;
  std::uint16_t Id() const { return static_cast<std::uint16_t>(primary | (sub << 10)); }
};

// A style as a statement gives it: bits to set, and the bits NOT removes
// from the default style before the set bits are added.
struct StyleValue {
  std::uint32_t value = 0;
  std::uint32_t notMask = 0;
  std::uint32_t Apply(std::uint32_t defaultStyle) const { return (defaultStyle & ~notMask) | value; }
};

struct Font {
  std::uint16_t pointSize = 0;
  std::string_view face;
  std::uint16_t weight = 0;  // DIALOGEX only
  bool italic = false;       // DIALOGEX only
  std::uint8_t charset = 1;  // DIALOGEX only; DEFAULT_CHARSET when not given
  int valueCount = 0;        // how many values the FONT statement gave: 2 to 5
};

enum class ControlStatement : std::uint8_t {
  Control,
  LText,
  RText,
  CText,
  PushButton,
  DefPushButton,
  PushBox,
  CheckBox,
  AutoCheckBox,
  State3,
  Auto3State,
  RadioButton,
  AutoRadioButton,
  GroupBox,
  EditText,
  ComboBox,
  ListBox,
  ScrollBar,
  Icon,
};

struct Control {
  SourceLocation location;  // the statement's keyword
  ControlStatement statement = ControlStatement::Control;
  NameOrOrdinal text;  // the caption, or an ordinal (an ICON's resource)
  NumberField id;
  NameOrOrdinal className;  // "Button" as written in CONTROL, or the ordinal of a predefined class (0x80 to 0x85)
  std::uint32_t style = 0;  // the style the compilers write: the statement's default with the given style applied
  std::uint32_t exStyle = 0;
  std::int32_t x = 0, y = 0, width = 0, height = 0;  // dialog units, as 16-bit fields hold them
  std::optional<std::uint32_t> helpId;
  std::span<const std::uint8_t> data;  // the bytes of a data block after the control, if any
};

struct Dialog {
  SourceLocation location;  // the resource's name
  NameOrOrdinal name;
  bool extended = false;  // DIALOGEX
  Language language;
  std::uint32_t characteristics = 0;
  std::uint32_t version = 0;
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  std::uint32_t helpId = 0;
  std::optional<StyleValue> style;  // the STYLE statement's value, as written
  std::uint32_t exStyle = 0;
  std::optional<std::string_view> caption;
  std::optional<NameOrOrdinal> className;
  std::optional<NameOrOrdinal> menu;
  std::optional<Font> font;
  RecordArray<Control> controls;
  // The style the compilers write into the template: the STYLE value or the
  // default, with WS_CAPTION for a CAPTION and DS_SETFONT for a FONT.
  std::uint32_t TemplateStyle() const;
};

enum class MenuItemKind : std::uint8_t { Item, Popup, Separator };

struct MenuItem {
  SourceLocation location;
  MenuItemKind kind = MenuItemKind::Item;
  int level = 0;  // nesting depth: 0 for the menu's own items
  std::string_view text;
  NumberField id;
  std::uint32_t type = 0;    // MENUEX: MFT_ bits; MENU: the option flags (MF_ bits)
  std::uint32_t state = 0;   // MENUEX: MFS_ bits
  std::uint32_t helpId = 0;  // MENUEX pop-ups
  bool lastInLevel = false;  // the last item of its BEGIN ... END block
};

struct Menu {
  SourceLocation location;
  NameOrOrdinal name;
  bool extended = false;  // MENUEX
  Language language;
  std::uint32_t characteristics = 0;
  std::uint32_t version = 0;
  RecordArray<MenuItem> items;  // in script order, pop-ups before their items
};

enum class ResourceKind { Menu, Dialog };

// A resource in script order: its kind and its index among those of its kind.
struct ResourceEntry {
  ResourceKind kind = ResourceKind::Menu;
  std::size_t index = 0;
};

struct ResourceScript {
  TextStore texts;  // the bytes the model's texts view
  std::vector<Menu> menus;
  std::vector<Dialog> dialogs;
  std::vector<ResourceEntry> order;  // every menu and dialog as the script holds them
};

}  // namespace trellane
