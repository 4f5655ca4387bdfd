#include "preview/DialogPreview.h"

#include <algorithm>
#include <string>

#include "metrics/DialogUnits.h"
#include "metrics/WindowStyles.h"
#include "preview/SceneText.h"
#include "radasm/DialogImageText.h"
#include "radasm/DialogRecordFile.h"

namespace trellane {
namespace {

// Classic metrics the frame and the controls use.
constexpr int ScrollBarWidth = 16;  // SM_CXVSCROLL
constexpr int IconSide = 32;        // SM_CXICON
constexpr int CheckBoxSide = 13;
constexpr int RadioButtonSide = 12;
constexpr int MarkTextGap = 4;

// Types whose windows are white, like an edit's.
bool HasWindowBackground(std::uint32_t typeIndex) {
  switch (typeIndex) {
    case ControlType::Edit:
    case ControlType::ListBox:
    case 13:  // TreeView
    case 14:  // ListView
    case 21:  // MonthCalendar
    case 22:  // RichEdit
    case 34:  // RAEdit
    case 35:  // RAHexEdit
    case 36:  // RAGrid
    case 37:  // SpreadSheet
    case 38:  // WebBrowser
    case 39:  // RAFileBrowser
      return true;
    default:
      return false;
  }
}

bool IsStatic(std::uint32_t typeIndex) {
  return typeIndex == ControlType::Static || typeIndex == ControlType::Image || typeIndex == ControlType::Shape;
}

Box Inset(const Box& box, int by) {
  return {box.x + by, box.y + by, box.width - 2 * by, box.height - 2 * by};
}

Box Intersect(const Box& a, const Box& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.width, b.x + b.width);
  const int bottom = std::min(a.y + a.height, b.y + b.height);
  return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

Box Centred(const Box& within, int width, int height) {
  return {within.x + (within.width - width) / 2, within.y + (within.height - height) / 2, width, height};
}

struct ControlView {
  std::string id;
  std::uint32_t typeIndex = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  Box box;  // window coordinates
  std::string text;
};

// Where Windows puts the caption, the menu bar and the client area of a
// window of the given outer size.
struct FrameLayout {
  int border = 0;  // each side, without the client edge
  int clientEdge = 0;
  int captionHeight = 0;  // 0: no caption
  bool hasMenu = false;
  Box client;
};

FrameLayout LayOutFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu, int width, int height) {
  const FrameSize frame = ComputeWindowFrame(style, exStyle, hasMenu);
  const int side = frame.extraWidth / 2;
  FrameLayout layout;
  layout.clientEdge = (exStyle & WS_EX_CLIENTEDGE) ? ClassicFrameMetrics.edgeWidth : 0;
  layout.border = side - layout.clientEdge;
  if ((style & WS_CAPTION) == WS_CAPTION)
    layout.captionHeight =
        (exStyle & WS_EX_TOOLWINDOW) ? ClassicFrameMetrics.smallCaptionHeight : ClassicFrameMetrics.captionHeight;
  layout.hasMenu = hasMenu;
  layout.client = {side, frame.extraHeight - side, width - frame.extraWidth, height - frame.extraHeight};
  return layout;
}

// Draws one control's shapes into its group.
class ControlPainter {
 public:
  ControlPainter(const ControlView& view, const SceneFont& dialogFont, std::vector<Shape>& into)
      : control(view), font(dialogFont), shapes(into), disabled((view.style & WS_DISABLED) != 0) {}

