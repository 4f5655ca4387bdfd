#include "tests/oracle/TemplateComparison.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>
#include <utility>

namespace trellane {
namespace {

constexpr std::uint32_t WsGroup = 0x00020000;
constexpr std::uint32_t WsTabStop = 0x00010000;
constexpr std::uint16_t ButtonClass = 0x80;
constexpr std::uint16_t StaticClass = 0x82;
constexpr std::uint16_t ComboBoxClass = 0x85;
constexpr std::uint32_t CbsSimple = 0x01;
constexpr std::uint32_t SsTypeMask = 0x1F;
constexpr std::uint32_t SsIcon = 0x03;
constexpr std::uint32_t BsTypeMask = 0x0F;
constexpr std::uint32_t BsRadioButton = 0x04;
constexpr std::uint32_t BsAutoRadioButton = 0x09;
constexpr std::uint32_t BsPushBox = 0x0A;
constexpr std::uint32_t WindresPushBox = 0x0C;

std::string Show(std::int64_t value) {
  std::string shown = std::to_string(value);
  if (value >= 10) {
    char hex[24];
    std::snprintf(hex, sizeof hex, " (0x%llX)", static_cast<unsigned long long>(value));
    shown += hex;
  }
  return shown;
}

std::string Show(std::string_view text) {
  std::string shown = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\t') {
      shown += "\\t";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '"' || c == '\\') {
      shown += '\\';
      shown += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

std::string Show(const ResId& id) {
  return id.isOrdinal ? "#" + std::to_string(id.ordinal) : Show(id.text);
}

std::string Show(std::span<const std::uint8_t> bytes) {
  std::string shown = "[";
  for (const std::uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    if (shown.size() > 1)
      shown += ' ';
    shown += hex;
  }
  return shown + "]";
}

std::string UpperCased(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

ResId UpperCased(ResId id) {
  id.text = UpperCased(std::move(id.text));
  return id;
}

ResId AsResId(const NameOrOrdinal& name) {
  ResId id;
  id.isOrdinal = name.IsOrdinal();
  id.ordinal = static_cast<std::uint16_t>(name.Value());  // the compilers keep the low 16 bits
  id.text = name.Text();
  return id;
}

// Records the first field in which a reading differs from the reference.
class FieldChecker {
 public:
  explicit FieldChecker(std::optional<FieldMismatch>& firstMismatch) : mismatch(firstMismatch) {}

  void Resource(std::string label) {
    resource = std::move(label);
    item.clear();
  }
  void Item(std::string label) { item = std::move(label); }
  bool Failed() const { return mismatch.has_value(); }

  bool Number(const char* field, std::int64_t reference, std::int64_t other) {
    return Same(reference == other, field, Show(reference), Show(other));
  }
  bool Flag(const char* field, bool reference, bool other) {
    return Same(reference == other, field, reference ? "yes" : "no", other ? "yes" : "no");
  }
  bool Text(const char* field, std::string_view reference, std::string_view other) {
    return Same(reference == other, field, Show(reference), Show(other));
  }
  bool Id(const char* field, const ResId& reference, const ResId& other) {
    return Same(reference == other, field, Show(reference), Show(other));
  }
  bool Bytes(const char* field, std::span<const std::uint8_t> reference, std::span<const std::uint8_t> other) {
    return Same(std::ranges::equal(reference, other), field, Show(reference), Show(other));
  }

 private:
  bool Same(bool same, const char* field, std::string reference, std::string other) {
    if (!same && !mismatch)
      mismatch = FieldMismatch{resource, item, field, std::move(reference), std::move(other)};
    return same;
  }

  std::optional<FieldMismatch>& mismatch;
  std::string resource;
  std::string item;
};

std::string ResourceLabel(const char* kind, std::size_t index, const ResEntry& header) {
  return std::string(kind) + " " + std::to_string(index + 1) + " (" + Describe(header.name) + ")";
}

void CompareHeader(const ResEntry& reference, const ResEntry& other, FieldChecker& check) {
  check.Id("name", reference.name, other.name);
  check.Number("language", reference.languageId, other.languageId);
  check.Number("characteristics", reference.characteristics, other.characteristics);
  check.Number("version", reference.version, other.version);
}

void CompareModelHeader(const ResEntry& reference, const NameOrOrdinal& name, const Language& language,
                        std::uint32_t characteristics, std::uint32_t version, FieldChecker& check) {
  // The compilers store a resource's name upper-cased.
  ResEntry model;
  model.name = UpperCased(AsResId(name));
  model.languageId = language.Id();
  model.characteristics = characteristics;
  model.version = version;
  CompareHeader(reference, model, check);
}

void CompareDialogWithModel(const CompiledDialog& compiled, const Dialog& model, FieldChecker& check) {
  const ResDialog& dialog = compiled.dialog;
  CompareModelHeader(compiled.header, model.name, model.language, model.characteristics, model.version, check);
  check.Flag("DIALOGEX", dialog.extended, model.extended);
  check.Number("style", dialog.style, model.TemplateStyle());
  check.Number("extended style", dialog.exStyle, model.exStyle);
  check.Number("x", dialog.x, model.x);
  check.Number("y", dialog.y, model.y);
  check.Number("width", dialog.width, model.width);
  check.Number("height", dialog.height, model.height);
  if (dialog.extended)
    check.Number("help id", dialog.helpId, model.helpId);
  check.Text("caption", dialog.caption, model.caption.value_or(std::string_view()));
  check.Id("class", dialog.className, model.className ? AsResId(*model.className) : ResId{});
  check.Id("menu", dialog.menu, model.menu ? AsResId(*model.menu) : ResId{});
  if (check.Flag("font", dialog.font.has_value(), model.font.has_value()) && dialog.font) {
    check.Number("font point size", dialog.font->pointSize, model.font->pointSize);
    check.Text("font face", dialog.font->face, model.font->face);
    if (dialog.extended) {
      check.Number("font weight", dialog.font->weight, model.font->weight);
      check.Number("font italic", dialog.font->italic, model.font->italic ? 1 : 0);
      check.Number("font charset", dialog.font->charset, model.font->charset);
    }
  }
  if (!check.Number("control count", static_cast<std::int64_t>(dialog.items.size()),
                    static_cast<std::int64_t>(model.controls.size())))
    return;
  for (std::size_t index = 0; index < dialog.items.size() && !check.Failed(); ++index) {
    const ResDialogItem& item = dialog.items[index];
    const Control& control = model.controls[index];
    check.Item("control " + std::to_string(index + 1) + " (id " + std::to_string(item.id) + ")");
    // A DIALOG holds 16-bit identifiers.
    check.Number("id", item.id, dialog.extended ? control.id.value : control.id.value & 0xFFFFu);
    check.Id("class", item.className, AsResId(control.className));
    check.Id("text", item.text, AsResId(control.text));
    check.Number("style", item.style, control.style);
    check.Number("extended style", item.exStyle, control.exStyle);
    check.Number("x", item.x, control.x);
    check.Number("y", item.y, control.y);
    check.Number("width", item.width, control.width);
    check.Number("height", item.height, control.height);
    if (dialog.extended)
      check.Number("help id", item.helpId, control.helpId.value_or(0));
    check.Bytes("data", item.data, control.data);
  }
}

void CompareMenuWithModel(const CompiledMenu& compiled, const Menu& model, FieldChecker& check) {
  const ResMenu& menu = compiled.menu;
  CompareModelHeader(compiled.header, model.name, model.language, model.characteristics, model.version, check);
  check.Flag("MENUEX", menu.extended, model.extended);
  if (!check.Number("item count", static_cast<std::int64_t>(menu.items.size()),
                    static_cast<std::int64_t>(model.items.size())))
    return;
  for (std::size_t index = 0; index < menu.items.size() && !check.Failed(); ++index) {
    const ResMenuItem& item = menu.items[index];
    const MenuItem& modelItem = model.items[index];
    check.Item("item " + std::to_string(index + 1) + " (" + Show(item.text) + ")");
    check.Number("level", item.level, modelItem.level);
    check.Flag("pop-up", item.popup, modelItem.kind == MenuItemKind::Popup);
    check.Text("text", item.text, modelItem.text);
    if (menu.extended)
      check.Number("id", item.id, modelItem.id.value);
    else if (!item.popup)
      check.Number("id", item.id, modelItem.id.value & 0xFFFFu);  // a MENU holds 16-bit identifiers
    check.Number(menu.extended ? "type" : "options", item.type, modelItem.type);
    if (menu.extended) {
      check.Number("state", item.state, modelItem.state);
      check.Number("help id", item.helpId, modelItem.helpId);
    }
    check.Flag("last of its level", item.lastInLevel, modelItem.lastInLevel);
  }
}

// windres's rendering of a text that llvm-rc read from an L"..." string: each
// byte of the UTF-8 form, sign-extended to 16 bits.
std::string WindresWideText(const std::string& text) {
  std::u16string units;
  for (const char c : text)
    units += static_cast<char16_t>(static_cast<std::int16_t>(static_cast<signed char>(c)));
  std::string bytes;
  for (const char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return Utf16LeToUtf8(bytes);
}

bool HasNonAscii(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80)
      return true;
  }
  return false;
}

// Compares windres's value with llvm-rc's; a difference passes when the
// listed difference explains it.
class WindresChecker {
 public:
  WindresChecker(FieldChecker& fieldChecker, std::set<WindresDifference>& seenDifferences)
      : check(fieldChecker), seen(seenDifferences) {}

  FieldChecker& Fields() { return check; }

  bool Explained(bool differs, std::optional<WindresDifference> explanation) {
    if (!differs || !explanation)
      return false;
    seen.insert(*explanation);
    return true;
  }

  void Text(const char* field, const std::string& llvmRc, const std::string& windres) {
    if (!Explained(llvmRc != windres, WideTextExplanation(llvmRc, windres)))
      check.Text(field, llvmRc, windres);
  }

  void Id(const char* field, const ResId& llvmRc, const ResId& windres, std::optional<WindresDifference> upperCase) {
    if (Explained(llvmRc != windres && UpperCased(llvmRc) == windres, upperCase))
      return;
    if (!llvmRc.isOrdinal && !windres.isOrdinal &&
        Explained(llvmRc.text != windres.text, WideTextExplanation(llvmRc.text, windres.text)))
      return;
    check.Id(field, llvmRc, windres);
  }

 private:
  static std::optional<WindresDifference> WideTextExplanation(const std::string& llvmRc, const std::string& windres) {
    if (HasNonAscii(llvmRc) && WindresWideText(llvmRc) == windres)
      return WindresDifference::WideTextBytes;
    return std::nullopt;
  }

  FieldChecker& check;
  std::set<WindresDifference>& seen;
};

std::optional<WindresDifference> ExplainControlStyle(const ResDialogItem& llvmRc, std::uint32_t windres) {
  if (llvmRc.className.IsOrdinal(StaticClass) && windres == (llvmRc.style & ~WsGroup))
    return WindresDifference::DefaultStyleBitsDroppedWithStyle;
  if (llvmRc.className.IsOrdinal(ComboBoxClass) && windres == (llvmRc.style | WsTabStop | CbsSimple))
    return WindresDifference::ComboBoxDefaultStyle;
  if (!llvmRc.className.IsOrdinal(ButtonClass))
    return std::nullopt;
  const std::uint32_t type = llvmRc.style & BsTypeMask;
  if ((type == BsRadioButton || type == BsAutoRadioButton) && windres == (llvmRc.style | WsTabStop))
    return WindresDifference::RadioButtonsTabStop;
  if (type == BsPushBox) {
    const std::uint32_t pushBox = (llvmRc.style & ~BsTypeMask) | WindresPushBox;
    if (windres == pushBox || windres == (pushBox & ~WsTabStop))
      return WindresDifference::PushBox;
  }
  if (windres == (llvmRc.style & ~WsTabStop))
    return WindresDifference::DefaultStyleBitsDroppedWithStyle;
  return std::nullopt;
}

bool IsIconControl(const ResDialogItem& item) {
  return item.className.IsOrdinal(StaticClass) && (item.style & SsTypeMask) == SsIcon;
}

bool IsPushBox(const ResDialogItem& item) {
  return item.className.IsOrdinal(ButtonClass) && (item.style & BsTypeMask) == BsPushBox;
}

void CompareWindresDialog(const CompiledDialog& llvmRc, const CompiledDialog& windres, WindresChecker& windresCheck) {
  FieldChecker& check = windresCheck.Fields();
  const ResDialog& reference = llvmRc.dialog;
  const ResDialog& other = windres.dialog;
  CompareHeader(llvmRc.header, windres.header, check);
  check.Flag("DIALOGEX", reference.extended, other.extended);
  check.Number("style", reference.style, other.style);
  check.Number("extended style", reference.exStyle, other.exStyle);
  check.Number("x", reference.x, other.x);
  check.Number("y", reference.y, other.y);
  check.Number("width", reference.width, other.width);
  check.Number("height", reference.height, other.height);
  check.Number("help id", reference.helpId, other.helpId);
  windresCheck.Text("caption", reference.caption, other.caption);
  windresCheck.Id("class", reference.className, other.className, WindresDifference::UpperCasedClassAndMenuTexts);
  windresCheck.Id("menu", reference.menu, other.menu, WindresDifference::UpperCasedClassAndMenuTexts);
  if (check.Flag("font", reference.font.has_value(), other.font.has_value()) && reference.font) {
    check.Number("font point size", reference.font->pointSize, other.font->pointSize);
    check.Text("font face", reference.font->face, other.font->face);
    check.Number("font weight", reference.font->weight, other.font->weight);
    // windres writes the italic value as given, llvm-rc writes 0 or 1.
    if (!windresCheck.Explained(
            reference.font->italic != other.font->italic && reference.font->italic == 1 && other.font->italic != 0,
            WindresDifference::ItalicAsGiven))
      check.Number("font italic", reference.font->italic, other.font->italic);
    check.Number("font charset", reference.font->charset, other.font->charset);
  }
  if (!check.Number("control count", static_cast<std::int64_t>(reference.items.size()),
                    static_cast<std::int64_t>(other.items.size())))
    return;
  for (std::size_t index = 0; index < reference.items.size() && !check.Failed(); ++index) {
    const ResDialogItem& item = reference.items[index];
    const ResDialogItem& windresItem = other.items[index];
    check.Item("control " + std::to_string(index + 1) + " (id " + std::to_string(item.id) + ")");
    check.Number("id", item.id, windresItem.id);
    windresCheck.Id("class", item.className, windresItem.className, WindresDifference::UpperCasedClassAndMenuTexts);
    // windres gives a PUSHBOX the text of an earlier control.
    if (!windresCheck.Explained(item.text != windresItem.text && IsPushBox(item), WindresDifference::PushBox))
      windresCheck.Id("text", item.text, windresItem.text,
                      IsIconControl(item) ? std::optional(WindresDifference::UpperCasedIconTexts) : std::nullopt);
    if (!windresCheck.Explained(item.style != windresItem.style, ExplainControlStyle(item, windresItem.style)))
      check.Number("style", item.style, windresItem.style);
    check.Number("extended style", item.exStyle, windresItem.exStyle);
    check.Number("x", item.x, windresItem.x);
    check.Number("y", item.y, windresItem.y);
    const std::optional<WindresDifference> iconSize =
        IsIconControl(item) ? std::optional(WindresDifference::IconSizeDropped) : std::nullopt;
    if (!windresCheck.Explained(item.width != windresItem.width && windresItem.width == 0, iconSize))
      check.Number("width", item.width, windresItem.width);
    if (!windresCheck.Explained(item.height != windresItem.height && windresItem.height == 0, iconSize))
      check.Number("height", item.height, windresItem.height);
    check.Number("help id", item.helpId, windresItem.helpId);
    check.Bytes("data", item.data, windresItem.data);
  }
}

// windres writes a MENUEX as a MENU when nothing in it needs MENUEX: no
// state, no help identifier, no pop-up identifier.
bool FitsPlainMenu(const ResMenu& menu) {
  for (const ResMenuItem& item : menu.items) {
    if (item.state != 0 || item.helpId != 0 || (item.popup && item.id != 0) || item.id > 0xFFFF)
      return false;
  }
  return true;
}

void CompareWindresMenu(const CompiledMenu& llvmRc, const CompiledMenu& windres, WindresChecker& windresCheck) {
  FieldChecker& check = windresCheck.Fields();
  const ResMenu& reference = llvmRc.menu;
  const ResMenu& other = windres.menu;
  CompareHeader(llvmRc.header, windres.header, check);
  const bool asMenu = reference.extended && !other.extended;
  if (!windresCheck.Explained(asMenu && FitsPlainMenu(reference), WindresDifference::MenuExWrittenAsMenu))
    check.Flag("MENUEX", reference.extended, other.extended);
  if (!check.Number("item count", static_cast<std::int64_t>(reference.items.size()),
                    static_cast<std::int64_t>(other.items.size())))
    return;
  for (std::size_t index = 0; index < reference.items.size() && !check.Failed(); ++index) {
    const ResMenuItem& item = reference.items[index];
    const ResMenuItem& windresItem = other.items[index];
    check.Item("item " + std::to_string(index + 1) + " (" + Show(item.text) + ")");
    check.Number("level", item.level, windresItem.level);
    check.Flag("pop-up", item.popup, windresItem.popup);
    windresCheck.Text("text", item.text, windresItem.text);
    check.Number("id", item.id, windresItem.id);
    check.Number("type", item.type, windresItem.type);
    check.Number("state", item.state, windresItem.state);
    check.Number("help id", item.helpId, windresItem.helpId);
    check.Flag("last of its level", item.lastInLevel, windresItem.lastInLevel);
  }
}

}  // namespace

ResDecoding<CompiledScript> DecodeCompiledScript(std::string_view res, MenuExHelpIdPlacement helpIdPlacement) {
  ResDecoding<CompiledScript> decoding;
  ResDecoding<std::vector<ResEntry>> entries = DecodeResFile(res);
  if (!entries.Ok()) {
    decoding.error = entries.error;
    return decoding;
  }
  for (ResEntry& entry : entries.value) {
    const std::string label = Describe(entry.type) + " resource " + Describe(entry.name) + ": ";
    if (entry.type.IsOrdinal(ResTypeDialog)) {
      ResDecoding<ResDialog> dialog = DecodeDialogTemplate(entry.data);
      if (!dialog.Ok()) {
        decoding.error = label + dialog.error;
        return decoding;
      }
      entry.data.clear();
      decoding.value.dialogs.push_back({std::move(entry), std::move(dialog.value)});
    } else if (entry.type.IsOrdinal(ResTypeMenu)) {
      ResDecoding<ResMenu> menu = DecodeMenuTemplate(entry.data, helpIdPlacement);
      if (!menu.Ok()) {
        decoding.error = label + menu.error;
        return decoding;
      }
      entry.data.clear();
      decoding.value.menus.push_back({std::move(entry), std::move(menu.value)});
    }
  }
  return decoding;
}

std::string Describe(const FieldMismatch& mismatch, std::string_view referenceName, std::string_view otherName) {
  std::string text = mismatch.resource;
  if (!mismatch.item.empty())
    text += ", " + mismatch.item;
  text += ": " + mismatch.field + ": " + std::string(referenceName) + " " + mismatch.reference + ", " +
          std::string(otherName) + " " + mismatch.other;
  return text;
}

std::vector<ResourceComparison> CompareEachWithModel(const ResourceScript& model, const CompiledScript& reference) {
  std::vector<ResourceComparison> comparisons;
  const auto compare = [&](const char* kind, const auto& compiled, const auto& read, const auto& compareOne) {
    for (std::size_t index = 0; index < compiled.size(); ++index) {
      ResourceComparison& comparison = comparisons.emplace_back();
      comparison.kind = kind;
      FieldChecker check(comparison.mismatch);
      check.Resource(ResourceLabel(kind, index, compiled[index].header));
      if (index < read.size())
        compareOne(compiled[index], read[index], check);
      else
        check.Number("count", static_cast<std::int64_t>(compiled.size()), static_cast<std::int64_t>(read.size()));
    }
  };
  compare("dialog", reference.dialogs, model.dialogs, CompareDialogWithModel);
  compare("menu", reference.menus, model.menus, CompareMenuWithModel);
  return comparisons;
}

std::optional<FieldMismatch> CompareWithModel(const ResourceScript& model, const CompiledScript& reference) {
  std::optional<FieldMismatch> mismatch;
  FieldChecker check(mismatch);
  check.Resource("script");
  check.Number("dialog count", static_cast<std::int64_t>(reference.dialogs.size()),
               static_cast<std::int64_t>(model.dialogs.size()));
  check.Number("menu count", static_cast<std::int64_t>(reference.menus.size()),
               static_cast<std::int64_t>(model.menus.size()));
  for (ResourceComparison& comparison : CompareEachWithModel(model, reference)) {
    if (!mismatch)
      mismatch = std::move(comparison.mismatch);
  }
  return mismatch;
}

std::span<const WindresDifferenceInfo> WindresDifferences() {
  static const WindresDifferenceInfo differences[] = {
      {WindresDifference::UpperCasedClassAndMenuTexts, "class and menu texts upper-cased"},
      {WindresDifference::UpperCasedIconTexts, "ICON texts upper-cased"},
      {WindresDifference::IconSizeDropped, "ICON width and height dropped"},
      {WindresDifference::DefaultStyleBitsDroppedWithStyle, "WS_GROUP or WS_TABSTOP dropped when a style is given"},
      {WindresDifference::RadioButtonsTabStop, "WS_TABSTOP in radio buttons"},
      {WindresDifference::ComboBoxDefaultStyle, "COMBOBOX default style CBS_SIMPLE | WS_TABSTOP"},
      {WindresDifference::PushBox, "PUSHBOX type 0x0C and an earlier control's text"},
      {WindresDifference::MenuExWrittenAsMenu, "MENUEX written as MENU"},
      {WindresDifference::WideTextBytes, "non-ASCII in L\"...\" read byte by byte"},
      {WindresDifference::ItalicAsGiven, "FONT italic value as given"},
  };
  return differences;
}

namespace {

// windres orders a file's resources by type, name and language; llvm-rc
// keeps the script's order. Resources are matched by name and language.
template <typename Compiled>
const Compiled* FindResource(const std::vector<Compiled>& resources, const ResEntry& header) {
  for (const Compiled& resource : resources) {
    if (resource.header.name == header.name && resource.header.languageId == header.languageId)
      return &resource;
  }
  return nullptr;
}

}  // namespace

WindresComparison CompareWindresWithLlvmRc(const CompiledScript& llvmRc, const CompiledScript& windres) {
  WindresComparison comparison;
  FieldChecker check(comparison.unexplained);
  WindresChecker windresCheck(check, comparison.seen);
  check.Resource("script");
  check.Number("dialog count", static_cast<std::int64_t>(llvmRc.dialogs.size()),
               static_cast<std::int64_t>(windres.dialogs.size()));
  check.Number("menu count", static_cast<std::int64_t>(llvmRc.menus.size()),
               static_cast<std::int64_t>(windres.menus.size()));
  for (std::size_t index = 0; index < llvmRc.dialogs.size() && !check.Failed(); ++index) {
    const CompiledDialog& dialog = llvmRc.dialogs[index];
    check.Resource(ResourceLabel("dialog", index, dialog.header));
    if (const CompiledDialog* match = FindResource(windres.dialogs, dialog.header))
      CompareWindresDialog(dialog, *match, windresCheck);
    else
      check.Flag("present", true, false);
  }
  for (std::size_t index = 0; index < llvmRc.menus.size() && !check.Failed(); ++index) {
    const CompiledMenu& menu = llvmRc.menus[index];
    check.Resource(ResourceLabel("menu", index, menu.header));
    if (const CompiledMenu* match = FindResource(windres.menus, menu.header))
      CompareWindresMenu(menu, *match, windresCheck);
    else
      check.Flag("present", true, false);
  }
  return comparison;
}

}  // namespace trellane
