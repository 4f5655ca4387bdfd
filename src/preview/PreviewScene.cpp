#include "preview/PreviewScene.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "text/AsciiCase.h"

namespace trellane {
namespace {

// Draws the top and left sides in topLeft and the bottom and right sides,
// which take the corners they share, in bottomRight, as DrawEdge does.
void AddRing(std::vector<Band>& bands, const Box& box, Rgb topLeft, Rgb bottomRight) {
  if (box.width <= 0 || box.height <= 0)
    return;
  bands.push_back({{box.x, box.y, box.width - 1, 1}, topLeft});
  bands.push_back({{box.x, box.y, 1, box.height - 1}, topLeft});
  bands.push_back({{box.x, box.y + box.height - 1, box.width, 1}, bottomRight});
  bands.push_back({{box.x + box.width - 1, box.y, 1, box.height}, bottomRight});
}

Box Inset(const Box& box, int by) {
  return {box.x + by, box.y + by, box.width - 2 * by, box.height - 2 * by};
}

int EdgeWidth(Edge edge) {
  switch (edge) {
    case Edge::None:
      return 0;
    case Edge::Flat:
    case Edge::ThinSunken:
      return 1;
    case Edge::Button:
    case Edge::Window:
    case Edge::Sunken:
    case Edge::Etched:
      return 2;
    case Edge::DefaultButton:
      return 3;
  }
  return 0;
}

constexpr double Pi = 3.14159265358979323846;

// A disc, or the part of it from one angle to another (degrees, counter-
// clockwise from the right, y growing downwards), as a polygon.
MarkPath Disc(double centreX, double centreY, double radius, Rgb color, double from = 0, double to = 360) {
  MarkPath path;
  path.color = color;
  constexpr int Steps = 32;
  for (int step = 0; step <= Steps; ++step) {
    const double angle = (from + (to - from) * step / Steps) * Pi / 180;
    path.points.push_back({centreX + radius * std::cos(angle), centreY - radius * std::sin(angle)});
  }
  return path;
}

MarkPath Polygon(std::vector<PointF> points, Rgb color) {
  MarkPath path;
  path.points = std::move(points);
  path.color = color;
  return path;
}

MarkPath Polyline(std::vector<PointF> points, double lineWidth, Rgb color) {
  MarkPath path = Polygon(std::move(points), color);
  path.filled = false;
  path.lineWidth = lineWidth;
  return path;
}

MarkPath FilledBox(double x, double y, double width, double height, Rgb color) {
  return Polygon({{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}}, color);
}

}  // namespace

std::vector<Band> EdgeBands(const RectShape& rect) {
  std::vector<Band> bands;
  const Box outer = rect.box;
  const Box inner = Inset(outer, 1);
  switch (rect.edge) {
    case Edge::None:
      break;
    case Edge::Flat:
      AddRing(bands, outer, rect.lineColor, rect.lineColor);
      break;
    case Edge::Button:
      AddRing(bands, outer, ClassicColor::Highlight, ClassicColor::DarkShadow);
      AddRing(bands, inner, ClassicColor::Light, ClassicColor::Shadow);
      break;
    case Edge::Window:
      AddRing(bands, outer, ClassicColor::Light, ClassicColor::DarkShadow);
      AddRing(bands, inner, ClassicColor::Highlight, ClassicColor::Shadow);
      break;
    case Edge::Sunken:
      AddRing(bands, outer, ClassicColor::Shadow, ClassicColor::Highlight);
      AddRing(bands, inner, ClassicColor::DarkShadow, ClassicColor::Light);
      break;
    case Edge::ThinSunken:
      AddRing(bands, outer, ClassicColor::Shadow, ClassicColor::Highlight);
      break;
    case Edge::Etched:
      AddRing(bands, outer, ClassicColor::Shadow, ClassicColor::Highlight);
      AddRing(bands, inner, ClassicColor::Highlight, ClassicColor::Shadow);
      break;
    case Edge::DefaultButton:
      AddRing(bands, outer, ClassicColor::WindowFrame, ClassicColor::WindowFrame);
      AddRing(bands, inner, ClassicColor::Highlight, ClassicColor::DarkShadow);
      AddRing(bands, Inset(outer, 2), ClassicColor::Light, ClassicColor::Shadow);
      break;
  }
  return bands;
}

Box InsideEdge(const RectShape& rect) {
  return Inset(rect.box, EdgeWidth(rect.edge));
}

std::vector<MarkPath> MarkPaths(const MarkShape& mark) {
  const Box& box = mark.box;
  const double centreX = box.x + box.width / 2.0;
  const double centreY = box.y + box.height / 2.0;
  const Rgb color = mark.color;
  switch (mark.kind) {
    case MarkKind::Check:
      return {Polyline({{centreX - 3, centreY - 0.5}, {centreX - 1, centreY + 1.5}, {centreX + 3, centreY - 2.5}}, 2,
                       color)};
    case MarkKind::Bullet:
      return {Disc(centreX, centreY, 3, color)};
    case MarkKind::RadioButton: {
      // The 3-D ring: shadow above and left of the diagonal, light below it;
      // the mark's colour fills the middle.
      const double x = box.x + 6.0;
      const double y = box.y + 6.0;
      return {Disc(x, y, 6, ClassicColor::Highlight), Disc(x, y, 6, ClassicColor::Shadow, 45, 225),
              Disc(x, y, 5, ClassicColor::Light), Disc(x, y, 5, ClassicColor::DarkShadow, 45, 225),
              Disc(x, y, 4, color)};
    }
    case MarkKind::Close:
      return {Polyline({{centreX - 3.5, centreY - 3}, {centreX + 3.5, centreY + 3}}, 1.7, color),
              Polyline({{centreX + 3.5, centreY - 3}, {centreX - 3.5, centreY + 3}}, 1.7, color)};
    case MarkKind::Minimize:
      return {FilledBox(centreX - 4, centreY + 1.5, 6, 2, color)};
    case MarkKind::Maximize:
      return {FilledBox(centreX - 4.5, centreY - 4, 9, 2, color), Polyline({{centreX - 4, centreY - 3},
                                                                            {centreX - 4, centreY + 3.5},
                                                                            {centreX + 4, centreY + 3.5},
                                                                            {centreX + 4, centreY - 3}},
                                                                           1, color)};
    case MarkKind::ArrowUp:
      return {Polygon({{centreX - 3.5, centreY + 2}, {centreX + 3.5, centreY + 2}, {centreX, centreY - 1.5}}, color)};
    case MarkKind::ArrowDown:
      return {Polygon({{centreX - 3.5, centreY - 1.5}, {centreX + 3.5, centreY - 1.5}, {centreX, centreY + 2}}, color)};
    case MarkKind::ArrowLeft:
      return {Polygon({{centreX + 2, centreY - 3.5}, {centreX + 2, centreY + 3.5}, {centreX - 1.5, centreY}}, color)};
    case MarkKind::ArrowRight:
      return {Polygon({{centreX - 1.5, centreY - 3.5}, {centreX - 1.5, centreY + 3.5}, {centreX + 2, centreY}}, color)};
    case MarkKind::Icon: {
      // A small application window: the usual look of a program's icon.
      const double side = std::min(box.width, box.height) * 0.75;
      const double left = centreX - side / 2;
      const double top = centreY - side * 0.4;
      return {
          FilledBox(left, top, side, side * 0.8, ClassicColor::Window),
          FilledBox(left, top, side, side * 0.2, ClassicColor::ActiveCaption),
          Polyline(
              {{left, top}, {left + side, top}, {left + side, top + side * 0.8}, {left, top + side * 0.8}, {left, top}},
              1, ClassicColor::DarkShadow)};
    }
    case MarkKind::Picture: {
      // Hills under a sun: a picture whose bits are not known.
      const double side = std::min(box.width, box.height) * 0.8;
      const double left = centreX - side / 2;
      const double bottom = centreY + side * 0.35;
      return {Disc(left + side * 0.7, centreY - side * 0.15, side * 0.12, ClassicColor::GrayText),
              Polygon({{left, bottom},
                       {left + side * 0.35, centreY - side * 0.1},
                       {left + side * 0.6, centreY + side * 0.15},
                       {left + side * 0.75, centreY + side * 0.05},
                       {left + side, bottom}},
                      ClassicColor::Shadow)};
    }
  }
  return {};
}

std::vector<std::string> FallbackFaces(std::string_view face) {
  const std::string lower = AsciiLowered(face);
  const auto among = [&lower](std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
      if (lower == name)
        return true;
    }
    return false;
  };
  std::vector<std::string> faces;
  if (!face.empty())
    faces.emplace_back(face);
  if (among({"courier new", "courier", "fixedsys", "terminal", "lucida console", "consolas"})) {
    faces.insert(faces.end(), {"Liberation Mono", "Cousine", "Courier New", "monospace"});
  } else if (among({"times new roman", "times", "ms serif", "georgia"})) {
    faces.insert(faces.end(), {"Liberation Serif", "Tinos", "Times New Roman", "serif"});
  } else {
    faces.insert(faces.end(), {"Liberation Sans", "Arimo", "Arial", "sans-serif"});
  }
  return faces;
}

}  // namespace trellane