  void Paint() {
    const std::uint32_t type = control.typeIndex;
    if (type == ControlType::GroupBox) {
      GroupBox(control.box);
      return;
    }
    if (type == ControlType::ComboBox) {
      ComboBox(control.box);
      return;
    }
    bool edged = false;
    const Box inner = NonClientEdge(edged);
    Box content = inner;
    const bool vertical = (control.style & WS_VSCROLL) && type != ControlType::ScrollBar;
    const bool horizontal = (control.style & WS_HSCROLL) && type != ControlType::ScrollBar;
    if (vertical)
      content.width -= ScrollBarWidth;
    if (horizontal)
      content.height -= ScrollBarWidth;
    Content(content, edged);
    if (vertical)
      ScrollBar({content.x + content.width, content.y, ScrollBarWidth, content.height}, true, false);
    if (horizontal)
      ScrollBar({content.x, content.y + content.height, content.width, ScrollBarWidth}, false, false);
    if (vertical && horizontal)
      Rect({content.x + content.width, content.y + content.height, ScrollBarWidth, ScrollBarWidth}, Edge::None,
           ClassicColor::Face);
  }

 private:
  void Rect(const Box& box, Edge edge, std::optional<Rgb> fill, Rgb lineColor = ClassicColor::Shadow) {
    RectShape rect;
    rect.box = box;
    rect.edge = edge;
    rect.fill = fill;
    rect.lineColor = lineColor;
    shapes.emplace_back(rect);
  }

  void Mark(MarkKind kind, const Box& box, Rgb color) { shapes.emplace_back(MarkShape{kind, box, color}); }

  void Line(int x1, int y1, int x2, int y2, Rgb color) { shapes.emplace_back(LineShape{x1, y1, x2, y2, color}); }

  void Text(const Box& box, std::string_view text, TextAlign align, VerticalAlign vertical, bool wrap,
            bool mnemonic = true) {
    TextLayout layout;
    layout.box = box;
    layout.text = text;
    layout.font = font;
    layout.align = align;
    layout.vertical = vertical;
    layout.wrap = wrap;
    layout.mnemonic = mnemonic;
    layout.disabled = disabled;
    AddText(shapes, layout);
  }

  Rgb ArrowColor() const { return disabled ? ClassicColor::GrayText : ClassicColor::WindowText; }

  // The border the window manager draws around the control's client area.
  Box NonClientEdge(bool& edged) {
    Edge edge = Edge::None;
    Rgb lineColor = ClassicColor::WindowFrame;
    // Dialogs with the 3-D look give bordered white controls a client edge.
    if ((control.exStyle & WS_EX_CLIENTEDGE) || ((control.style & WS_BORDER) && HasWindowBackground(control.typeIndex)))
      edge = Edge::Sunken;
    else if (control.style & WS_BORDER)
      edge = Edge::Flat;
    else if ((control.exStyle & WS_EX_STATICEDGE) || (IsStatic(control.typeIndex) && (control.style & SS_SUNKEN)))
      edge = Edge::ThinSunken;
    else if (control.exStyle & WS_EX_DLGMODALFRAME)
      edge = Edge::Window;
    edged = edge != Edge::None;
    if (!edged)
      return control.box;
    RectShape rect;
    rect.box = control.box;
    rect.edge = edge;
    rect.lineColor = lineColor;
    shapes.emplace_back(rect);
    return InsideEdge(rect);
  }

  void Content(const Box& box, bool edged) {
    switch (control.typeIndex) {
      case ControlType::Edit:
        Edit(box);
        return;
      case ControlType::Static:
      case ControlType::Shape:
        Static(box);
        return;
      case ControlType::Button:
        if ((control.style & BS_TYPEMASK) == BS_OWNERDRAW) {
          LabelledBox(box, edged);
          return;
        }
        PushButton(box, IsDefaultButton());
        return;
      case ControlType::CheckBox:
        CheckOrRadio(box, false);
        return;
      case ControlType::RadioButton:
        CheckOrRadio(box, true);
        return;
      case ControlType::ListBox:
        Rect(box, Edge::None, ClassicColor::Window);
        return;
      case ControlType::ScrollBar:
        if (control.style & (SBS_SIZEBOX | SBS_SIZEGRIP))
          Rect(box, Edge::None, ClassicColor::Face);
        else
          ScrollBar(box, (control.style & SBS_VERT) != 0, true);
        return;
      case ControlType::ProgressBar:
        Rect(box, edged ? Edge::None : Edge::ThinSunken, ClassicColor::Face);
        return;
      case ControlType::UpDown:
        UpDown(box);
        return;
      case ControlType::Image:
        if ((control.style & SS_TYPEMASK) == SS_ICON)
          IconPlaceholder(box);
        else
          PicturePlaceholder(box);
        return;
      default:
        LabelledBox(box, edged);
        return;
    }
  }

