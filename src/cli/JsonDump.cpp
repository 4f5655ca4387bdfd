#include "cli/JsonDump.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "app/Converters.h"
#include "radasm/DialogImageText.h"
#include "radasm/DialogRecordFile.h"
#include "radasm/MenuImageText.h"
#include "radasm/MenuRecordFile.h"
#include "radasm/MenuShortcut.h"
#include "script/LanguageCodePage.h"
#include "script/SourceText.h"

namespace trellane {
namespace {

std::string TextSlot(const Image& image, std::size_t offset, std::size_t width, int codePage) {
  std::string utf8;
  std::size_t invalid = 0;
  AppendFromCodePage(utf8, LoadText(image, offset, width), codePage, invalid);
  return utf8;
}

std::int32_t Signed32(std::uint32_t value) {
  return static_cast<std::int32_t>(value);
}

std::int16_t Signed16(std::uint32_t value) {
  return static_cast<std::int16_t>(value);
}

// The pieces of the table's flags column: names, and 0xNN for bits without one.
Json FlagNameList(std::uint32_t flags) {
  Json names = Json::array();
  if (flags == 0)
    return names;
  const std::string joined = MenuFlagNames(flags);
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t end = joined.find('|', start);
    if (end == std::string::npos)
      end = joined.size();
    names.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

Json MenuItemJson(const Image& image, std::size_t index, int codePage) {
  const std::size_t record = MenuItemOffset(index);
  const std::uint32_t flags = LoadU16(image, record + MenuItemRecord::flags);
  const std::uint32_t shortcut = LoadU16(image, record + MenuItemRecord::shortcut);
  Json item;
  item["index"] = index;
  item["tag"] = image[record + MenuItemRecord::itemTag];
  item["name"] =
      TextSlot(image, record + MenuItemRecord::identifierName, MenuItemRecord::identifierNameWidth, codePage);
  item["id"] = Signed32(LoadU32(image, record + MenuItemRecord::identifier));
  item["caption"] = TextSlot(image, record + MenuItemRecord::caption, MenuItemRecord::captionWidth, codePage);
  item["level"] = Signed16(LoadU16(image, record + MenuItemRecord::level));
  item["flags"] = flags;
  item["flagNames"] = FlagNameList(flags);
  item["shortcut"] = {{"code", shortcut}, {"text", shortcut == 0 ? std::string() : ShortcutText(shortcut)}};
  return item;
}

Json ControlRecordJson(const Image& image, std::size_t record, int codePage) {
  const std::uint32_t typeIndex = LoadU32(image, record + ControlRecord::typeIndex);
  const std::string_view typeName = ControlTypeName(typeIndex);
  Json control;
  control["name"] =
      TextSlot(image, record + ControlRecord::identifierName, ControlRecord::identifierNameWidth, codePage);
  control["id"] = Signed32(LoadU32(image, record + ControlRecord::identifier));
  control["text"] = TextSlot(image, record + ControlRecord::text, ControlRecord::textWidth, codePage);
  control["style"] = LoadU32(image, record + ControlRecord::style);
  control["exStyle"] = LoadU32(image, record + ControlRecord::exStyle);
  control["x"] = Signed32(LoadU32(image, record + ControlRecord::x));
  control["y"] = Signed32(LoadU32(image, record + ControlRecord::y));
  control["width"] = Signed32(LoadU32(image, record + ControlRecord::width));
  control["height"] = Signed32(LoadU32(image, record + ControlRecord::height));
  control["typeIndex"] = typeIndex;
  control["typeCode"] = LoadU32(image, record + ControlRecord::typeCode);
  control["typeName"] = typeName.empty() ? Json() : Json(typeName);
  control["ordinal"] = LoadU16(image, record + ControlRecord::ordinal);
  control["marker"] = LoadU16(image, record + ControlRecord::marker);
  return control;
}

Json NameOrNull(std::string_view text) {
  return text.empty() ? Json() : Json(std::string(text));
}

Json ResourceJson(const char* kind, const NameOrOrdinal& name, const Language& language, const SourceLocation& location,
                  const SourceFiles& files) {
  Json resource;
  resource["kind"] = kind;
  resource["name"] = ResourceDisplayName(name);
  resource["id"] = name.IsOrdinal() ? Json(name.Value() & 0xFFFF) : Json();
  resource["symbol"] = name.IsOrdinal() ? NameOrNull(name.Symbol()) : Json();
  resource["language"] = language.Id();
  resource["file"] = location.file < files.Size() ? files[location.file].path : std::string();
  resource["line"] = location.line;
  return resource;
}

}  // namespace

std::optional<Json> MenuImageJson(const Image& image, int codePage) {
  if (image.size() < MenuHeader::Size)
    return std::nullopt;
  const std::size_t count = (image.size() - MenuHeader::Size) / MenuItemRecord::Size;
  Json document;
  document["kind"] = "menu";
  document["size"] = image.size();
  document["codePage"] = codePage;
  document["header"] = {
      {"resourceName", TextSlot(image, MenuHeader::resourceName, MenuHeader::resourceNameWidth, codePage)},
      {"resourceId", Signed32(LoadU32(image, MenuHeader::resourceId))},
      {"followingId", LoadU16(image, MenuHeader::followingId)},
      {"fixedValue", LoadU16(image, MenuHeader::fixedValue)},
  };
  document["itemCount"] = count;
  Json items = Json::array();
  for (std::size_t i = 0; i < count; ++i)
    items.push_back(MenuItemJson(image, i, codePage));
  document["items"] = std::move(items);
  document["trailingBytes"] = (image.size() - MenuHeader::Size) % MenuItemRecord::Size;
  return document;
}

std::optional<Json> DialogImageJson(const Image& image, int codePage) {
  if (image.size() < FirstControlOffset)
    return std::nullopt;
  const std::size_t count = (image.size() - FirstControlOffset) / ControlRecord::Size;
  Json document;
  document["kind"] = "dialog";
  document["size"] = image.size();
  document["codePage"] = codePage;
  document["header"] = {
      {"formatTag", LoadU32(image, DialogHeader::formatTag)},
      {"className", TextSlot(image, DialogHeader::className, DialogHeader::classNameWidth, codePage)},
      {"menuName", TextSlot(image, DialogHeader::menuName, DialogHeader::menuNameWidth, codePage)},
      {"followingId", LoadU16(image, DialogHeader::followingId)},
      {"font",
       {{"face", TextSlot(image, DialogHeader::fontFace, DialogHeader::fontFaceWidth, codePage)},
        {"pointSize", LoadU16(image, DialogHeader::pointSize)},
        {"height", Signed32(LoadU32(image, DialogHeader::fontHeight))},
        {"weight", LoadU16(image, DialogHeader::fontWeight)}}},
  };
  document["controlCount"] = count;
  document["window"] = ControlRecordJson(image, DialogWindowOffset, codePage);
  Json controls = Json::array();
  for (std::size_t i = 0; i < count; ++i) {
    Json control{{"index", i}};
    control.update(ControlRecordJson(image, ControlOffset(i), codePage));
    controls.push_back(std::move(control));
  }
  document["controls"] = std::move(controls);
  document["trailingBytes"] = (image.size() - FirstControlOffset) % ControlRecord::Size;
  return document;
}

Json ResourceListJson(const ScriptReading& reading, std::optional<int> outputCodePage) {
  Json resources = Json::array();
  for (const ResourceEntry& entry : reading.resources.order) {
    if (entry.kind == ResourceKind::Menu && entry.index < reading.resources.menus.size()) {
      const Menu& menu = reading.resources.menus[entry.index];
      Json resource =
          ResourceJson(menu.extended ? "MENUEX" : "MENU", menu.name, menu.language, menu.location, reading.files);
      resource["codePage"] = outputCodePage.value_or(AnsiCodePage(menu.language));
      resource["itemCount"] = menu.items.size();
      resources.push_back(std::move(resource));
    } else if (entry.kind == ResourceKind::Dialog && entry.index < reading.resources.dialogs.size()) {
      const Dialog& dialog = reading.resources.dialogs[entry.index];
      Json resource = ResourceJson(dialog.extended ? "DIALOGEX" : "DIALOG", dialog.name, dialog.language,
                                   dialog.location, reading.files);
      resource["codePage"] = outputCodePage.value_or(AnsiCodePage(dialog.language));
      resource["controlCount"] = dialog.controls.size();
      resources.push_back(std::move(resource));
    }
  }
  Json document;
  document["script"] = reading.files.Size() > 0 ? reading.files[0].path : std::string();
  document["resources"] = std::move(resources);
  return document;
}

std::string JsonText(const Json& document) {
  // Texts are UTF-8 already; a stray byte must not stop the output.
  return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace trellane
