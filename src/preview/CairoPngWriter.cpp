#include "preview/CairoPngWriter.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "text/AsciiCase.h"

namespace trellane {
namespace {

// Whether fontconfig has the family itself rather than a stand-in for it.
bool FamilyInstalled(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern)
    return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  bool installed = false;
  FcChar8* found = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch && found)
    installed = SameLetters(reinterpret_cast<const char*>(found), family);
  if (match)
    FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return installed;
}

// The length of the UTF-8 sequence at `at`.
std::size_t CharacterBytes(std::string_view utf8, std::size_t at) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(length, utf8.size() - at);
}

// Whether the character at `at` is of the CJK, kana or Hangul blocks (U+2E80
// to U+FFEF but the private-use area), which the Windows faces' stand-ins lack.
bool CjkAt(std::string_view utf8, std::size_t at) {
  if (at + 2 >= utf8.size())
    return false;
  const auto lead = static_cast<unsigned char>(utf8[at]);
  const auto next = static_cast<unsigned char>(utf8[at + 1]);
  return (lead == 0xE2 && next >= 0xBA) || (lead >= 0xE3 && lead <= 0xED) || (lead == 0xEF && next >= 0xA4);
}

// Faces Debian packages for CJK texts, the first one installed drawing them.
const std::vector<std::string> CjkFaces = {"Noto Sans CJK JP", "WenQuanYi Micro Hei", "Droid Sans Fallback"};