  bool IsDefaultButton() const {
    const std::uint32_t type = control.style & BS_TYPEMASK;
    return type == BS_DEFPUSHBUTTON || type == BS_DEFSPLITBUTTON || type == BS_DEFCOMMANDLINK;
  }

  TextAlign ButtonAlign(TextAlign otherwise) const {
    switch (control.style & BS_CENTER) {
      case BS_LEFT:
        return TextAlign::Left;
      case BS_RIGHT:
        return TextAlign::Right;
      case BS_CENTER:
        return TextAlign::Center;
      default:
        return otherwise;
    }
  }

  VerticalAlign ButtonVertical() const {
    switch (control.style & BS_VCENTER) {
      case BS_TOP:
        return VerticalAlign::Top;
      case BS_BOTTOM:
        return VerticalAlign::Bottom;
      default:
        return VerticalAlign::Center;
    }
  }

  void PushButton(const Box& box, bool isDefault) {
    RectShape rect;
    rect.box = box;
    rect.edge = isDefault ? Edge::DefaultButton : Edge::Button;
    rect.fill = ClassicColor::Face;
    shapes.emplace_back(rect);
    const Box inside = Inset(InsideEdge(rect), 1);
    if (control.style & (BS_ICON | BS_BITMAP)) {
      const int side = std::max(0, std::min({inside.width, inside.height, IconSide}));
      Mark((control.style & BS_ICON) ? MarkKind::Icon : MarkKind::Picture, Centred(inside, side, side),
           ClassicColor::WindowText);
      return;
    }
    Text(inside, control.text, ButtonAlign(TextAlign::Center), ButtonVertical(), (control.style & BS_MULTILINE) != 0);
  }

  void CheckOrRadio(const Box& box, bool radio) {
    if (control.style & BS_PUSHLIKE) {
      PushButton(box, false);
      return;
    }
    const int side = radio ? RadioButtonSide : CheckBoxSide;
    const bool markOnRight = (control.style & BS_LEFTTEXT) != 0;
    const VerticalAlign vertical = ButtonVertical();
    int markY = box.y + (box.height - side) / 2;
    if (vertical == VerticalAlign::Top)
      markY = box.y;
    else if (vertical == VerticalAlign::Bottom)
      markY = box.y + box.height - side;
    const Box mark{markOnRight ? box.x + box.width - side : box.x, markY, side, side};
    const Rgb inside = disabled ? ClassicColor::Face : ClassicColor::Window;
    if (radio)
      Mark(MarkKind::RadioButton, mark, inside);
    else
      Rect(mark, Edge::Sunken, inside);
    const int textWidth = box.width - side - MarkTextGap;
    const Box text{markOnRight ? box.x : box.x + side + MarkTextGap, box.y, textWidth, box.height};
    Text(text, control.text, ButtonAlign(TextAlign::Left), vertical, (control.style & BS_MULTILINE) != 0);
  }

  void GroupBox(const Box& box) {
    const int lineHeight = LineHeight(font);
    Rect({box.x, box.y + lineHeight / 2, box.width, box.height - lineHeight / 2}, Edge::Etched, std::nullopt);
    const MnemonicText resolved = ResolveMnemonic(control.text);
    if (resolved.text.empty())
      return;
    const int width = TextWidth(resolved.text, font);
    constexpr int Indent = 8;
    int left = box.x + Indent;
    const TextAlign align = ButtonAlign(TextAlign::Left);
    if (align == TextAlign::Center)
      left = box.x + (box.width - width) / 2;
    else if (align == TextAlign::Right)
      left = box.x + box.width - Indent - width;
    // The text stands in a gap of the frame.
    Rect({left - 2, box.y, width + 4, lineHeight}, Edge::None, ClassicColor::Face);
    Text({left, box.y, width, lineHeight}, control.text, TextAlign::Left, VerticalAlign::Top, false);
  }

