#include "dialog/DialogConverter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "radasm/DialogRecordFile.h"
#include "metrics/DialogUnits.h"
#include "dialog/PlainControl.h"
#include "dialog/StatementFields.h"
#include "text/DefineTable.h"
#include "text/NumberField.h"
#include "text/ScriptScan.h"

namespace trellane {
namespace {

constexpr std::string_view DialogKeyword = "DIALOGEX";
constexpr std::string_view ControlKeyword = "CONTROL";

// Button and static styles that RadASM shows as types of their own.
constexpr std::uint32_t BS_TYPEMASK = 0x0F;
constexpr std::uint32_t BS_GROUPBOX = 0x07;
constexpr std::uint32_t SS_TYPEMASK = 0x1F;
constexpr std::uint32_t SS_ICON = 0x03;
constexpr std::uint32_t SS_SIMPLE = 0x0B;
constexpr std::uint32_t SS_ETCHEDHORZ = 0x10;

// Converts one dialog: keeps the script, the image and the warnings together.
class DialogConversion {
 public:
  DialogConversion(std::string_view scriptText, DisplayMetrics& displayMetrics, const MenuNameRequest& request)
      : script(scriptText),
        metrics(displayMetrics),
        requestMenuName(request),
        defines(scriptText),
        plainControls(scriptText) {}

  ConverterResult Run();

 private:
  struct HeadStatement {
    std::size_t keyword = 0;  // index of the keyword
    std::size_t valueStart = 0;
    std::size_t valueEnd = 0;
    bool found = false;
  };

  struct DialogHead {
    HeadStatement caption, className, style, exStyle, font, menu;
  };
  std::optional<ResourceBlock> ReadBlock(DialogHead& head);
  void ReadHeadLine(const ScriptLine& line, DialogHead& head);
  void ReadBodyLine(const ScriptLine& line);
  DialogBaseUnits ComputeDialogBaseUnits(const HeadStatement& font);
  void FillDialogWindow(const ResourceBlock& block, const DialogHead& head, DialogBaseUnits units);
  void FillControl(std::size_t index, std::size_t keyword, DialogBaseUnits units);
  void ReadControlFields(std::size_t keyword, ControlStatement& control);
  void StoreControl(std::size_t index, const ControlStatement& control, DialogBaseUnits units);

  std::string_view QuotedValue(const HeadStatement& statement, std::string_view what);
  std::uint32_t FlagsValue(const Field& field, std::string_view what);
  std::int32_t NumberValue(const Field& field, std::string_view what);
  void StoreCutText(std::size_t offset, std::size_t width, std::string_view text, std::size_t position,
                    std::string_view what);

  std::string_view script;
  DisplayMetrics& metrics;
  const MenuNameRequest& requestMenuName;
  DefineTable defines;
  PlainControlReader plainControls;
  ConverterResult result;
  std::vector<std::size_t> controlKeywords;
  std::string textBuffer;
  std::string classNameBuffer;