void SetColor(cairo_t* cairo, Rgb color) {
  cairo_set_source_rgb(cairo, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
}

void FillBox(cairo_t* cairo, const Box& box) {
  if (box.width <= 0 || box.height <= 0)
    return;
  cairo_rectangle(cairo, box.x, box.y, box.width, box.height);
  cairo_fill(cairo);
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  // No exception may cross cairo's C frames.
  try {
    auto* bytes = static_cast<Image*>(closure);
    bytes->insert(bytes->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    return CAIRO_STATUS_NO_MEMORY;
  }
  return CAIRO_STATUS_SUCCESS;
}

class CairoPainter {
 public:
  explicit CairoPainter(cairo_t* context) : cairo(context) {
    options = cairo_font_options_create();
    // Windows 2000 draws its dialog fonts hinted to the pixel grid.
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  }
  CairoPainter(const CairoPainter&) = delete;
  CairoPainter& operator=(const CairoPainter&) = delete;
  ~CairoPainter() { cairo_font_options_destroy(options); }

  void Paint(const PreviewScene& scene) {
    SetColor(cairo, scene.background);
    cairo_paint(cairo);
    for (const ShapeGroup& group : scene.groups) {
      cairo_save(cairo);
      if (group.clip) {
        cairo_rectangle(cairo, group.clip->x, group.clip->y, std::max(0, group.clip->width),
                        std::max(0, group.clip->height));
        cairo_clip(cairo);
      }
      if (group.faded)
        cairo_push_group(cairo);
      for (const Shape& shape : group.shapes)
        std::visit([this](const auto& drawn) { Draw(drawn); }, shape);
      if (group.faded) {
        cairo_pop_group_to_source(cairo);
        cairo_paint_with_alpha(cairo, 0.4);
      }
      cairo_restore(cairo);
    }
  }

 private:
  void Draw(const RectShape& rect) {
    if (rect.fill) {
      const Box inside = InsideEdge(rect);
      if (rect.gradientEnd && inside.width > 0) {
        cairo_pattern_t* gradient = cairo_pattern_create_linear(inside.x, 0, inside.x + inside.width, 0);
        const Rgb from = *rect.fill;
        const Rgb to = *rect.gradientEnd;
        cairo_pattern_add_color_stop_rgb(gradient, 0, from.red / 255.0, from.green / 255.0, from.blue / 255.0);
        cairo_pattern_add_color_stop_rgb(gradient, 1, to.red / 255.0, to.green / 255.0, to.blue / 255.0);
        cairo_set_source(cairo, gradient);
        FillBox(cairo, inside);
        cairo_pattern_destroy(gradient);
      } else {
        SetColor(cairo, *rect.fill);
        FillBox(cairo, inside);
      }
    }
    for (const Band& band : EdgeBands(rect)) {
      SetColor(cairo, band.color);
      FillBox(cairo, band.box);
    }
  }

  void Draw(const LineShape& line) {
    const int left = std::min(line.x1, line.x2);
    const int top = std::min(line.y1, line.y2);
    SetColor(cairo, line.color);
    FillBox(cairo, {left, top, std::max(line.x1, line.x2) - left + 1, std::max(line.y1, line.y2) - top + 1});
  }

  void Draw(const TextShape& text) {
    if (text.text.empty())
      return;
    SetColor(cairo, text.color);
    const double width = Advance(text.text, text.font);
    double x = text.x;
    if (text.align == TextAlign::Center)
      x = std::round(text.x - width / 2);
    else if (text.align == TextAlign::Right)
      x = text.x - width;
    cairo_move_to(cairo, x, text.baseline);
    ForEachRun(text.text, text.font, [&](const std::string& run) { cairo_show_text(cairo, run.c_str()); });
    if (text.underlineAt < text.text.size()) {
      const double lead = Advance(text.text.substr(0, text.underlineAt), text.font);
      const double character = Advance(text.text.substr(text.underlineAt, text.underlineLength), text.font);
      cairo_rectangle(cairo, std::round(x + lead), text.baseline + 1, std::round(character), 1);
      cairo_fill(cairo);
    }
  }

  // Calls draw for each run of the text in one face, the face selected: CJK
  // characters in a CJK face, the rest in the dialog's font.
  template <typename Draw>
  void ForEachRun(const std::string& text, const SceneFont& font, Draw draw) {
    std::size_t start = 0;
    while (start < text.size()) {
      const bool cjk = CjkAt(text, start);
      std::size_t end = start;
      while (end < text.size() && CjkAt(text, end) == cjk)
        end += CharacterBytes(text, end);
      SelectFont(font, cjk);
      draw(text.substr(start, end - start));
      start = end;
    }
  }

  double Advance(const std::string& text, const SceneFont& font) {
    double width = 0;
    ForEachRun(text, font, [&](const std::string& run) {
      cairo_text_extents_t extents;
      cairo_text_extents(cairo, run.c_str(), &extents);
      width += extents.x_advance;
    });
    return width;
  }

  void Draw(const MarkShape& mark) {
    for (const MarkPath& path : MarkPaths(mark)) {
      if (path.points.empty())
        continue;
      cairo_new_path(cairo);
      cairo_move_to(cairo, path.points.front().x, path.points.front().y);
      for (std::size_t i = 1; i < path.points.size(); ++i)
        cairo_line_to(cairo, path.points[i].x, path.points[i].y);
      SetColor(cairo, path.color);
      if (path.filled) {
        cairo_close_path(cairo);
        cairo_fill(cairo);
      } else {
        cairo_set_line_width(cairo, path.lineWidth);
        cairo_stroke(cairo);
      }
    }
  }

  // The first of the face's stand-ins fontconfig has, found once per face.
  void SelectFont(const SceneFont& font, bool cjk) {
    const std::string key = cjk ? std::string("\n") : font.face;  // no face is named "\n"
    auto found = families.find(key);
    if (found == families.end()) {
      const std::vector<std::string> faces = cjk ? CjkFaces : FallbackFaces(font.face);
      std::string chosen = faces.back();
      for (const std::string& face : faces) {
        if (FamilyInstalled(face)) {
          chosen = face;
          break;
        }
      }
      found = families.emplace(key, chosen).first;
    }
    cairo_select_font_face(cairo, found->second.c_str(), CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, font.pixelHeight);
    cairo_set_font_options(cairo, options);
  }

  cairo_t* cairo;
  cairo_font_options_t* options;
  std::map<std::string, std::string> families;
};

}  // namespace

PngPicture WritePng(const PreviewScene& scene) {
  PngPicture picture;
  if (scene.width < 1 || scene.height < 1 || scene.width > MaxPreviewSide || scene.height > MaxPreviewSide) {
    picture.problem =
        "a picture of " + std::to_string(scene.width) + "x" + std::to_string(scene.height) + " pixels cannot be drawn";
    return picture;
  }
  const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, scene.width, scene.height), &cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    picture.problem = cairo_status_to_string(cairo_surface_status(surface.get()));
    return picture;
  }
  {
    const std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cairo(cairo_create(surface.get()), &cairo_destroy);
    CairoPainter painter(cairo.get());
    painter.Paint(scene);
    if (cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS) {
      picture.problem = cairo_status_to_string(cairo_status(cairo.get()));
      return picture;
    }
  }
  cairo_surface_flush(surface.get());
  const cairo_status_t written = cairo_surface_write_to_png_stream(surface.get(), AppendBytes, &picture.bytes);
  if (written != CAIRO_STATUS_SUCCESS) {
    picture.problem = cairo_status_to_string(written);
    picture.bytes.clear();
    return picture;
  }
  picture.ok = true;
  return picture;
}

}  // namespace trellane