  void Edit(const Box& box) {
    const bool grey = disabled || (control.style & ES_READONLY);
    Rect(box, Edge::None, grey ? ClassicColor::Face : ClassicColor::Window);
    std::string shown = control.text;
    if (control.style & ES_PASSWORD) {
      std::size_t characters = 0;
      for (const char c : control.text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
      shown.assign(characters, '*');
    }
    TextAlign align = TextAlign::Left;
    if (control.style & ES_CENTER)
      align = TextAlign::Center;
    else if (control.style & ES_RIGHT)
      align = TextAlign::Right;
    const bool multiline = (control.style & ES_MULTILINE) != 0;
    TextLayout layout;
    layout.box = {box.x + 2, box.y + 1, box.width - 4, box.height - 2};
    layout.text = shown;
    layout.font = font;
    layout.align = align;
    layout.wrap = multiline && !(control.style & ES_AUTOHSCROLL);
    layout.mnemonic = false;
    layout.color = disabled ? ClassicColor::GrayText : ClassicColor::WindowText;
    AddText(shapes, layout);
  }

  void Static(const Box& box) {
    const std::uint32_t type = control.style & SS_TYPEMASK;
    const bool mnemonic = !(control.style & SS_NOPREFIX);
    const bool centreImage = (control.style & SS_CENTERIMAGE) != 0;
    const VerticalAlign vertical = centreImage ? VerticalAlign::Center : VerticalAlign::Top;
    switch (type) {
      case SS_LEFT:
        Text(box, control.text, TextAlign::Left, vertical, !centreImage, mnemonic);
        return;
      case SS_CENTER:
        Text(box, control.text, TextAlign::Center, vertical, !centreImage, mnemonic);
        return;
      case SS_RIGHT:
        Text(box, control.text, TextAlign::Right, vertical, !centreImage, mnemonic);
        return;
      case SS_ICON:
        IconPlaceholder(box);
        return;
      // With the 3-D look black, grey and white become the 3-D colours.
      case SS_BLACKRECT:
        Rect(box, Edge::None, ClassicColor::DarkShadow);
        return;
      case SS_GRAYRECT:
        Rect(box, Edge::None, ClassicColor::Shadow);
        return;
      case SS_WHITERECT:
        Rect(box, Edge::None, ClassicColor::Highlight);
        return;
      case SS_BLACKFRAME:
        Rect(box, Edge::Flat, std::nullopt, ClassicColor::DarkShadow);
        return;
      case SS_GRAYFRAME:
        Rect(box, Edge::Flat, std::nullopt, ClassicColor::Shadow);
        return;
      case SS_WHITEFRAME:
        Rect(box, Edge::Flat, std::nullopt, ClassicColor::Highlight);
        return;
      case SS_OWNERDRAW:
        LabelledBox(box, false);
        return;
      case SS_BITMAP:
      case SS_ENHMETAFILE:
        PicturePlaceholder(box);
        return;
      case SS_ETCHEDHORZ:
        Line(box.x, box.y, box.x + box.width - 1, box.y, ClassicColor::Shadow);
        Line(box.x, box.y + 1, box.x + box.width - 1, box.y + 1, ClassicColor::Highlight);
        return;
      case SS_ETCHEDVERT:
        Line(box.x, box.y, box.x, box.y + box.height - 1, ClassicColor::Shadow);
        Line(box.x + 1, box.y, box.x + 1, box.y + box.height - 1, ClassicColor::Highlight);
        return;
      case SS_ETCHEDFRAME:
        Rect(box, Edge::Etched, std::nullopt);
        return;
      case SS_SIMPLE:
      case SS_LEFTNOWORDWRAP:
      default:
        Text(box, control.text, TextAlign::Left, VerticalAlign::Top, false, mnemonic);
        return;
    }
  }

  void IconPlaceholder(const Box& box) {
    // The control takes the icon's size unless it keeps its own.
    Box square{box.x, box.y, IconSide, IconSide};
    if ((control.style & SS_REALSIZECONTROL) && box.width > 0 && box.height > 0)
      square = box;
    else if (control.style & SS_CENTERIMAGE)
      square = Centred(box, IconSide, IconSide);
    Rect(square, Edge::Flat, ClassicColor::Face);
    Mark(MarkKind::Icon, Inset(square, 2), ClassicColor::WindowText);
  }

  void PicturePlaceholder(const Box& box) {
    const Box frame = box.width > 0 && box.height > 0 ? box : Box{box.x, box.y, IconSide, IconSide};
    Rect(frame, Edge::Flat, ClassicColor::Face);
    Mark(MarkKind::Picture, Inset(frame, 2), ClassicColor::Shadow);
  }

  void ScrollBar(const Box& box, bool vertical, bool thumb) {
    const int thickness = vertical ? box.width : box.height;
    const int length = vertical ? box.height : box.width;
    const int arrow = std::max(0, std::min(thickness, length / 2));
    const Rgb arrowColor = thumb ? ArrowColor() : ClassicColor::GrayText;
    Rect(box, Edge::None, ClassicColor::ScrollTrack);
    if (vertical) {
      const Box up{box.x, box.y, box.width, arrow};
      const Box down{box.x, box.y + box.height - arrow, box.width, arrow};
      Rect(up, Edge::Button, ClassicColor::Face);
      Mark(MarkKind::ArrowUp, up, arrowColor);
      Rect(down, Edge::Button, ClassicColor::Face);
      Mark(MarkKind::ArrowDown, down, arrowColor);
      if (thumb && length - 2 * arrow >= thickness)
        Rect({box.x, box.y + arrow, box.width, thickness}, Edge::Button, ClassicColor::Face);
    } else {
      const Box left{box.x, box.y, arrow, box.height};
      const Box right{box.x + box.width - arrow, box.y, arrow, box.height};
      Rect(left, Edge::Button, ClassicColor::Face);
      Mark(MarkKind::ArrowLeft, left, arrowColor);
      Rect(right, Edge::Button, ClassicColor::Face);
      Mark(MarkKind::ArrowRight, right, arrowColor);
      if (thumb && length - 2 * arrow >= thickness)
        Rect({box.x + arrow, box.y, thickness, box.height}, Edge::Button, ClassicColor::Face);
    }
  }

  void ComboBox(const Box& box) {
    // The record's height is the dropped-down list's; the field is one line.
    const int fieldHeight = std::min(box.height, LineHeight(font) + 8);
    const Box field{box.x, box.y, box.width, fieldHeight};
    const Rgb background = disabled ? ClassicColor::Face : ClassicColor::Window;
    Rect(field, Edge::Sunken, background);
    const Box inside = Inset(field, 2);
    if ((control.style & CBS_TYPEMASK) == CBS_SIMPLE) {
      Text({inside.x + 2, inside.y, inside.width - 4, inside.height}, control.text, TextAlign::Left,
           VerticalAlign::Center, false, false);
      if (box.height > fieldHeight)
        Rect({box.x, box.y + fieldHeight, box.width, box.height - fieldHeight}, Edge::Sunken, ClassicColor::Window);
      return;
    }
    const Box button{inside.x + inside.width - ScrollBarWidth, inside.y, ScrollBarWidth, inside.height};
    Text({inside.x + 2, inside.y, inside.width - ScrollBarWidth - 4, inside.height}, control.text, TextAlign::Left,
         VerticalAlign::Center, false, false);
    Rect(button, Edge::Button, ClassicColor::Face);
    Mark(MarkKind::ArrowDown, button, ArrowColor());
  }

  void UpDown(const Box& box) {
    const bool sideways = (control.style & UDS_HORZ) != 0;
    const Box first =
        sideways ? Box{box.x, box.y, box.width / 2, box.height} : Box{box.x, box.y, box.width, box.height / 2};
    const Box second = sideways ? Box{box.x + first.width, box.y, box.width - first.width, box.height}
                                : Box{box.x, box.y + first.height, box.width, box.height - first.height};
    Rect(first, Edge::Button, ClassicColor::Face);
    Mark(sideways ? MarkKind::ArrowLeft : MarkKind::ArrowUp, first, ArrowColor());
    Rect(second, Edge::Button, ClassicColor::Face);
    Mark(sideways ? MarkKind::ArrowRight : MarkKind::ArrowDown, second, ArrowColor());
  }

  // A control this picture has no drawing for: its class in a box.
  void LabelledBox(const Box& box, bool edged) {
    const Rgb background = HasWindowBackground(control.typeIndex) ? ClassicColor::Window : ClassicColor::Face;
    Rect(box, edged ? Edge::None : Edge::Flat, background);
    std::string label =
        control.typeIndex == ControlType::UserDefined ? control.text : std::string(ControlTypeName(control.typeIndex));
    if (label.empty())
      label = "type " + std::to_string(control.typeIndex);
    TextLayout layout;
    layout.box = Inset(box, 2);
    layout.text = label;
    layout.font = font;
    layout.align = TextAlign::Center;
    layout.vertical = VerticalAlign::Center;
    layout.mnemonic = false;
    layout.color = ClassicColor::DarkShadow;
    AddText(shapes, layout);
  }

  const ControlView& control;
  const SceneFont& font;
  std::vector<Shape>& shapes;
  bool disabled;
};

class DialogPicture {
 public:
  DialogPicture(const Image& recordImage, int textCodePage) : image(recordImage), codePage(textCodePage) {}

