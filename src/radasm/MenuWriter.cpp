#include "radasm/MenuWriter.h"

#include <string>

#include "radasm/MenuRecordFile.h"
#include "radasm/MenuShortcut.h"
#include "script/SourceText.h"

namespace trellane {
namespace {

struct FlagBit {
  std::uint32_t scriptBit;
  std::uint32_t recordBit;
};

constexpr FlagBit TypeFlags[] = {
    {0x100, MenuItemFlag::OwnerDraw},      // MFT_OWNERDRAW
    {0x200, MenuItemFlag::RadioCheck},     // MFT_RADIOCHECK
    {0x2000, MenuItemFlag::RightOrder},    // MFT_RIGHTORDER
    {0x4000, MenuItemFlag::RightJustify},  // MFT_RIGHTJUSTIFY
};

constexpr FlagBit StateFlags[] = {
    {0x1, MenuItemFlag::Grayed},    // MFS_GRAYED's low bit
    {0x2, MenuItemFlag::Disabled},  // MFS_DISABLED's high bit
    {0x8, MenuItemFlag::Checked},   // MFS_CHECKED
};

// A MENU item's options as the MENUEX type and state that mean the same to
// Windows: GRAYED and INACTIVE both grey and disable an item there.
void ExtendedTypeAndState(const MenuItem& item, bool extended, std::uint32_t& type, std::uint32_t& state) {
  if (extended) {
    type = item.type;
    state = item.state;
    return;
  }
  type = item.type & (0x4000 | 0x0020 | 0x0040);  // HELP, MENUBARBREAK, MENUBREAK
  state = 0;
  if (item.type & 0x0008)
    state |= 0x8;  // CHECKED
  if (item.type & (0x0001 | 0x0002))
    state |= 0x3;  // GRAYED, INACTIVE
}

constexpr std::uint32_t MenuBreaks = 0x0020 | 0x0040;  // MFT_MENUBARBREAK, MFT_MENUBREAK

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

// Splits the caption at its last tab; the words behind it name the keys.
std::uint32_t SplitShortcut(std::string_view caption, std::string_view& shown, const MenuItem& item,
                            const WriterOptions& options) {
  shown = caption;
  const std::size_t tab = caption.rfind('\t');
  if (tab == std::string_view::npos)
    return 0;
  shown = caption.substr(0, tab);
  const std::string_view text = caption.substr(tab + 1);
  const ShortcutReading reading = ReadShortcut(text);
  const auto warn = [&](const std::string& message) {
    if (options.warn)
      options.warn(item.location, message);
  };
  for (const std::string_view word : reading.unknown)
    warn("shortcut key " + std::string(word) + " is unknown; ignored");
  if (reading.keyCount > 1)
    warn("shortcut " + std::string(text) + " names more than one key; their codes are combined");
  else if (reading.keyCount == 0 && reading.unknown.empty() && text.find_first_not_of(" \t") != std::string_view::npos)
    warn("shortcut " + std::string(text) + " names no key");
  return reading.code;
}

void StoreName(Image& image, std::size_t offset, std::string_view name, const SourceLocation& location,
               const WriterOptions& options) {
  if (!StoreTextOnZeros(image, offset, 32, name) && options.warn)
    options.warn(location, "name " + std::string(name) + " cut to 31 characters");
}

}  // namespace

Image WriteMenuFile(const Menu& menu, const WriterOptions& options) {
  Image image = ZeroedImage(MenuImageSize(menu.items.size()));
  const std::uint32_t resourceId = menu.name.IsOrdinal() ? menu.name.Value() : 0;
  if (!menu.name.IsOrdinal() && options.warn)
    options.warn(menu.location, "the menu's name " + std::string(menu.name.Text()) +
                                    " is no number (it has no #define); identifier 0");
  StoreName(image, MenuHeader::resourceName, RecordName(menu.name), menu.location, options);
  StoreU32(image, MenuHeader::resourceId, resourceId);
  StoreU16(image, MenuHeader::followingId, (resourceId + 1) & 0xFFFF);
  StoreU16(image, MenuHeader::fixedValue, MenuHeader::FixedValue);

  std::string converted;  // a caption that is not ASCII, in the output code page
  for (std::size_t index = 0; index < menu.items.size(); ++index) {
    const MenuItem& item = menu.items[index];
    const std::size_t record = MenuItemOffset(index);
    std::uint32_t type = 0;
    std::uint32_t state = 0;
    ExtendedTypeAndState(item, menu.extended, type, state);

    // A separator, or an item with an empty caption, shows as "-" in RadASM.
    std::string_view caption = "-";
    std::uint32_t shortcut = 0;
    if (item.kind != MenuItemKind::Separator && !item.text.empty())
      shortcut = SplitShortcut(OutputText(item.text, options, item.location, converted), caption, item, options);

    StoreU8(image, record + MenuItemRecord::itemTag, 1);
    StoreName(image, record + MenuItemRecord::identifierName, item.id.symbol, item.location, options);
    StoreU32(image, record + MenuItemRecord::identifier, item.id.value);
    // Never half a double-byte character at the end of the slot.
    const std::size_t fits = CharacterBoundary(caption, MenuItemRecord::captionWidth - 1, options.outputCodePage);
    const bool whole = StoreTextOnZeros(image, record + MenuItemRecord::caption, MenuItemRecord::captionWidth,
                                        caption.substr(0, fits)) &&
                       fits == caption.size();
    if (!whole && options.warn)
      options.warn(item.location, "caption cut to 63 characters");
    StoreU16(image, record + MenuItemRecord::level, static_cast<std::uint32_t>(item.level) & 0xFFFF);
    if ((type & MenuBreaks) != 0 && options.warn)
      options.warn(item.location,
                   "a menu break (MENUBREAK, MENUBARBREAK) has no place in the menu record file; it is "
                   "not stored");
    StoreU16(image, record + MenuItemRecord::flags, RecordFlags(type, state));
    StoreU16(image, record + MenuItemRecord::shortcut, shortcut & 0xFFFF);
  }
  return image;
}

}  // namespace trellane
