#include "script/ModelDump.h"

#include <cstdio>
#include <string>

namespace trellane {
namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// A text in double quotes with control characters, quotes and backslashes escaped.
std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Name(const NameOrOrdinal& name) {
  if (!name.IsOrdinal())
    return Quote(name.Text());
  std::string text = std::to_string(name.Value() & 0xFFFF);
  if (!name.Symbol().empty())
    text = std::string(name.Symbol()) + "=" + text;
  return text;
}

std::string Number(const NumberField& field) {
  std::string text = std::to_string(static_cast<std::int32_t>(field.value));
  if (!field.symbol.empty())
    text = std::string(field.symbol) + "=" + text;
  return text;
}

std::string Language(const struct Language& language) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(language.Id()));
  return text;
}

std::string Place(const SourceLocation& location) {
  return "line " + std::to_string(location.line) +
         (location.file != 0 ? " of file " + std::to_string(location.file) : "");
}

constexpr const char* StatementNames[] = {
    "CONTROL",  "LTEXT",        "RTEXT",   "CTEXT",      "PUSHBUTTON",  "DEFPUSHBUTTON",   "PUSHBOX",
    "CHECKBOX", "AUTOCHECKBOX", "STATE3",  "AUTO3STATE", "RADIOBUTTON", "AUTORADIOBUTTON", "GROUPBOX",
    "EDITTEXT", "COMBOBOX",     "LISTBOX", "SCROLLBAR",  "ICON",
};

void DumpDialog(const Dialog& dialog, std::ostream& out) {
  out << (dialog.extended ? "DIALOGEX " : "DIALOG ") << Name(dialog.name) << " language " << Language(dialog.language)
      << " at " << Place(dialog.location) << '\n';
  out << "  rect " << dialog.x << ' ' << dialog.y << ' ' << dialog.width << ' ' << dialog.height << " help "
      << dialog.helpId << '\n';
  out << "  style " << Hex(dialog.TemplateStyle()) << " written "
      << (dialog.style ? Hex(dialog.style->value) : std::string("-")) << " exstyle " << Hex(dialog.exStyle) << '\n';
  if (dialog.caption)
    out << "  caption " << Quote(*dialog.caption) << '\n';
  if (dialog.className)
    out << "  class " << Name(*dialog.className) << '\n';
  if (dialog.menu)
    out << "  menu " << Name(*dialog.menu) << '\n';
  if (dialog.font)
    out << "  font " << dialog.font->pointSize << ' ' << Quote(dialog.font->face) << " weight " << dialog.font->weight
        << " italic " << dialog.font->italic << " charset " << static_cast<int>(dialog.font->charset) << '\n';
  if (dialog.characteristics != 0 || dialog.version != 0)
    out << "  characteristics " << dialog.characteristics << " version " << dialog.version << '\n';
  for (const Control& control : dialog.controls) {
    out << "  " << StatementNames[static_cast<int>(control.statement)] << ' ' << Name(control.text) << " id "
        << Number(control.id) << " class " << Name(control.className) << " style " << Hex(control.style) << " exstyle "
        << Hex(control.exStyle) << " rect " << control.x << ' ' << control.y << ' ' << control.width << ' '
        << control.height;
    if (control.helpId)
      out << " help " << *control.helpId;
    if (!control.data.empty())
      out << " data " << control.data.size() << " bytes";
    out << '\n';
  }
}

void DumpMenu(const Menu& menu, std::ostream& out) {
  out << (menu.extended ? "MENUEX " : "MENU ") << Name(menu.name) << " language " << Language(menu.language) << " at "
      << Place(menu.location) << '\n';
  for (const MenuItem& item : menu.items) {
    out << std::string(static_cast<std::size_t>(2 + 2 * item.level), ' ');
    if (item.kind == MenuItemKind::Separator) {
      out << "SEPARATOR";
    } else {
      out << (item.kind == MenuItemKind::Popup ? "POPUP " : "MENUITEM ") << Quote(item.text) << " id "
          << Number(item.id) << " type " << Hex(item.type);
      if (menu.extended)
        out << " state " << Hex(item.state);
      if (item.helpId != 0)
        out << " help " << item.helpId;
    }
    if (item.lastInLevel)
      out << " last";
    out << '\n';
  }
}

}  // namespace

void DumpResourceModel(const ResourceScript& resources, std::ostream& out) {
  for (const Menu& menu : resources.menus)
    DumpMenu(menu, out);
  for (const Dialog& dialog : resources.dialogs)
    DumpDialog(dialog, out);
}

}  // namespace trellane