  SceneBuild Build() {
    SceneBuild build;
    if (image.size() < FirstControlOffset || (image.size() - FirstControlOffset) % ControlRecord::Size != 0) {
      build.problem = std::to_string(image.size()) + " bytes is not the size of a dialog record file";
      return build;
    }
    if (LoadU32(image, DialogHeader::formatTag) != DialogHeader::FormatTag) {
      build.problem =
          "not a dialog record file (format " + std::to_string(LoadU32(image, DialogHeader::formatTag)) + ", not 101)";
      return build;
    }
    const std::size_t count = (image.size() - FirstControlOffset) / ControlRecord::Size;
    if (count > MaxPreviewRecords) {
      build.problem =
          std::to_string(count) + " controls are more than a dialog holds (" + std::to_string(MaxPreviewRecords) + ")";
      return build;
    }
    const int width = ClampCoordinate(LoadU32(image, DialogWindowOffset + ControlRecord::width));
    const int height = ClampCoordinate(LoadU32(image, DialogWindowOffset + ControlRecord::height));
    if (width < 1 || height < 1 || width > MaxPreviewSide || height > MaxPreviewSide) {
      build.problem = "the dialog's outer size is " + std::to_string(width) + "x" + std::to_string(height) +
                      " pixels; a picture takes 1 to " + std::to_string(MaxPreviewSide) + " on a side";
      return build;
    }
    PreviewScene& scene = build.scene;
    scene.width = width;
    scene.height = height;
    font = DialogFont();

    // The window as the dialog manager makes it from the record's styles.
    const WindowStyle window = DialogWindowStyle(LoadU32(image, DialogWindowOffset + ControlRecord::style),
                                                 LoadU32(image, DialogWindowOffset + ControlRecord::exStyle));
    const std::uint32_t style = window.style;
    const std::uint32_t exStyle = window.exStyle;
    const bool hasMenu = !LoadText(image, DialogHeader::menuName, DialogHeader::menuNameWidth).empty();
    const FrameLayout frame = LayOutFrame(style, exStyle, hasMenu, width, height);
    const std::string caption = RecordText(DialogWindowOffset + ControlRecord::text, ControlRecord::textWidth);
    scene.title = caption.empty() ? RecordId(DialogWindowOffset) : caption;
    AddFrame(scene, style, exStyle, frame, caption);

    for (std::size_t index = 0; index < count; ++index)
      scene.groups.push_back(ControlGroup(ReadControl(ControlOffset(index), frame.client), frame.client));
    build.recordCount = count;
    build.ok = true;
    return build;
  }

