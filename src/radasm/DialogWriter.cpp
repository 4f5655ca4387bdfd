#include "radasm/DialogWriter.h"

#include <string>

#include "metrics/DialogUnits.h"
#include "metrics/WindowStyles.h"
#include "radasm/DialogRecordFile.h"

namespace trellane {
namespace {

// The class names of the predefined classes 0x80 to 0x85.
constexpr std::string_view PredefinedClassNames[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};

// The class and the text of a control are mostly names from the script:
// they are viewed in place, and only a number is spelled out, into spelled.
std::string_view ClassText(const NameOrOrdinal& className, std::string& spelled) {
  if (!className.IsOrdinal())
    return className.Text();
  if (className.Value() >= 0x80 && className.Value() <= 0x85)
    return PredefinedClassNames[className.Value() - 0x80];
  spelled = "#" + std::to_string(className.Value());
  return spelled;
}

// A control's text: its caption, or for a resource named by number (an
// ICON's image) the macro written for it or the number.
std::string_view ControlText(const NameOrOrdinal& text, std::string& spelled) {
  if (!text.IsOrdinal())
    return text.Text();
  if (!text.Symbol().empty())
    return text.Symbol();
  spelled = std::to_string(text.Value() & 0xFFFF);
  return spelled;
}

class DialogWriting {
 public:
  DialogWriting(const Dialog& dialogModel, const DialogWriterOptions& writerOptions)
      : dialog(dialogModel), options(writerOptions), writer(writerOptions.writer) {}

  Image Run();

 private:
  void Warn(const SourceLocation& location, const std::string& message) const {
    if (writer.warn)
      writer.warn(location, message);
  }
  DialogBaseUnits BaseUnits();
  void StoreDialogWindow(DialogBaseUnits units);
  void StoreControl(std::size_t index, const Control& control, DialogBaseUnits units);
  void StoreText(std::size_t offset, std::size_t width, std::string_view utf8, const SourceLocation& location,
                 std::string_view what) {
    StoreSlotText(image, offset, width, OutputText(utf8, writer, location, converted), writer, location, what);
  }

