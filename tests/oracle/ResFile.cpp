#include "tests/oracle/ResFile.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace trellane {
namespace {

constexpr std::uint32_t DsSetFont = 0x40;
constexpr std::uint16_t MfPopup = 0x10;
constexpr std::uint16_t MfEnd = 0x80;
constexpr std::uint16_t MenuExPopup = 0x01;
constexpr std::uint16_t MenuExLast = 0x80;

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t codePoint = units[i];
    if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      codePoint = 0x10000 + ((codePoint - 0xD800u) << 10) + (units[i + 1] - 0xDC00u);
      ++i;
    } else if (codePoint >= 0xD800 && codePoint < 0xE000) {
      codePoint = 0xFFFD;
    }
    AppendUtf8(text, codePoint);
  }
  return text;
}

// Little-endian reads that never pass the end: the first read that would
// records an error, and every read after it gives zeros.
class TemplateReader {
 public:
  explicit TemplateReader(std::string_view source) : bytes(source) {}

  bool Failed() const { return !error.empty(); }
  const std::string& Error() const { return error; }
  std::size_t Offset() const { return offset; }
  bool AtEnd() const { return offset >= bytes.size(); }

  std::uint8_t U8(const char* what) {
    if (!Need(1, what))
      return 0;
    return static_cast<std::uint8_t>(bytes[offset++]);
  }

  std::uint16_t U16(const char* what) {
    if (!Need(2, what))
      return 0;
    const auto low = static_cast<std::uint8_t>(bytes[offset]);
    const auto high = static_cast<std::uint8_t>(bytes[offset + 1]);
    offset += 2;
    return static_cast<std::uint16_t>(low | (high << 8));
  }

  std::int16_t I16(const char* what) { return static_cast<std::int16_t>(U16(what)); }

  std::uint32_t U32(const char* what) {
    const std::uint32_t low = U16(what);
    const std::uint32_t high = U16(what);
    return low | (high << 16);
  }

  // A zero-terminated UTF-16 text.
  std::string Text(const char* what) {
    std::u16string units;
    while (!Failed()) {
      const std::uint16_t unit = U16(what);
      if (Failed() || unit == 0)
        break;
      units += static_cast<char16_t>(unit);
    }
    return Utf16ToUtf8(units);
  }

  ResId IdOrText(const char* what) {
    ResId id;
    if (offset + 2 <= bytes.size() && bytes[offset] == '\xFF' && bytes[offset + 1] == '\xFF') {
      offset += 2;
      id.isOrdinal = true;
      id.ordinal = U16(what);
    } else {
      id.text = Text(what);
    }
    return id;
  }

  std::string_view Bytes(std::size_t count, const char* what) {
    if (!Need(count, what))
      return {};
    const std::string_view taken = bytes.substr(offset, count);
    offset += count;
    return taken;
  }

  // Moves to the next multiple of four from the start, which the compilers
  // keep DWORD-aligned.
  void AlignTo4() {
    const std::size_t aligned = (offset + 3) & ~static_cast<std::size_t>(3);
    offset = aligned < bytes.size() ? aligned : bytes.size();
  }

  void Seek(std::size_t to, const char* what) {
    if (to > bytes.size()) {
      Fail(what, to);
      return;
    }
    offset = to;
  }

 private:
  bool Need(std::size_t count, const char* what) {
    if (Failed())
      return false;
    if (count > bytes.size() - offset) {
      Fail(what, offset);
      return false;
    }
    return true;
  }

  void Fail(const char* what, std::size_t at) {
    error = std::string(what) + " runs past the end (" + std::to_string(bytes.size()) + " bytes) at offset " +
            std::to_string(at);
  }

  std::string_view bytes;
  std::size_t offset = 0;
  std::string error;
};