 private:
  std::string RecordText(std::size_t offset, std::size_t width) const {
    return DecodeRecordText(LoadText(image, offset, width), codePage);
  }

  std::string RecordId(std::size_t record) const {
    std::string name = RecordText(record + ControlRecord::identifierName, ControlRecord::identifierNameWidth);
    if (name.empty())
      name = std::to_string(static_cast<std::int32_t>(LoadU32(image, record + ControlRecord::identifier)));
    return name;
  }

  SceneFont DialogFont() const {
    SceneFont chosen;
    chosen.face = RecordText(DialogHeader::fontFace, DialogHeader::fontFaceWidth);
    const auto height = static_cast<std::int32_t>(LoadU32(image, DialogHeader::fontHeight));
    const int points = static_cast<int>(LoadU16(image, DialogHeader::pointSize));
    chosen.bold = LoadU16(image, DialogHeader::fontWeight) >= 600;
    if (chosen.face.empty() && height == 0 && points == 0) {
      // Without a FONT statement a dialog writes in the bold system font.
      chosen.face = "System";
      chosen.pixelHeight = 13;
      chosen.bold = true;
      return chosen;
    }
    // A positive height is the cell's, an em and its internal leading.
    std::int64_t em = height < 0 ? -static_cast<std::int64_t>(height) : height * std::int64_t{85} / 100;
    if (em == 0)
      em = (points * 96 + 36) / 72;
    chosen.pixelHeight = static_cast<int>(std::clamp<std::int64_t>(em, 4, 200));
    return chosen;
  }

