#include "preview/SvgWriter.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <variant>

namespace trellane {
namespace {

// Escapes text for XML; control characters XML cannot hold become U+FFFD.
std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
          out += "\xEF\xBF\xBD";
        else
          out.push_back(c);
    }
  }
  return out;
}

std::string Hex(Rgb color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", color.red, color.green, color.blue);
  return text;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string number = text;
  while (number.back() == '0')
    number.pop_back();
  if (number.back() == '.')
    number.pop_back();
  return number == "-0" ? "0" : number;
}

std::string BoxAttributes(const Box& box) {
  return "x=\"" + std::to_string(box.x) + "\" y=\"" + std::to_string(box.y) + "\" width=\"" +
         std::to_string(std::max(0, box.width)) + "\" height=\"" + std::to_string(std::max(0, box.height)) + "\"";
}

// A face list for font-family: quotes cannot stand inside a name.
std::string FontFamily(std::string_view face) {
  std::string family;
  for (const std::string& name : FallbackFaces(face)) {
    std::string clean;
    for (const char c : name) {
      if (c != '\'' && c != '"' && c != '\\' && c != ';')
        clean.push_back(c);
    }
    if (clean.empty())
      continue;
    const bool generic = clean == "sans-serif" || clean == "serif" || clean == "monospace";
    family += (family.empty() ? "" : ", ") + (generic ? clean : "'" + clean + "'");
  }
  return Escaped(family);
}

class SvgOutput {
 public:
  std::string Write(const PreviewScene& scene) {
    const std::string width = std::to_string(scene.width);
    const std::string height = std::to_string(scene.height);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "\" height=\"" + height +
           "\" viewBox=\"0 0 " + width + " " + height + "\">\n";
    out += "<title>" + Escaped(scene.title) + "</title>\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\" fill=\"" + Hex(scene.background) +
           "\"/>\n";
    for (const ShapeGroup& group : scene.groups)
      WriteGroup(group);
    out += "</svg>\n";
    return std::move(out);
  }

 private:
  void WriteGroup(const ShapeGroup& group) {
    std::string attributes;
    if (group.clip) {
      const std::string id = "clip" + std::to_string(++serial);
      out += "<clipPath id=\"" + id + "\"><rect " + BoxAttributes(*group.clip) + "/></clipPath>\n";
      attributes += " clip-path=\"url(#" + id + ")\"";
    }
    if (group.faded)
      attributes += " opacity=\"0.4\"";
    out += "<g" + attributes + ">\n";
    if (group.typeIndex) {
      out += "<rect data-id=\"" + Escaped(group.id) + "\" data-type=\"" + std::to_string(*group.typeIndex) + "\" " +
             BoxAttributes(group.bounds) + " fill=\"none\" stroke=\"none\"/>\n";
    }
    for (const Shape& shape : group.shapes)
      std::visit([this](const auto& drawn) { WriteShape(drawn); }, shape);
    out += "</g>\n";
  }

  void FilledBox(const Box& box, const std::string& fill) {
    if (box.width <= 0 || box.height <= 0)
      return;
    out += "<rect " + BoxAttributes(box) + " fill=\"" + fill + "\" shape-rendering=\"crispEdges\"/>\n";
  }

  void WriteShape(const RectShape& rect) {
    if (rect.fill) {
      const Box inside = InsideEdge(rect);
      if (rect.gradientEnd && inside.width > 0 && inside.height > 0) {
        const std::string id = "gradient" + std::to_string(++serial);
        out += "<linearGradient id=\"" + id + "\"><stop offset=\"0\" stop-color=\"" + Hex(*rect.fill) +
               "\"/><stop offset=\"1\" stop-color=\"" + Hex(*rect.gradientEnd) + "\"/></linearGradient>\n";
        FilledBox(inside, "url(#" + id + ")");
      } else {
        FilledBox(inside, Hex(*rect.fill));
      }
    }
    for (const Band& band : EdgeBands(rect))
      FilledBox(band.box, Hex(band.color));
  }

  void WriteShape(const LineShape& line) {
    const int left = std::min(line.x1, line.x2);
    const int top = std::min(line.y1, line.y2);
    FilledBox({left, top, std::max(line.x1, line.x2) - left + 1, std::max(line.y1, line.y2) - top + 1},
              Hex(line.color));
  }

  void WriteShape(const TextShape& text) {
    out += "<text x=\"" + std::to_string(text.x) + "\" y=\"" + std::to_string(text.baseline) + "\" font-family=\"" +
           FontFamily(text.font.face) + "\" font-size=\"" + std::to_string(text.font.pixelHeight) + "\"";
    if (text.font.bold)
      out += " font-weight=\"bold\"";
    if (text.align == TextAlign::Center)
      out += " text-anchor=\"middle\"";
    else if (text.align == TextAlign::Right)
      out += " text-anchor=\"end\"";
    out += " fill=\"" + Hex(text.color) + "\" xml:space=\"preserve\">";
    const std::string_view whole = text.text;
    if (text.underlineAt < whole.size()) {
      const std::size_t length = std::min(text.underlineLength, whole.size() - text.underlineAt);
      out += Escaped(whole.substr(0, text.underlineAt));
      out += "<tspan text-decoration=\"underline\">" + Escaped(whole.substr(text.underlineAt, length)) + "</tspan>";
      out += Escaped(whole.substr(text.underlineAt + length));
    } else {
      out += Escaped(whole);
    }
    out += "</text>\n";
  }

  void WriteShape(const MarkShape& mark) {
    for (const MarkPath& path : MarkPaths(mark)) {
      std::string points;
      for (const PointF& point : path.points)
        points += (points.empty() ? "" : " ") + Number(point.x) + "," + Number(point.y);
      if (path.filled) {
        out += "<polygon points=\"" + points + "\" fill=\"" + Hex(path.color) + "\"/>\n";
      } else {
        out += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + Hex(path.color) + "\" stroke-width=\"" +
               Number(path.lineWidth) + "\"/>\n";
      }
    }
  }

  std::string out;
  int serial = 0;
};

}  // namespace

std::string WriteSvg(const PreviewScene& scene) {
  return SvgOutput().Write(scene);
}

}  // namespace trellane
