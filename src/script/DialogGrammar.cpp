// DIALOG and DIALOGEX: the header, the optional statements a dialog alone
// takes, and the control statements of its block.
#include <string>

#include "script/ScriptParser.h"
#include "script/WindowsHeaders.h"

namespace trellane::parser {

bool ScriptParser::ReadDialog(Dialog& dialog) {
  const SourceLocation keyword = LastTaken().location;
  const std::string_view kind = dialog.extended ? "DIALOGEX" : "DIALOG";
  SkipMemoryFlags();
  if (!ReadCoordinates({&dialog.x, &dialog.y, &dialog.width, &dialog.height}, kind, false))
    return false;
  if (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> help = Integer("help identifier");
    if (!help)
      return false;
    dialog.helpId = *help;
    if (!dialog.extended)
      Warning(LastTaken(), "a DIALOG has no help identifier; it is ignored");
  }
  switch (ReadOptionalStatements(dialog.language, dialog.characteristics, dialog.version, &dialog, kind)) {
    case Statements::Failed:
      return false;
    case Statements::NoBlock:
      Warning(keyword, std::string(kind) + " has no BEGIN; the dialog has no controls");
      return true;
    case Statements::BeforeBlock:
      break;
  }
  const SourceLocation begin = Take().location;
  for (;;) {
    if (IsBlockEnd(Peek())) {
      Take();
      return true;
    }
    if (AtEnd()) {
      if (failed)
        return false;
      Warning(begin,
              "the BEGIN of the " + std::string(kind) + " has no END; controls are read to the end of the script");
      return true;
    }
    if (!ReadControl(dialog))
      return false;
  }
}

// The optional statements only a dialog takes.
bool ScriptParser::ReadDialogStatement(Dialog& dialog, bool& isStatement) {
  const Keyword word = Peek().keyword;
  isStatement = true;
  switch (word) {
    case Keyword::Style: {
      Take();
      const std::optional<Value> style = Style("STYLE");
      if (!style)
        return false;
      dialog.style = StyleValue{style->value, style->notMask};
      return true;
    }
    case Keyword::ExStyle: {
      Take();
      const std::optional<std::uint32_t> exStyle = Integer("EXSTYLE");
      if (!exStyle)
        return false;
      dialog.exStyle = *exStyle;
      return true;
    }
    case Keyword::Caption: {
      Take();
      const std::optional<std::string_view> caption = Text("CAPTION");
      if (!caption)
        return false;
      dialog.caption = *caption;
      return true;
    }
    case Keyword::Class:
    case Keyword::Menu: {
      Take();
      const bool isClass = word == Keyword::Class;
      std::optional<NameOrOrdinal> name = NameOrNumber(isClass ? "CLASS" : "MENU");
      if (!name)
        return false;
      (isClass ? dialog.className : dialog.menu) = *name;
      return true;
    }
    case Keyword::Font:
      Take();
      return ReadFont(dialog);
    default:
      isStatement = false;
      return true;
  }
}

bool ScriptParser::ReadFont(Dialog& dialog) {
  const SourceLocation keyword = LastTaken().location;
  Font font;
  const std::optional<std::uint32_t> size = Integer("FONT point size");
  if (!size || !Expect(",", "between the FONT's point size and face"))
    return false;
  const std::optional<std::string_view> face = Text("the FONT's face");
  if (!face)
    return false;
  if (*size > 0xFFFF)
    Warning(keyword, "FONT point size " + std::to_string(*size) + " does not fit its 16-bit field; " +
                         std::to_string(*size & 0xFFFF) + " is used");
  font.pointSize = static_cast<std::uint16_t>(*size);
  font.face = *face;
  font.valueCount = 2;
  while (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> value = Integer("FONT value");
    if (!value)
      return false;
    ++font.valueCount;
    if (!dialog.extended) {
      if (font.valueCount == 3)
        Warning(keyword, "the FONT of a DIALOG has a point size and a face only; the rest is ignored");
    } else if (font.valueCount == 3) {
      font.weight = static_cast<std::uint16_t>(*value);
    } else if (font.valueCount == 4) {
      font.italic = (*value & 0xFF) != 0;
    } else if (font.valueCount == 5) {
      font.charset = static_cast<std::uint8_t>(*value);
    } else if (font.valueCount == 6) {
      Warning(keyword, "FONT has more than five values; the rest is ignored");
    }
  }
  if (font.valueCount > 5)
    font.valueCount = 5;
  dialog.font = font;
  return true;
}

bool ScriptParser::ReadControl(Dialog& dialog) {
  const Token& keyword = Peek();
  if (keyword.kind != TokenKind::Identifier)
    return FailExpected("a control statement or END");
  const ControlKind* const kind = ControlKindOf(keyword.keyword);
  if (!kind)
    return Fail(keyword, Quoted(keyword.text) + " is no statement of a dialog's block");
  Control control;
  control.location = Take().location;
  control.statement = kind->statement;
  while (TakePunctuator(",")) {  // a comma too many after the keyword is skipped
  }
  if (kind->hasText) {
    std::optional<NameOrOrdinal> text = NameOrNumber("the control's text");
    if (!text || !Separator("after the control's text"))
      return false;
    control.text = *text;
  }
  std::optional<NumberField> id = Number("identifier");
  if (!id)
    return false;
  control.id = *id;
  if (!Separator("after the control's identifier"))
    return false;

  std::optional<Value> style;
  if (kind->statement == ControlStatement::Control) {
    if (!ReadControlClass(control) || !Separator("after the control's class"))
      return false;
    style = Style("style");
    if (!style || !Separator("after the control's style"))
      return false;
  } else {
    control.className = NameOrOrdinal::Ordinal(kind->classOrdinal);
  }

  if (!ReadCoordinates({&control.x, &control.y, &control.width, &control.height}, {},
                       kind->statement == ControlStatement::Icon))
    return false;
  if (kind->statement != ControlStatement::Control && IsPunctuator(Peek(), ",")) {
    Take();
    style = Style("style");
    if (!style)
      return false;
  }
  if (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> exStyle = Integer("extended style");
    if (!exStyle)
      return false;
    control.exStyle = *exStyle;
  }
  if (IsPunctuator(Peek(), ",")) {
    Take();
    const std::optional<std::uint32_t> help = Integer("help identifier");
    if (!help)
      return false;
    control.helpId = *help;
  }
  control.style = style ? StyleValue{style->value, style->notMask}.Apply(kind->defaultStyle) : kind->defaultStyle;
  if (IsBlockBegin(Peek()) && !ReadControlData(control))
    return false;
  dialog.controls.push_back(control);
  return true;
}

// The class of a CONTROL statement: a quoted text, a number, a predefined
// class's name, or a name the built-in constants give a class text.
bool ScriptParser::ReadControlClass(Control& control) {
  const Token& classToken = Peek();
  if (classToken.kind != TokenKind::Identifier) {
    std::optional<NameOrOrdinal> className = NameOrNumber("the control's class");
    if (!className)
      return false;
    control.className = *className;
    return true;
  }
  const WindowsConstant* builtinClass = FindWindowsConstant(classToken.text);
  const Token& word = Take();
  if (builtinClass != nullptr && !builtinClass->text.empty()) {
    control.className = NameOrOrdinal::Name(builtinClass->text);  // the constants' table is static
  } else if (const std::optional<std::uint16_t> predefined = PredefinedClassOf(word.keyword)) {
    control.className = NameOrOrdinal::Ordinal(*predefined);
  } else {
    control.className = NameOrOrdinal::Name(Keep(word.text));
    Warning(word, "class " + std::string(word.text) + " is not a quoted text; it is taken as written");
  }
  return true;
}

// A control's creation data: 16-bit numbers and texts in a block of its own.
bool ScriptParser::ReadControlData(Control& control) {
  Take();
  std::vector<std::uint8_t> data;
  while (!IsBlockEnd(Peek())) {
    if (AtEnd())
      return Fail(Peek(), "the control's data block has no END");
    if (TakePunctuator(","))
      continue;
    if (Peek().kind == TokenKind::String) {
      const std::optional<std::string_view> text = JoinedText("control data");
      if (!text)
        return false;
      data.insert(data.end(), text->begin(), text->end());
      continue;
    }
    const std::optional<std::uint32_t> value = Integer("control data");
    if (!value)
      return false;
    data.push_back(static_cast<std::uint8_t>(*value & 0xFF));
    data.push_back(static_cast<std::uint8_t>((*value >> 8) & 0xFF));
  }
  Take();
  control.data = resources.texts.Keep(data);
  return true;
}

}  // namespace trellane::parser