  ControlView ReadControl(std::size_t record, const Box& client) const {
    ControlView view;
    view.id = RecordId(record);
    view.typeIndex = LoadU32(image, record + ControlRecord::typeIndex);
    view.style = LoadU32(image, record + ControlRecord::style);
    view.exStyle = LoadU32(image, record + ControlRecord::exStyle);
    view.box = {client.x + ClampCoordinate(LoadU32(image, record + ControlRecord::x)),
                client.y + ClampCoordinate(LoadU32(image, record + ControlRecord::y)),
                std::max(0, ClampCoordinate(LoadU32(image, record + ControlRecord::width))),
                std::max(0, ClampCoordinate(LoadU32(image, record + ControlRecord::height)))};
    view.text = RecordText(record + ControlRecord::text, ControlRecord::textWidth);
    return view;
  }

  ShapeGroup ControlGroup(const ControlView& control, const Box& client) const {
    ShapeGroup group;
    group.id = control.id;
    group.typeIndex = control.typeIndex;
    group.bounds = control.box;
    // Icons grow to their image's size, past a small rectangle.
    const bool icon = IsStatic(control.typeIndex) && (control.style & SS_TYPEMASK) == SS_ICON;
    group.clip = icon ? client : Intersect(control.box, client);
    group.faded = !(control.style & WS_VISIBLE);
    ControlPainter(control, font, group.shapes).Paint();
    return group;
  }

