// The drawing model of dialog and menu pictures in the classic Windows look:
// lists of primitives that the SVG and PNG writers draw the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace trellane {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// The system colours of the "Windows Classic" scheme.
namespace ClassicColor {
constexpr Rgb Face{212, 208, 200};
constexpr Rgb Highlight{255, 255, 255};
constexpr Rgb Light{212, 208, 200};
constexpr Rgb Shadow{128, 128, 128};
constexpr Rgb DarkShadow{64, 64, 64};
constexpr Rgb Window{255, 255, 255};
constexpr Rgb WindowText{0, 0, 0};
constexpr Rgb GrayText{128, 128, 128};
constexpr Rgb WindowFrame{0, 0, 0};
constexpr Rgb ActiveCaption{10, 36, 106};
constexpr Rgb GradientActiveCaption{166, 202, 240};
constexpr Rgb CaptionText{255, 255, 255};
constexpr Rgb ScrollTrack{234, 232, 228};  // the highlight-and-face dither, as one colour
constexpr Rgb AppWorkspace{128, 128, 128};
}  // namespace ClassicColor

struct Box {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The edges DrawEdge and DrawFrameControl draw, each one or two pixels wide.
enum class Edge {
  None,
  Flat,           // one pixel of lineColor
  Button,         // raised, two pixels, white outside
  Window,         // raised, two pixels, face outside
  Sunken,         // a client edge
  ThinSunken,     // a static edge
  Etched,         // a group box's frame
  DefaultButton,  // one black pixel around a raised button
};

struct RectShape {
  Box box;
  Edge edge = Edge::None;
  std::optional<Rgb> fill;         // inside the edge
  std::optional<Rgb> gradientEnd;  // the fill runs from left to right into this colour
  Rgb lineColor;                   // of a Flat edge
};

// A horizontal or vertical line one pixel wide, both ends included.
struct LineShape {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  Rgb color;
};

struct SceneFont {
  std::string face;
  int pixelHeight = 11;  // the em height, as a negative LOGFONT height
  bool bold = false;
};

enum class TextAlign { Left, Center, Right };

struct TextShape {
  std::string text;  // UTF-8, mnemonics resolved
  int x = 0;         // the left end, the middle or the right end, as align says
  int baseline = 0;
  TextAlign align = TextAlign::Left;
  std::size_t underlineAt = std::string::npos;  // byte offset of the mnemonic's character
  std::size_t underlineLength = 0;
  SceneFont font;
  Rgb color;
};

enum class MarkKind {
  Check,
  Bullet,
  RadioButton,  // the unchecked 3-D circle, 12 pixels across
  Close,
  Minimize,
  Maximize,
  ArrowUp,
  ArrowDown,
  ArrowLeft,
  ArrowRight,
  Icon,
  Picture,
};

struct MarkShape {
  MarkKind kind = MarkKind::Check;
  Box box;
  Rgb color;
};

using Shape = std::variant<RectShape, LineShape, TextShape, MarkShape>;

// A control, the window frame or a menu box. A control's group carries its
// identifier, its RadASM type and its rectangle in window coordinates.
struct ShapeGroup {
  std::string id;
  std::optional<std::uint32_t> typeIndex;
  Box bounds;
  std::optional<Box> clip;
  bool faded = false;  // a control without WS_VISIBLE: drawn, but pale
  std::vector<Shape> shapes;
};

struct PreviewScene {
  int width = 0;
  int height = 0;
  std::string title;
  Rgb background = ClassicColor::Face;
  std::vector<ShapeGroup> groups;
};

struct SceneBuild {
  bool ok = false;
  std::string problem;  // why there is no picture, when !ok
  PreviewScene scene;
  std::size_t recordCount = 0;  // controls or menu items
};

// Larger pictures are refused: no dialog is that big, and the PNG surface
// would take gigabytes.
constexpr int MaxPreviewSide = 8192;

// A dialog template counts its controls in 16 bits, and no more menu items
// fit in a picture of that size: larger files are refused before drawing.
constexpr std::size_t MaxPreviewRecords = 65535;

// The one-pixel bands that draw a rectangle's edge, in drawing order.
struct Band {
  Box box;
  Rgb color;
};
std::vector<Band> EdgeBands(const RectShape& rect);

// The part of a rectangle inside its edge.
Box InsideEdge(const RectShape& rect);

struct PointF {
  double x = 0;
  double y = 0;
};

// A filled polygon or an open polyline.
struct MarkPath {
  std::vector<PointF> points;
  bool filled = true;
  double lineWidth = 1;
  Rgb color;
};

// The outlines that draw a mark in its box, in drawing order.
std::vector<MarkPath> MarkPaths(const MarkShape& mark);

// The face, then faces of the same look that other systems have, for fonts
// that only Windows installs.
std::vector<std::string> FallbackFaces(std::string_view face);

}  // namespace trellane