  const Dialog& dialog;
  const DialogWriterOptions& options;
  const WriterOptions& writer;
  Image image;
  std::string converted;  // a text that is not ASCII, in the output code page
};

Image DialogWriting::Run() {
  image = ZeroedImage(DialogImageSize(dialog.controls.size()));
  StoreU32(image, DialogHeader::formatTag, DialogHeader::FormatTag);
  const DialogBaseUnits units = BaseUnits();
  StoreDialogWindow(units);
  for (std::size_t i = 0; i < dialog.controls.size(); ++i)
    StoreControl(i, dialog.controls[i], units);
  return std::move(image);
}

DialogBaseUnits DialogWriting::BaseUnits() {
  DisplayMetrics& metrics = *options.metrics;
  const DialogBaseUnits systemUnits = SplitDialogBaseUnits(metrics.SystemDialogBaseUnits());
  if (!dialog.font)
    return systemUnits;
  const Font& font = *dialog.font;
  FontDescription description;
  description.face = OutputText(font.face, writer, dialog.location, converted);
  if (description.face.size() > DialogHeader::fontFaceWidth - 1) {
    Warn(dialog.location,
         "FONT face name is longer than 31 characters; it is cut to \"" + description.face.substr(0, 31) + "\"");
    description.face.resize(DialogHeader::fontFaceWidth - 1);
  }
  const std::int32_t pixelsPerInch = metrics.VerticalPixelsPerInch();
  description.height = FontHeightForPoints(font.pointSize, pixelsPerInch);
  description.weight = font.weight;
  description.italic = font.italic;

  StoreU16(image, DialogHeader::pointSize, font.pointSize);
  StoreU32(image, DialogHeader::fontHeight, static_cast<std::uint32_t>(description.height));
  trellane::StoreText(image, DialogHeader::fontFace, DialogHeader::fontFaceWidth, description.face);
  StoreU16(image, DialogHeader::fontWeight, font.weight);

  if (description.height >= 0) {
    Warn(dialog.location, "FONT point size " + std::to_string(font.pointSize) +
                              " gives no font height; the system's base units are used");
    return systemUnits;
  }
  Diagnostics measuring;
  const FontMeasurement measurement = metrics.MeasureFont(description, measuring);
  for (const Diagnostic& diagnostic : measuring)
    Warn(dialog.location, diagnostic.message);
  const DialogBaseUnits units = BaseUnitsOfFont(measurement);
  if (units.baseX <= 0 || units.baseY <= 0) {
    Warn(dialog.location, "the font \"" + description.face + "\" measured no size; the system's base units are used");
    return systemUnits;
  }
  return units;
}

void DialogWriting::StoreDialogWindow(DialogBaseUnits units) {
  constexpr std::size_t record = DialogWindowOffset;
  const std::uint32_t identifier = dialog.name.IsOrdinal() ? dialog.name.Value() : 0;
  if (!dialog.name.IsOrdinal())
    Warn(dialog.location,
         "the dialog's name " + std::string(dialog.name.Text()) + " is no number (it has no #define); identifier 0");
  StoreU32(image, record + ControlRecord::identifier, identifier);
  StoreText(record + ControlRecord::identifierName, ControlRecord::identifierNameWidth, RecordName(dialog.name),
            dialog.location, "dialog name");
  StoreU16(image, DialogHeader::followingId, identifier + 1);

  // The style the compilers give the window, with DS_SETFONT as the STYLE
  // statement wrote it: the compilers set or clear it after the FONT
  // statement, while RadASM keeps the font apart.
  const std::uint32_t written = dialog.style ? dialog.style->value : 0;
  const std::uint32_t style = (dialog.TemplateStyle() & ~DS_SETFONT) | (written & DS_SETFONT);
  StoreU32(image, record + ControlRecord::style, style);
  StoreU32(image, record + ControlRecord::exStyle, dialog.exStyle);
  if (dialog.helpId != 0)
    Warn(dialog.location, "the DIALOGEX help identifier has no place in the dialog record file; it is not stored");

  const WindowStyle window = DialogWindowStyle(style, dialog.exStyle);
  const FrameSize frame = options.metrics->WindowFrame(window.style, window.exStyle, dialog.menu.has_value());
  StoreU32(image, record + ControlRecord::x, static_cast<std::uint32_t>(HorizontalPixels(dialog.x, units)));
  StoreU32(image, record + ControlRecord::y, static_cast<std::uint32_t>(VerticalPixels(dialog.y, units)));
  StoreU32(image, record + ControlRecord::width,
           static_cast<std::uint32_t>(HorizontalPixels(dialog.width, units) + frame.extraWidth));
  StoreU32(image, record + ControlRecord::height,
           static_cast<std::uint32_t>(VerticalPixels(dialog.height, units) + frame.extraHeight));

  if (dialog.caption)
    StoreText(record + ControlRecord::text, ControlRecord::textWidth, *dialog.caption, dialog.location, "CAPTION");
  if (dialog.className) {
    std::string spelled;
    StoreText(DialogHeader::className, DialogHeader::classNameWidth, ClassText(*dialog.className, spelled),
              dialog.location, "CLASS");
  }
  if (dialog.menu) {
    MenuNameSlot slot{};
    if (options.requestMenuName)
      options.requestMenuName(slot);
    slot.back() = '\0';
    trellane::StoreText(image, DialogHeader::menuName, DialogHeader::menuNameWidth, std::string_view(slot.data()));
  }
}

void DialogWriting::StoreControl(std::size_t index, const Control& control, DialogBaseUnits units) {
  const std::size_t record = ControlOffset(index);
  StoreU16(image, record + ControlRecord::marker, ControlRecord::ControlMarker);
  StoreU16(image, record + ControlRecord::ordinal, static_cast<std::uint32_t>(index));
  StoreU32(image, record + ControlRecord::identifier, control.id.value);
  StoreText(record + ControlRecord::identifierName, ControlRecord::identifierNameWidth, control.id.symbol,
            control.location, "identifier");
  StoreU32(image, record + ControlRecord::style, control.style);
  StoreU32(image, record + ControlRecord::exStyle, control.exStyle);
  StoreU32(image, record + ControlRecord::x, static_cast<std::uint32_t>(HorizontalPixels(control.x, units)));
  StoreU32(image, record + ControlRecord::y, static_cast<std::uint32_t>(VerticalPixels(control.y, units)));
  StoreU32(image, record + ControlRecord::width, static_cast<std::uint32_t>(HorizontalPixels(control.width, units)));
  StoreU32(image, record + ControlRecord::height, static_cast<std::uint32_t>(VerticalPixels(control.height, units)));
  if (control.helpId)
    Warn(control.location, "the control's help identifier has no place in the dialog record file; it is not stored");

  std::string spelledClass;
  const std::string_view className = ClassText(control.className, spelledClass);
  const ControlClass* row = LookUpControlClass(className);
  std::uint32_t typeIndex = UserDefinedControl.typeIndex;
  std::uint32_t typeCode = UserDefinedControl.typeCode;
  if (row) {
    typeIndex = row->typeIndex;
    typeCode = row->typeCode;
    if (row->name == "button") {
      const std::uint32_t type = control.style & BS_TYPEMASK;
      if (type == BS_GROUPBOX)
        typeIndex = typeCode = 3;
      else if (type == 2 || type == 3 || type == 5 || type == 6)  // check boxes and three-state boxes
        typeIndex = typeCode = 5;
      else if (type == 4 || type == 9)  // radio buttons
        typeIndex = typeCode = 6;
    } else if (row->name == "static") {
      const std::uint32_t type = control.style & SS_TYPEMASK;
      if (type == SS_ICON)
        typeIndex = typeCode = 17;
      else if (type == SS_SIMPLE || type == SS_ETCHEDHORZ)
        typeIndex = typeCode = 25;
    }
  }
  StoreU32(image, record + ControlRecord::typeIndex, typeIndex);
  StoreU32(image, record + ControlRecord::typeCode, typeCode);

  std::string spelledText;
  std::string_view text = ControlText(control.text, spelledText);
  if (typeIndex == UserDefinedControl.typeIndex && typeCode == UserDefinedControl.typeCode) {
    if (!row)
      Warn(control.location,
           "class \"" + std::string(className) + "\" is not one RadASM knows; it is stored as a user-defined control");
    if (!text.empty() && text != className)
      Warn(control.location,
           "the text \"" + std::string(text) + "\" of a user-defined control gives way to its class name");
    text = className;
  }
  StoreText(record + ControlRecord::text, ControlRecord::textWidth, text, control.location, "control text");
}

}  // namespace

Image WriteDialogFile(const Dialog& dialog, const DialogWriterOptions& options) {
  return DialogWriting(dialog, options).Run();
}

}  // namespace trellane