  void AddFrame(PreviewScene& scene, std::uint32_t style, std::uint32_t exStyle, const FrameLayout& frame,
                const std::string& caption) const {
    ShapeGroup window;
    RectShape outline;
    outline.box = {0, 0, scene.width, scene.height};
    outline.fill = ClassicColor::Face;
    if (frame.border >= 2) {
      outline.edge = Edge::Window;
    } else if (frame.border == 1) {
      outline.edge = (exStyle & WS_EX_STATICEDGE) && !(style & WS_BORDER) ? Edge::ThinSunken : Edge::Flat;
      outline.lineColor = ClassicColor::WindowFrame;
    }
    window.shapes.emplace_back(outline);
    if (frame.clientEdge > 0) {
      RectShape edge;
      edge.box = Inset(frame.client, -frame.clientEdge);
      edge.edge = Edge::Sunken;
      window.shapes.emplace_back(edge);
    }
    scene.groups.push_back(std::move(window));
    if (frame.captionHeight > 0)
      AddCaption(scene, style, exStyle, frame, caption);
  }

  void AddCaption(PreviewScene& scene, std::uint32_t style, std::uint32_t exStyle, const FrameLayout& frame,
                  const std::string& caption) const {
    ShapeGroup bar;
    const Box box{frame.border, frame.border, scene.width - 2 * frame.border, frame.captionHeight};
    RectShape background;
    background.box = box;
    background.fill = ClassicColor::ActiveCaption;
    background.gradientEnd = ClassicColor::GradientActiveCaption;
    bar.shapes.emplace_back(background);

    int textRight = box.x + box.width - 2;
    if (style & WS_SYSMENU) {
      const int buttonHeight = frame.captionHeight - 4;
      const int buttonWidth = buttonHeight + 2;
      const auto addButton = [&](int x, std::optional<MarkKind> mark, Rgb color) {
        const Box button{x, box.y + 2, buttonWidth, buttonHeight};
        RectShape face;
        face.box = button;
        face.edge = Edge::Button;
        face.fill = ClassicColor::Face;
        bar.shapes.emplace_back(face);
        if (mark)
          bar.shapes.emplace_back(MarkShape{*mark, {button.x, button.y, button.width - 1, button.height - 1}, color});
        textRight = x - 2;
        return button;
      };
      int x = box.x + box.width - 2 - buttonWidth;
      addButton(x, MarkKind::Close, ClassicColor::WindowText);
      const bool toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
      if ((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !toolWindow) {
        x -= 2 + buttonWidth;
        addButton(x, MarkKind::Maximize, (style & WS_MAXIMIZEBOX) ? ClassicColor::WindowText : ClassicColor::GrayText);
        x -= buttonWidth;
        addButton(x, MarkKind::Minimize, (style & WS_MINIMIZEBOX) ? ClassicColor::WindowText : ClassicColor::GrayText);
      } else if ((exStyle & WS_EX_CONTEXTHELP) && !toolWindow) {
        x -= 2 + buttonWidth;
        const Box help = addButton(x, std::nullopt, ClassicColor::WindowText);
        TextLayout question;
        question.box = help;
        question.text = "?";
        question.font = CaptionFont();
        question.align = TextAlign::Center;
        question.vertical = VerticalAlign::Center;
        question.mnemonic = false;
        AddText(bar.shapes, question);
      }
    }
    scene.groups.push_back(std::move(bar));

    ShapeGroup title;
    const Box textBox{box.x + 3, box.y, textRight - box.x - 3, box.height};
    title.clip = textBox;
    TextLayout layout;
    layout.box = textBox;
    layout.text = caption;
    layout.font = CaptionFont();
    layout.vertical = VerticalAlign::Center;
    layout.mnemonic = false;
    layout.color = ClassicColor::CaptionText;
    AddText(title.shapes, layout);
    scene.groups.push_back(std::move(title));
  }

  static SceneFont CaptionFont() { return {"Tahoma", 11, true}; }

  const Image& image;
  int codePage;
  SceneFont font;
};

}  // namespace

SceneBuild BuildDialogScene(const Image& image, int codePage) {
  return DialogPicture(image, codePage).Build();
}

}  // namespace trellane
