// MENU and MENUEX: the header, the block of items and pop-ups, and the
// fields each kind of menu gives an item.
#include <string>
#include <vector>

#include "script/ScriptParser.h"

namespace trellane::parser {

bool ScriptParser::ReadMenu(Menu& menu) {
  const SourceLocation keyword = LastTaken().location;
  SkipMemoryFlags();
  switch (ReadOptionalStatements(menu.language, menu.characteristics, menu.version, nullptr, "menu")) {
    case Statements::Failed:
      return false;
    case Statements::NoBlock:
      Warning(keyword, std::string(menu.extended ? "MENUEX" : "MENU") + " has no BEGIN; the menu has no items");
      return true;
    case Statements::BeforeBlock:
      break;
  }
  return ReadMenuItems(menu);
}

// Reads the menu's block with a stack of open pop-ups rather than recursion.
bool ScriptParser::ReadMenuItems(Menu& menu) {
  struct Level {
    SourceLocation begin;
    std::size_t lastItem = static_cast<std::size_t>(-1);
  };
  std::vector<Level> open;
  open.push_back(Level{Take().location});
  while (!open.empty()) {
    if (IsBlockEnd(Peek())) {
      Take();
      if (open.back().lastItem != static_cast<std::size_t>(-1))
        menu.items[open.back().lastItem].lastInLevel = true;
      open.pop_back();
      continue;
    }
    if (AtEnd()) {
      if (failed)
        return false;
      Warning(open.front().begin,
              std::string("the menu's BEGIN has no closing END; items are read to the end of the script"));
      for (const Level& level : open) {
        if (level.lastItem != static_cast<std::size_t>(-1))
          menu.items[level.lastItem].lastInLevel = true;
      }
      return true;
    }
    const Token& next = Peek();
    if (next.keyword != Keyword::MenuItem && next.keyword != Keyword::Popup)
      return FailExpected("MENUITEM, POPUP or END");
    const TokenMark keyword(Take());
    const int level = static_cast<int>(open.size()) - 1;
    if (!ReadMenuItem(menu, keyword, level))
      return false;
    open.back().lastItem = menu.items.size() - 1;
    if (keyword.keyword != Keyword::Popup)
      continue;
    if (IsBlockBegin(Peek())) {
      if (open.size() > MaxNesting)
        return Fail(Peek(), "pop-ups are nested too deeply");
      open.push_back(Level{Take().location});
    } else {
      Warning(keyword.location, "POPUP has no BEGIN; the pop-up has no items");
    }
  }
  return true;
}

bool ScriptParser::ReadMenuItem(Menu& menu, const TokenMark& keyword, int level) {
  MenuItem item;
  item.location = keyword.location;
  item.level = level;
  const bool popup = keyword.keyword == Keyword::Popup;
  item.kind = popup ? MenuItemKind::Popup : MenuItemKind::Item;
  if (!popup && Peek().keyword == Keyword::Separator) {
    Take();
    item.kind = MenuItemKind::Separator;
    if (menu.extended)
      item.type = 0x800;  // MFT_SEPARATOR
    menu.items.push_back(item);
    return true;
  }
  const std::optional<std::string_view> text = Text("the item's caption");
  if (!text)
    return false;
  item.text = *text;
  const bool read = menu.extended ? ReadExtendedFields(item, keyword) : ReadMenuOptions(item);
  if (!read)
    return false;
  menu.items.push_back(item);
  return true;
}

// MENUEX fields: [, [id] [, [type] [, [state] [, helpId]]]], each may be left empty.
bool ScriptParser::ReadExtendedFields(MenuItem& item, const TokenMark& keyword) {
  const std::size_t fieldCount = keyword.keyword == Keyword::Popup ? 4 : 3;
  const char* const names[] = {"identifier", "type", "state", "help identifier"};
  for (std::size_t field = 0; IsPunctuator(Peek(), ","); ++field) {
    Take();
    if (!StartsValue(Peek()))
      continue;
    if (field >= fieldCount) {
      const std::optional<std::uint32_t> ignored = Integer("value");
      if (!ignored)
        return false;
      if (field == fieldCount)
        Warning(keyword.location, std::string(keyword.text) + " takes at most " + std::to_string(fieldCount) +
                                      " values after its text; the rest is ignored");
      continue;
    }
    if (field == 0) {
      std::optional<NumberField> id = Number(names[field]);
      if (!id)
        return false;
      item.id = *id;
      continue;
    }
    const std::optional<std::uint32_t> value = Integer(names[field]);
    if (!value)
      return false;
    (field == 1 ? item.type : field == 2 ? item.state : item.helpId) = *value;
  }
  return true;
}

// MENU: MENUITEM text, id [, option]... and POPUP text [, option]...
bool ScriptParser::ReadMenuOptions(MenuItem& item) {
  if (item.kind == MenuItemKind::Item) {
    if (!Separator("before the item's identifier"))
      return false;
    std::optional<NumberField> id = Number("identifier");
    if (!id)
      return false;
    item.id = *id;
  }
  for (;;) {
    const bool comma = TakePunctuator(",");
    const std::uint32_t flag = MenuOptionFlag(Peek().keyword);
    if (flag == 0) {
      if (comma)
        return FailExpected("a menu option (CHECKED, GRAYED, HELP, INACTIVE, MENUBARBREAK, MENUBREAK)");
      return true;
    }
    Take();
    item.type |= flag;
  }
}

}  // namespace trellane::parser
