#include "menu/MenuConverter.h"

#include <string>

#include "radasm/MenuRecordFile.h"
#include "radasm/MenuShortcut.h"
#include "text/DefineTable.h"
#include "text/NumberField.h"
#include "text/ScriptScan.h"

namespace trellane {
namespace {

constexpr std::string_view MenuKeyword = "MENUEX";

// The item keyword that starts the line, or the empty view.
std::string_view ItemKeyword(std::string_view script, const ScriptLine& line) {
  constexpr std::string_view MenuItem = "MENUITEM";
  constexpr std::string_view Popup = "POPUP";
  if (line.codeStart >= line.codeEnd)
    return {};
  const char first = script[line.codeStart];
  if (first == 'M' && StartsStatement(script, line, MenuItem))
    return MenuItem;
  if (first == 'P' && StartsStatement(script, line, Popup))
    return Popup;
  return {};
}

// Applies visit(line, keyword, level) to every item line of the block body,
// where level is the nesting depth of lone BEGIN and END lines (0 right after
// the resource's own BEGIN). The block body ends at the END that closes the
// resource, so the depth never drops below 0 here.
template <typename Visit>
void ForEachItemLine(std::string_view script, const ResourceBlock& block, Visit visit) {
  LineWalker walker(script, block.bodyStart);
  ScriptLine line;
  int level = 0;
  while (walker.Next(line) && line.start < block.bodyEnd) {
    if (line.codeStart == line.codeEnd)
      continue;
    const std::string_view keyword = ItemKeyword(script, line);
    if (!keyword.empty())
      visit(line, keyword, level);
    else if (IsLoneWord(script, line, "BEGIN"))
      ++level;
    else if (IsLoneWord(script, line, "END"))
      --level;
  }
}

// Item statements between the resource line and its BEGIN cannot belong to
// the menu's tree; they are reported, not converted.
void WarnItemBeforeBegin(std::string_view script, const ScriptLine& line, Diagnostics& diagnostics) {
  const std::string_view keyword = ItemKeyword(script, line);
  if (!keyword.empty())
    Warn(diagnostics, line.start, std::string(keyword) + " stands before the menu's BEGIN; skipped");
}

struct ItemLine {
  std::string_view caption;  // the quoted text with "" read as one quote
  std::string captionCopy;   // holds the caption when it had doubled quotes
  bool quoted = false;       // a quoted caption, or SEPARATOR, stands on the line
  std::string_view identifier;
  std::string_view type;
  std::string_view state;
};

// Reads the caption between quotes, a doubled quote standing for one quote.
// Returns the index after the closing quote, or end when there is none.
std::size_t ReadCaption(std::string_view script, std::size_t opening, std::size_t end, ItemLine& item, bool& closed) {
  closed = false;
  const std::size_t first = opening + 1;
  std::size_t quote = script.substr(0, end).find('"', first);
  if (quote == std::string_view::npos) {
    item.caption = script.substr(first, end - first);
    return end;
  }
  if (quote + 1 >= end || script[quote + 1] != '"') {
    closed = true;
    item.caption = script.substr(first, quote - first);
    return quote + 1;
  }
  std::string& copy = item.captionCopy;
  copy.assign(script.substr(first, quote - first));
  std::size_t i = quote;
  while (i < end) {
    const char c = script[i];
    if (c != '"') {
      copy.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < end && script[i + 1] == '"') {
      copy.push_back('"');
      i += 2;
      continue;
    }
    closed = true;
    ++i;
    break;
  }
  item.caption = copy;
  return i;
}

// Splits the caption's line into caption and fields. Only the line's own
// code is read: no field is ever taken from another line.
void ReadItemLine(std::string_view script, const ScriptLine& line, std::string_view keyword, ItemLine& item,
                  Diagnostics& diagnostics) {
  const std::size_t end = line.codeEnd;
  std::size_t i = line.codeStart + keyword.size();
  while (i < end && IsBlankOrTab(script[i]))
    ++i;
  item.identifier = {};
  item.type = {};
  item.state = {};
  std::size_t fieldsStart = i;
  item.quoted = i < end && script[i] == '"';
  if (item.quoted) {
    bool closed = false;
    fieldsStart = ReadCaption(script, i, end, item, closed);
    if (!closed)
      Warn(diagnostics, line.start, "caption has no closing quote; taken to the end of the line");
  } else {
    item.caption = {};
    const std::string_view rest = TrimField(script.substr(i, end - i));
    if (keyword == "MENUITEM" && rest == "SEPARATOR") {
      item.quoted = true;  // the separator an empty caption also gives
      return;
    }
    Warn(diagnostics, line.start, std::string(keyword) + " has no quoted caption; caption left empty");
  }

  // Fields are separated by commas: before the first one only blanks may
  // stand, then identifier, type and state; a pop-up's help identifier and
  // anything further are not part of the record.
  std::string_view* const fields[] = {nullptr, &item.identifier, &item.type, &item.state};
  std::size_t start = fieldsStart;
  for (std::size_t fieldIndex = 0; fieldIndex < std::size(fields); ++fieldIndex) {
    std::size_t comma = start;
    while (comma < end && script[comma] != ',')
      ++comma;
    const std::string_view field = TrimField(script.substr(start, comma - start));
    if (fieldIndex == 0) {
      if (!field.empty() && !item.caption.empty())
        Warn(diagnostics, line.start, "text after the caption ignored: " + std::string(field));
    } else {
      *fields[fieldIndex] = field;
    }
    if (comma >= end)
      break;
    start = comma + 1;
  }
}

std::uint32_t ReadFlagsField(std::string_view field, std::string_view what, std::size_t position,
                             Diagnostics& diagnostics) {
  if (field.empty())
    return 0;
  if (const auto literal = ParseIntegerLiteral(field))
    return *literal;  // the common case, without the expression reader
  if (const auto value = ParseFlagsExpression(field))
    return *value;
  Warn(diagnostics, position,
       std::string(what) + " " + std::string(field) + " is not a number; " + std::string(what) + " 0");
  return 0;
}

struct FlagBit {
  std::uint32_t scriptBit;
  std::uint32_t recordBit;
};

constexpr FlagBit TypeFlags[] = {
    {0x100, MenuItemFlag::OwnerDraw},
    {0x200, MenuItemFlag::RadioCheck},
    {0x2000, MenuItemFlag::RightOrder},
    {0x4000, MenuItemFlag::RightJustify},
};

constexpr FlagBit StateFlags[] = {
    {0x1, MenuItemFlag::Grayed},
    {0x2, MenuItemFlag::Disabled},
    {0x8, MenuItemFlag::Checked},
};

std::uint32_t RecordFlags(std::uint32_t type, std::uint32_t state) {
  std::uint32_t flags = 0;
  for (const FlagBit& bit : TypeFlags) {
    if (type & bit.scriptBit)
      flags |= bit.recordBit;
  }
  for (const FlagBit& bit : StateFlags) {
    if (state & bit.scriptBit)
      flags |= bit.recordBit;
  }
  return flags;
}

// The caption stored and the shortcut code: the caption is split at its last
// backslash-t, and the words behind it name the keys.
std::uint32_t SplitShortcut(std::string_view caption, std::string_view& shown, std::size_t position,
                            Diagnostics& diagnostics) {
  shown = caption;
  const std::size_t tab = caption.rfind("\\t");
  if (tab == std::string_view::npos)
    return 0;
  shown = caption.substr(0, tab);
  const std::string_view text = caption.substr(tab + 2);
  const ShortcutReading reading = ReadShortcut(text);
  for (const std::string_view word : reading.unknown)
    Warn(diagnostics, position, "shortcut key " + std::string(word) + " is unknown; ignored");
  if (reading.keyCount > 1) {
    Warn(diagnostics, position, "shortcut " + std::string(text) + " names more than one key; their codes are combined");
  } else if (reading.keyCount == 0 && reading.unknown.empty() && !TrimField(text).empty()) {
    Warn(diagnostics, position, "shortcut " + std::string(text) + " names no key");
  }
  return reading.code;
}

void StoreHeader(std::string_view script, const ResourceBlock& block, const DefineTable& defines, Image& image,
                 Diagnostics& diagnostics) {
  const std::string_view name = StatementName(script, block.keyword);
  const std::size_t position = LineStartOf(script, block.keyword);
  if (name.empty())
    Warn(diagnostics, position, "the menu resource has no name; identifier 0");
  const ResolvedIdentifier resolved = ResolveIdentifier(name, defines, position, diagnostics);
  if (!StoreText(image, MenuHeader::resourceName, MenuHeader::resourceNameWidth, resolved.name))
    Warn(diagnostics, position, "name " + std::string(resolved.name) + " cut to 31 characters");
  StoreU32(image, MenuHeader::resourceId, resolved.value);
  StoreU16(image, MenuHeader::followingId, (resolved.value + 1) & 0xFFFF);
  StoreU16(image, MenuHeader::fixedValue, MenuHeader::FixedValue);
}

}  // namespace

ConverterResult ConvertMenuScript(std::string_view script) {
  ConverterResult result;
  // The walk that finds the block also counts its items, so the image is
  // sized before the one walk that fills it.
  Diagnostics headWarnings;
  std::size_t itemCount = 0;
  const auto block = WalkResourceBlock(
      script, MenuKeyword, [&](const ScriptLine& line) { WarnItemBeforeBegin(script, line, headWarnings); },
      [&](const ScriptLine& line, int) {
        if (line.codeStart != line.codeEnd && !ItemKeyword(script, line).empty())
          ++itemCount;
      });
  if (!block)
    return result;
  result.keywordFound = true;
  Diagnostics& diagnostics = result.diagnostics;
  const std::size_t resourceLine = LineStartOf(script, block->keyword);

  if (!block->hasBegin) {
    Warn(diagnostics, resourceLine, "MENUEX has no BEGIN line; the menu has no items");
  } else {
    if (!block->closed)
      Warn(diagnostics, resourceLine, "the menu's BEGIN has no closing END; items read to the end of the script");
    for (Diagnostic& warning : headWarnings)
      diagnostics.push_back(std::move(warning));
    // The item walks start outside comments, as the line after BEGIN is
    // read on its own; only then does the block walk's count differ.
    if (block->bodyInComment) {
      itemCount = 0;
      ForEachItemLine(script, *block, [&](const ScriptLine&, std::string_view, int) { ++itemCount; });
    }
  }

  result.image = ZeroedImage(MenuImageSize(itemCount));
  const DefineTable defines(script);
  StoreHeader(script, *block, defines, result.image, diagnostics);
  if (itemCount == 0)
    return result;

  ItemLine item;
  std::size_t index = 0;
  ForEachItemLine(script, *block, [&](const ScriptLine& line, std::string_view keyword, int level) {
    if (index == itemCount)
      return;
    const std::size_t position = line.start;
    ReadItemLine(script, line, keyword, item, diagnostics);
    const ResolvedIdentifier identifier = ResolveIdentifier(item.identifier, defines, position, diagnostics);
    const std::uint32_t type = ReadFlagsField(item.type, "type", position, diagnostics);
    const std::uint32_t state = ReadFlagsField(item.state, "state", position, diagnostics);

    // An empty quoted caption is a separator, which RadASM shows as "-".
    std::string_view caption = item.quoted ? "-" : "";
    std::uint32_t shortcut = 0;
    if (!item.caption.empty())
      shortcut = SplitShortcut(item.caption, caption, position, diagnostics);

    const std::size_t record = MenuItemOffset(index);
    Image& image = result.image;
    StoreU8(image, record + MenuItemRecord::itemTag, 1);
    if (!StoreTextOnZeros(image, record + MenuItemRecord::identifierName, MenuItemRecord::identifierNameWidth,
                          identifier.name))
      Warn(diagnostics, position, "name " + std::string(identifier.name) + " cut to 31 characters");
    StoreU32(image, record + MenuItemRecord::identifier, identifier.value);
    if (!StoreTextOnZeros(image, record + MenuItemRecord::caption, MenuItemRecord::captionWidth, caption))
      Warn(diagnostics, position, "caption cut to 63 characters");
    StoreU16(image, record + MenuItemRecord::level, static_cast<std::uint32_t>(level) & 0xFFFF);
    StoreU16(image, record + MenuItemRecord::flags, RecordFlags(type, state));
    StoreU16(image, record + MenuItemRecord::shortcut, shortcut & 0xFFFF);
    ++index;
  });
  result.recordCount = itemCount;
  return result;
}

}  // namespace trellane