  // The rows of the last few class fields: a dialog names few classes, and
  // looking one up in the class table costs more than comparing texts.
  struct KnownClass {
    std::string field;
    const ControlClass* row = nullptr;
  };
  std::array<KnownClass, 4> knownClasses;
  std::size_t nextKnownClass = 0;
  const ControlClass* ClassRow(std::string_view classField);
};

ConverterResult DialogConversion::Run() {
  DialogHead head;
  const std::optional<ResourceBlock> block = ReadBlock(head);
  if (!block)
    return std::move(result);
  result.keywordFound = true;

  result.recordCount = controlKeywords.size();
  result.image = ZeroedImage(DialogImageSize(controlKeywords.size()));
  StoreU32(result.image, DialogHeader::formatTag, DialogHeader::FormatTag);

  const DialogBaseUnits units = ComputeDialogBaseUnits(head.font);
  FillDialogWindow(*block, head, units);
  for (std::size_t i = 0; i < controlKeywords.size(); ++i)
    FillControl(i, controlKeywords[i], units);

  if (block->closed) {
    LineWalker walker(script, block->bodyEnd);
    ScriptLine endLine;
    walker.Next(endLine);
    if (const auto another = FindKeyword(script, DialogKeyword, endLine.next))
      Warn(result.diagnostics, *another, "a further DIALOGEX resource is not converted; only the first one is");
  }
  return std::move(result);
}

// Finds the dialog and walks its head and its BEGIN ... END block once,
// taking the head's statements and the positions of the CONTROL statements.
std::optional<ResourceBlock> DialogConversion::ReadBlock(DialogHead& head) {
  const auto block = WalkResourceBlock(
      script, DialogKeyword, [&](const ScriptLine& line) { ReadHeadLine(line, head); },
      [&](const ScriptLine& line, int) { ReadBodyLine(line); });
  if (!block)
    return std::nullopt;
  if (!block->hasBegin)
    Warn(result.diagnostics, block->keyword, "DIALOGEX has no BEGIN; the dialog has no controls");
  else if (!block->closed)
    Warn(result.diagnostics, block->keyword,
         "the BEGIN of the DIALOGEX has no END; controls are read to the end of the script");
  return block;
}

void DialogConversion::ReadHeadLine(const ScriptLine& line, DialogHead& head) {
  struct Keyword {
    std::string_view word;
    HeadStatement DialogHead::*statement;
  };
  static constexpr std::array<Keyword, 6> Keywords{{
      {"CAPTION", &DialogHead::caption},
      {"CLASS", &DialogHead::className},
      {"STYLE", &DialogHead::style},
      {"EXSTYLE", &DialogHead::exStyle},
      {"FONT", &DialogHead::font},
      {"MENU", &DialogHead::menu},
  }};
  const std::string_view word = LeadingWord(script, line);
  for (const Keyword& keyword : Keywords) {
    if (word != keyword.word)
      continue;
    HeadStatement& statement = head.*keyword.statement;
    if (!StartsStatement(script, line, keyword.word)) {
      Warn(result.diagnostics, line.codeStart, std::string(word) + " has no value; the statement is ignored");
    } else if (statement.found) {
      Warn(result.diagnostics, line.codeStart,
           "a second " + std::string(word) + " statement is ignored; the first one is used");
    } else {
      statement.found = true;
      statement.keyword = line.codeStart;
      statement.valueStart = line.codeStart + word.size();
      statement.valueEnd = line.codeEnd;
    }
    return;
  }
}

void DialogConversion::ReadBodyLine(const ScriptLine& line) {
  if (line.codeStart >= line.codeEnd)
    return;
  if (StartsStatement(script, line, ControlKeyword)) {
    controlKeywords.push_back(line.codeStart);
    return;
  }
  const std::string_view word = LeadingWord(script, line);
  if (word == ControlKeyword)
    Warn(result.diagnostics, line.codeStart, "CONTROL without fields gives no control");
  else if (!word.empty())
    Warn(result.diagnostics, line.codeStart, std::string(word) + " is not a CONTROL statement; it is not converted");
  else
    Warn(result.diagnostics, line.codeStart, "this line is not a CONTROL statement; it is not converted");
}

DialogBaseUnits DialogConversion::ComputeDialogBaseUnits(const HeadStatement& font) {
  const DialogBaseUnits systemUnits = SplitDialogBaseUnits(metrics.SystemDialogBaseUnits());
  if (!font.found)
    return systemUnits;

  const auto fields = SplitFields<6>(script, font.valueStart, font.valueEnd);
  if (fields.count < 2)
    Warn(result.diagnostics, font.keyword, "FONT needs a point size and a face name");
  if (fields.count > 5)
    Warn(result.diagnostics, fields.At(5, font.keyword).position,
         "FONT has more than five fields; the rest is ignored");

  const Field sizeField = fields.At(0, font.keyword);
  std::uint32_t pointSize = 0;
  if (const auto value = ParseIntegerLiteral(sizeField.text))
    pointSize = *value;
  else
    Warn(result.diagnostics, sizeField.position,
         "FONT point size '" + std::string(sizeField.text) + "' is not a number");
  if (pointSize > 0xFFFF) {
    Warn(result.diagnostics, sizeField.position,
         "FONT point size " + std::to_string(pointSize) + " does not fit its 16-bit field; " +
             std::to_string(pointSize & 0xFFFF) + " is used");
    pointSize &= 0xFFFF;
  }

  const Field faceField = fields.At(1, font.keyword);
  std::string_view face;
  const QuoteForm faceForm = Unquote(faceField.text, textBuffer, face);
  if (faceForm != QuoteForm::Quoted && !faceField.text.empty())
    Warn(result.diagnostics, faceField.position, "FONT face name is not a quoted text; it is taken as written");
  FontDescription description;
  description.face = face;
  if (description.face.size() > DialogHeader::fontFaceWidth - 1) {
    Warn(result.diagnostics, faceField.position,
         "FONT face name is longer than 31 characters; it is cut to \"" + description.face.substr(0, 31) + "\"");
    description.face.resize(DialogHeader::fontFaceWidth - 1);
  }

  std::int32_t weight = 0;
  const Field weightField = fields.At(2, font.keyword);
  if (!weightField.text.empty()) {
    if (const auto value = ParseIntegerLiteral(weightField.text))
      weight = static_cast<std::int32_t>(*value);
    else
      Warn(result.diagnostics, weightField.position,
           "FONT weight '" + std::string(weightField.text) + "' is not a number; weight 0");
  }

  const std::int32_t pixelsPerInch = metrics.VerticalPixelsPerInch();
  description.height = FontHeightForPoints(static_cast<std::int32_t>(pointSize), pixelsPerInch);
  description.weight = weight;

  StoreU16(result.image, DialogHeader::pointSize, pointSize);
  StoreU32(result.image, DialogHeader::fontHeight, static_cast<std::uint32_t>(description.height));
  StoreText(result.image, DialogHeader::fontFace, DialogHeader::fontFaceWidth, description.face);
  StoreU16(result.image, DialogHeader::fontWeight, static_cast<std::uint32_t>(weight));

  if (description.height >= 0) {
    Warn(result.diagnostics, sizeField.position,
         "FONT point size " + std::to_string(pointSize) + " gives no font height; the system's base units are used");
    return systemUnits;
  }

  Diagnostics measuring;
  const FontMeasurement measurement = metrics.MeasureFont(description, measuring);
  for (Diagnostic& diagnostic : measuring)
    Warn(result.diagnostics, font.keyword, std::move(diagnostic.message));
  const DialogBaseUnits units = BaseUnitsOfFont(measurement);
  if (units.baseX <= 0 || units.baseY <= 0) {
    Warn(result.diagnostics, font.keyword,
         "the font \"" + description.face + "\" measured no size; the system's base units are used");
    return systemUnits;
  }
  return units;
}

void DialogConversion::FillDialogWindow(const ResourceBlock& block, const DialogHead& head, DialogBaseUnits units) {
  constexpr std::size_t record = DialogWindowOffset;

  const std::string_view name = StatementName(script, block.keyword);
  if (name.empty())
    Warn(result.diagnostics, block.keyword, "DIALOGEX has no name in front of it; identifier 0");
  const ResolvedIdentifier identifier = ResolveIdentifier(name, defines, block.keyword, result.diagnostics);
  StoreU32(result.image, record + ControlRecord::identifier, identifier.value);
  StoreCutText(record + ControlRecord::identifierName, ControlRecord::identifierNameWidth, identifier.name,
               block.keyword, "dialog name");
  StoreU16(result.image, DialogHeader::followingId, identifier.value + 1);

  const std::size_t valueStart = block.keyword + DialogKeyword.size();
  const auto values = SplitFields<6>(script, valueStart, CodeEnd);
  if (values.count < 4)
    Warn(result.diagnostics, block.keyword,
         "DIALOGEX has " + std::to_string(values.count) +
             " of its 4 values x, y, width, height; the missing ones are 0");
  if (values.count == 5)
    Warn(result.diagnostics, values.At(4, block.keyword).position,
         "the DIALOGEX help identifier has no place in the dialog record file; it is not stored");
  if (values.count > 5)
    Warn(result.diagnostics, values.At(5, block.keyword).position,
         "DIALOGEX has more than five values; the rest is ignored");

  std::uint32_t style = 0;
  if (head.style.found)
    style = FlagsValue(SplitFields<1>(script, head.style.valueStart, head.style.valueEnd).At(0, head.style.keyword),
                       "STYLE");
  std::uint32_t exStyle = 0;
  if (head.exStyle.found)
    exStyle = FlagsValue(
        SplitFields<1>(script, head.exStyle.valueStart, head.exStyle.valueEnd).At(0, head.exStyle.keyword), "EXSTYLE");
  StoreU32(result.image, record + ControlRecord::style, style);
  StoreU32(result.image, record + ControlRecord::exStyle, exStyle);

  const FrameSize frame = metrics.WindowFrame(style, exStyle, head.menu.found);
  const std::int32_t x = NumberValue(values.At(0, block.keyword), "x");
  const std::int32_t y = NumberValue(values.At(1, block.keyword), "y");
  const std::int32_t width = NumberValue(values.At(2, block.keyword), "width");
  const std::int32_t height = NumberValue(values.At(3, block.keyword), "height");
  StoreU32(result.image, record + ControlRecord::x, static_cast<std::uint32_t>(HorizontalPixels(x, units)));
  StoreU32(result.image, record + ControlRecord::y, static_cast<std::uint32_t>(VerticalPixels(y, units)));
  StoreU32(result.image, record + ControlRecord::width,
           static_cast<std::uint32_t>(HorizontalPixels(width, units)) + static_cast<std::uint32_t>(frame.extraWidth));
  StoreU32(result.image, record + ControlRecord::height,
           static_cast<std::uint32_t>(VerticalPixels(height, units)) + static_cast<std::uint32_t>(frame.extraHeight));

  if (head.caption.found)
    StoreCutText(record + ControlRecord::text, ControlRecord::textWidth, QuotedValue(head.caption, "CAPTION"),
                 head.caption.keyword, "CAPTION");
  if (head.className.found)
    StoreCutText(DialogHeader::className, DialogHeader::classNameWidth, QuotedValue(head.className, "CLASS"),
                 head.className.keyword, "CLASS");

  if (head.menu.found) {
    MenuNameSlot slot{};
    if (requestMenuName)
      requestMenuName(slot);
    slot.back() = '\0';
    StoreText(result.image, DialogHeader::menuName, DialogHeader::menuNameWidth, std::string_view(slot.data()));
  }
}

void DialogConversion::FillControl(std::size_t index, std::size_t keyword, DialogBaseUnits units) {
  ControlStatement control;
  if (!plainControls.Read(keyword + ControlKeyword.size(), control))
    ReadControlFields(keyword, control);
  StoreControl(index, control, units);
}

// Reads any CONTROL statement field by field, warning of what does not fit.
void DialogConversion::ReadControlFields(std::size_t keyword, ControlStatement& control) {
  const auto fields = SplitFields<11>(script, keyword + ControlKeyword.size(), CodeEnd);
  if (fields.count < 8)
    Warn(result.diagnostics, keyword,
         "CONTROL has " + std::to_string(fields.count) +
             " of its 8 fields text, identifier, class, style, x, y, width, height; the missing ones are empty or 0");
  if (fields.count == 10)
    Warn(result.diagnostics, fields.At(9, keyword).position,
         "the CONTROL help identifier has no place in the dialog record file; it is not stored");
  if (fields.count > 10)
    Warn(result.diagnostics, fields.At(10, keyword).position, "CONTROL has more than ten fields; the rest is ignored");

  control.text = fields.At(0, keyword);
  control.identifier = fields.At(1, keyword);
  control.className = fields.At(2, keyword);
  control.style = FlagsValue(fields.At(3, keyword), "style");
  control.exStyle = FlagsValue(fields.At(8, keyword), "extended style");
  control.x = NumberValue(fields.At(4, keyword), "x");
  control.y = NumberValue(fields.At(5, keyword), "y");
  control.width = NumberValue(fields.At(6, keyword), "width");
  control.height = NumberValue(fields.At(7, keyword), "height");
}

void DialogConversion::StoreControl(std::size_t index, const ControlStatement& control, DialogBaseUnits units) {
  const std::size_t record = ControlOffset(index);
  StoreU16(result.image, record + ControlRecord::marker, ControlRecord::ControlMarker);
  StoreU16(result.image, record + ControlRecord::ordinal, static_cast<std::uint32_t>(index));

  const Field& identifierField = control.identifier;
  const ResolvedIdentifier identifier =
      ResolveIdentifier(identifierField.text, defines, identifierField.position, result.diagnostics);
  StoreU32(result.image, record + ControlRecord::identifier, identifier.value);
  StoreCutText(record + ControlRecord::identifierName, ControlRecord::identifierNameWidth, identifier.name,
               identifierField.position, "identifier");

  StoreU32(result.image, record + ControlRecord::style, control.style);
  StoreU32(result.image, record + ControlRecord::exStyle, control.exStyle);
  StoreU32(result.image, record + ControlRecord::x, static_cast<std::uint32_t>(HorizontalPixels(control.x, units)));
  StoreU32(result.image, record + ControlRecord::y, static_cast<std::uint32_t>(VerticalPixels(control.y, units)));
  StoreU32(result.image, record + ControlRecord::width,
           static_cast<std::uint32_t>(HorizontalPixels(control.width, units)));
  StoreU32(result.image, record + ControlRecord::height,
           static_cast<std::uint32_t>(VerticalPixels(control.height, units)));

  const Field& classField = control.className;
  const ControlClass* row = ClassRow(classField.text);
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
  StoreU32(result.image, record + ControlRecord::typeIndex, typeIndex);
  StoreU32(result.image, record + ControlRecord::typeCode, typeCode);

  const Field& textField = control.text;
  std::string_view text;
  const QuoteForm textForm = Unquote(textField.text, textBuffer, text);
  if (textForm == QuoteForm::Unterminated)
    Warn(result.diagnostics, textField.position,
         "the control text has no closing quote; it is taken to the end of its field");
  else if (textForm == QuoteForm::Bare && !textField.text.empty())
    Warn(result.diagnostics, textField.position, "the control text is not a quoted text; it is taken as written");

  if (typeIndex == UserDefinedControl.typeIndex && typeCode == UserDefinedControl.typeCode) {
    std::string_view className;
    Unquote(classField.text, classNameBuffer, className);
    if (!row)
      Warn(result.diagnostics, classField.position,
           "class \"" + std::string(className) + "\" is not one RadASM knows; it is stored as a user-defined control");
    if (!text.empty() && text != className)
      Warn(result.diagnostics, textField.position,
           "the text \"" + std::string(text) + "\" of a user-defined control gives way to its class name");
    text = className;
  }
  StoreCutText(record + ControlRecord::text, ControlRecord::textWidth, text, textField.position, "control text");
}

const ControlClass* DialogConversion::ClassRow(std::string_view classField) {
  for (std::size_t i = 0; i < nextKnownClass && i < knownClasses.size(); ++i) {
    if (knownClasses[i].field == classField)
      return knownClasses[i].row;
  }
  KnownClass& known = knownClasses[nextKnownClass % knownClasses.size()];
  ++nextKnownClass;
  known.field.assign(classField);
  known.row = LookUpControlClass(classField);
  return known.row;
}

std::string_view DialogConversion::QuotedValue(const HeadStatement& statement, std::string_view what) {
  const auto fields = SplitFields<2>(script, statement.valueStart, statement.valueEnd);
  const Field field = fields.At(0, statement.keyword);
  if (fields.count > 1)
    Warn(result.diagnostics, fields.At(1, statement.keyword).position,
         std::string(what) + " has more than one field; the rest is ignored");
  std::string_view text;
  const QuoteForm form = Unquote(field.text, textBuffer, text);
  if (form == QuoteForm::Unterminated)
    Warn(result.diagnostics, field.position,
         std::string(what) + " text has no closing quote; it is taken to the end of the line");
  else if (form == QuoteForm::Bare)
    Warn(result.diagnostics, field.position, std::string(what) + " is not a quoted text; it is taken as written");
  return text;
}

std::uint32_t DialogConversion::FlagsValue(const Field& field, std::string_view what) {
  if (field.text.empty())
    return 0;
  if (const auto value = ParseFlagsExpression(field.text))
    return *value;
  Warn(result.diagnostics, field.position,
       std::string(what) + " '" + std::string(field.text) + "' is not a number or an expression of numbers; " +
           std::string(what) + " 0");
  return 0;
}

std::int32_t DialogConversion::NumberValue(const Field& field, std::string_view what) {
  if (field.text.empty())
    return 0;
  if (const auto value = ParseIntegerLiteral(field.text))
    return static_cast<std::int32_t>(*value);
  Warn(result.diagnostics, field.position,
       std::string(what) + " '" + std::string(field.text) + "' is not a number; " + std::string(what) + " 0");
  return 0;
}

void DialogConversion::StoreCutText(std::size_t offset, std::size_t width, std::string_view text, std::size_t position,
                                    std::string_view what) {
  if (!StoreTextOnZeros(result.image, offset, width, text))
    Warn(result.diagnostics, position,
         std::string(what) + " is longer than " + std::to_string(width - 1) + " characters; it is cut to \"" +
             std::string(text.substr(0, width - 1)) + "\"");
}

}  // namespace

ConverterResult ConvertDialogScript(std::string_view script, DisplayMetrics& metrics,
                                    const MenuNameRequest& requestMenuName) {
  return DialogConversion(script, metrics, requestMenuName).Run();
}

}  // namespace trellane