ResDialogItem ReadDialogItem(TemplateReader& reader, bool extended) {
  ResDialogItem item;
  reader.AlignTo4();
  if (extended) {
    item.helpId = reader.U32("a control's help identifier");
    item.exStyle = reader.U32("a control's extended style");
    item.style = reader.U32("a control's style");
  } else {
    item.style = reader.U32("a control's style");
    item.exStyle = reader.U32("a control's extended style");
  }
  item.x = reader.I16("a control's x");
  item.y = reader.I16("a control's y");
  item.width = reader.I16("a control's width");
  item.height = reader.I16("a control's height");
  item.id = extended ? reader.U32("a control's identifier") : reader.U16("a control's identifier");
  item.className = reader.IdOrText("a control's class");
  item.text = reader.IdOrText("a control's text");
  const std::uint16_t dataSize = reader.U16("a control's data size");
  const std::string_view data = reader.Bytes(dataSize, "a control's data");
  item.data.assign(data.begin(), data.end());
  return item;
}

}  // namespace

std::string Describe(const ResId& id) {
  if (id.isOrdinal)
    return "#" + std::to_string(id.ordinal);
  return "\"" + id.text + "\"";
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    units +=
        static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) | (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
  return Utf16ToUtf8(units);
}

ResDecoding<std::vector<ResEntry>> DecodeResFile(std::string_view bytes) {
  ResDecoding<std::vector<ResEntry>> decoding;
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    TemplateReader sizes(bytes.substr(offset));
    const std::uint32_t dataSize = sizes.U32("a resource's data size");
    const std::uint32_t headerSize = sizes.U32("a resource's header size");
    if (sizes.Failed()) {
      decoding.error = "resource at offset " + std::to_string(offset) + ": " + sizes.Error();
      return decoding;
    }
    const std::size_t left = bytes.size() - offset;
    if (headerSize < 8 || headerSize > left || dataSize > left - headerSize) {
      decoding.error = "resource at offset " + std::to_string(offset) + ": header size " + std::to_string(headerSize) +
                       " and data size " + std::to_string(dataSize) + " pass the end (" + std::to_string(bytes.size()) +
                       " bytes)";
      return decoding;
    }
    TemplateReader header(bytes.substr(offset, headerSize));
    header.Seek(8, "a resource header");
    ResEntry entry;
    entry.type = header.IdOrText("a resource's type");
    entry.name = header.IdOrText("a resource's name");
    header.AlignTo4();
    entry.dataVersion = header.U32("a resource's data version");
    entry.memoryFlags = header.U16("a resource's memory flags");
    entry.languageId = header.U16("a resource's language");
    entry.version = header.U32("a resource's version");
    entry.characteristics = header.U32("a resource's characteristics");
    if (header.Failed()) {
      decoding.error = "resource header at offset " + std::to_string(offset) + ": " + header.Error();
      return decoding;
    }
    entry.data = std::string(bytes.substr(offset + headerSize, dataSize));
    decoding.value.push_back(std::move(entry));
    // The data is padded to a DWORD; a file may end without the last padding.
    const std::size_t next = (offset + headerSize + dataSize + 3) & ~static_cast<std::size_t>(3);
    offset = next < bytes.size() ? next : bytes.size();
  }
  return decoding;
}

ResDecoding<ResDialog> DecodeDialogTemplate(std::string_view data) {
  ResDecoding<ResDialog> decoding;
  ResDialog& dialog = decoding.value;
  TemplateReader reader(data);
  const std::uint16_t version = reader.U16("the dialog's header");
  const std::uint16_t signature = reader.U16("the dialog's header");
  dialog.extended = signature == 0xFFFF;
  if (dialog.extended && version != 1) {
    decoding.error = "DLGTEMPLATEEX version " + std::to_string(version) + " is not 1";
    return decoding;
  }
  std::uint16_t itemCount = 0;
  if (dialog.extended) {
    dialog.helpId = reader.U32("the dialog's help identifier");
    dialog.exStyle = reader.U32("the dialog's extended style");
    dialog.style = reader.U32("the dialog's style");
  } else {
    reader.Seek(0, "the dialog's header");
    dialog.style = reader.U32("the dialog's style");
    dialog.exStyle = reader.U32("the dialog's extended style");
  }
  itemCount = reader.U16("the dialog's control count");
  dialog.x = reader.I16("the dialog's x");
  dialog.y = reader.I16("the dialog's y");
  dialog.width = reader.I16("the dialog's width");
  dialog.height = reader.I16("the dialog's height");
  dialog.menu = reader.IdOrText("the dialog's menu");
  dialog.className = reader.IdOrText("the dialog's class");
  dialog.caption = reader.Text("the dialog's caption");
  if ((dialog.style & DsSetFont) != 0) {
    ResFont font;
    font.pointSize = reader.U16("the font's point size");
    if (dialog.extended) {
      font.weight = reader.U16("the font's weight");
      font.italic = reader.U8("the font's italic flag");
      font.charset = reader.U8("the font's character set");
    }
    font.face = reader.Text("the font's face");
    dialog.font = font;
  }
  for (std::uint16_t index = 0; index < itemCount && !reader.Failed(); ++index)
    dialog.items.push_back(ReadDialogItem(reader, dialog.extended));
  if (reader.Failed())
    decoding.error = reader.Error();
  return decoding;
}

ResDecoding<ResMenu> DecodeMenuTemplate(std::string_view data, MenuExHelpIdPlacement helpIdPlacement) {
  ResDecoding<ResMenu> decoding;
  ResMenu& menu = decoding.value;
  TemplateReader reader(data);
  const std::uint16_t version = reader.U16("the menu's header");
  const std::uint16_t headerSize = reader.U16("the menu's header");
  if (version > 1) {
    decoding.error = "menu template version " + std::to_string(version) + " is neither 0 nor 1";
    return decoding;
  }
  menu.extended = version == 1;
  reader.Seek(4u + headerSize, "the menu's header");

  // For each open pop-up, whether it is itself the last of its level: its
  // last item then closes its parent's level too.
  std::vector<bool> openPopups;
  bool menuEnded = false;
  while (!menuEnded && !reader.Failed()) {
    if (reader.AtEnd()) {
      decoding.error = "the menu ends inside a pop-up or before its last item";
      return decoding;
    }
    ResMenuItem item;
    item.level = static_cast<int>(openPopups.size());
    if (menu.extended) {
      reader.AlignTo4();
      item.type = reader.U32("a menu item's type");
      item.state = reader.U32("a menu item's state");
      item.id = reader.U32("a menu item's identifier");
      const std::uint16_t flags = reader.U16("a menu item's flags");
      item.text = reader.Text("a menu item's text");
      item.popup = (flags & MenuExPopup) != 0;
      item.lastInLevel = (flags & MenuExLast) != 0;
      if (item.popup) {
        if (helpIdPlacement == MenuExHelpIdPlacement::Aligned)
          reader.AlignTo4();
        item.helpId = reader.U32("a pop-up's help identifier");
      }
    } else {
      const std::uint16_t flags = reader.U16("a menu item's flags");
      item.popup = (flags & MfPopup) != 0;
      item.lastInLevel = (flags & MfEnd) != 0;
      item.type = flags & ~static_cast<std::uint32_t>(MfPopup | MfEnd);
      if (!item.popup)
        item.id = reader.U16("a menu item's identifier");
      item.text = reader.Text("a menu item's text");
    }
    if (reader.Failed())
      break;
    menu.items.push_back(item);
    if (item.popup) {
      openPopups.push_back(item.lastInLevel);
      continue;
    }
    if (!item.lastInLevel)
      continue;
    // The last item closes its level, and each enclosing level whose pop-up
    // was the last of its own.
    while (true) {
      if (openPopups.empty()) {
        menuEnded = true;
        break;
      }
      const bool popupWasLast = openPopups.back();
      openPopups.pop_back();
      if (!popupWasLast)
        break;
    }
  }
  if (reader.Failed())
    decoding.error = reader.Error();
  return decoding;
}

}  // namespace trellane
