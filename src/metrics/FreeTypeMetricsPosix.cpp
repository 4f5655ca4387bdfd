#include <fontconfig/fontconfig.h>
#include <ft2build.h>

#include "metrics/FreeTypeMetrics.h"
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cstdint>
#include <optional>
#include <string>

#include "metrics/DialogUnits.h"
#include "metrics/FixedMetrics.h"
#include "metrics/KnownFonts.h"
#include "metrics/PlatformMetrics.h"

namespace trellane {
namespace {

constexpr char Sample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

bool SameFace(std::string_view a, std::string_view b) {
  return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(std::string(a).c_str()),
                            reinterpret_cast<const FcChar8*>(std::string(b).c_str())) == 0;
}

// The font file fontconfig offers for a face, weight and slant, and whether
// one of its family names is that very face. A family without an italic face
// gives its upright one, whose figures GDI keeps when it slants the glyphs.
struct FontFile {
  std::string path;
  int index = 0;
  std::string family;  // the first family name of the match
  bool exact = false;
};

std::optional<FontFile> FindFontFile(FcConfig* config, const FontDescription& font) {
  const std::string& face = font.face;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern)
    return std::nullopt;
  if (!face.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  const int openTypeWeight = font.weight > 0 && font.weight <= 1000 ? font.weight : 400;
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(openTypeWeight));
  FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult outcome = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &outcome);
  FcPatternDestroy(pattern);
  if (!match)
    return std::nullopt;

  std::optional<FontFile> found;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
    FontFile fontFile;
    fontFile.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &fontFile.index);
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
      const std::string name = reinterpret_cast<const char*>(family);
      if (i == 0)
        fontFile.family = name;
      if (SameFace(name, face))
        fontFile.exact = true;
    }
    found = fontFile;
  }
  FcPatternDestroy(match);
  return found;
}

// tmHeight and the sample's extent as GDI gives them for a TrueType face at
// an em height of ppem pixels: ascent and descent are usWinAscent and
// usWinDescent scaled and rounded each, and the extent is the sum of the
// hinted advance widths, each rounded up to whole pixels, without kerning.
std::optional<FontMeasurement> MeasureFile(FT_Library library, const FontFile& file, std::int32_t height) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0)
    return std::nullopt;
  std::optional<FontMeasurement> measurement;
  TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  FT_Long ascent = face->ascender;
  FT_Long descent = -face->descender;
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
  }
  // A positive height is the cell height, ascent plus descent.
  FT_UInt ppem = static_cast<FT_UInt>(height < 0 ? -static_cast<std::int64_t>(height) : height);
  if (height > 0 && ascent + descent > 0 && face->units_per_EM > 0)
    ppem = static_cast<FT_UInt>(MulDiv(height, face->units_per_EM, static_cast<std::int32_t>(ascent + descent)));
  if (ppem > 0 && ppem <= 0xFFFF && FT_Set_Pixel_Sizes(face, 0, ppem) == 0) {
    const FT_Fixed scale = face->size->metrics.y_scale;
    const FT_Long textHeight = ((FT_MulFix(ascent, scale) + 32) >> 6) + ((FT_MulFix(descent, scale) + 32) >> 6);
    FT_Long width = 0;
    bool complete = true;
    for (const char* letter = Sample; *letter; ++letter) {
      if (FT_Load_Char(face, static_cast<FT_ULong>(*letter), FT_LOAD_DEFAULT) != 0) {
        complete = false;
        break;
      }
      width += (face->glyph->metrics.horiAdvance + 63) >> 6;
    }
    if (complete)
      measurement = FontMeasurement{static_cast<std::int32_t>(textHeight), static_cast<std::int32_t>(width)};
  }
  FT_Done_Face(face);
  return measurement;
}

class FreeTypeMetrics final : public DisplayMetrics {
 public:
  explicit FreeTypeMetrics(std::int32_t pixelsPerInch) : dotsPerInch(pixelsPerInch) {
    if (FT_Init_FreeType(&library) != 0)
      library = nullptr;
    // A configuration of its own, so that nothing of fontconfig outlives it.
    fontconfig = FcInitLoadConfigAndFonts();
  }

  ~FreeTypeMetrics() override {
    if (library)
      FT_Done_FreeType(library);
    if (fontconfig)
      FcConfigDestroy(fontconfig);
  }

  FreeTypeMetrics(const FreeTypeMetrics&) = delete;
  FreeTypeMetrics& operator=(const FreeTypeMetrics&) = delete;

  std::uint32_t SystemDialogBaseUnits() override {
    const DialogBaseUnits units = DefaultSystemBaseUnits(dotsPerInch);
    return (static_cast<std::uint32_t>(units.baseY & 0xFFFF) << 16) | static_cast<std::uint32_t>(units.baseX & 0xFFFF);
  }

  std::int32_t VerticalPixelsPerInch() override { return dotsPerInch; }

  FontMeasurement MeasureFont(const FontDescription& font, Diagnostics& diagnostics) override {
    const std::optional<FontFile> file = fontconfig ? FindFontFile(fontconfig, font) : std::nullopt;
    if (!file || !file->exact) {
      if (const auto known = KnownWindowsMeasurement(font.face, font.height))
        return *known;
    }
    if (file && library) {
      if (const auto measured = MeasureFile(library, *file, font.height)) {
        if (!file->exact)
          Warn(diagnostics, 0,
               "font \"" + font.face + "\" is not installed; measured on its substitute \"" + file->family + "\"");
        return *measured;
      }
    }
    const FontMeasurement estimate = EstimatedMeasurement(font.height);
    Warn(diagnostics, 0,
         "font \"" + font.face + "\" could not be measured" + (file ? " (" + file->path + " does not load)" : "") +
             "; estimated metrics used: height " + std::to_string(estimate.textHeight) + ", sample width " +
             std::to_string(estimate.sampleWidth));
    return estimate;
  }

  FrameSize WindowFrame(std::uint32_t style, std::uint32_t exStyle, bool hasMenu) override {
    return ComputeWindowFrame(style, exStyle, hasMenu);
  }

 private:
  std::int32_t dotsPerInch;
  FT_Library library = nullptr;
  FcConfig* fontconfig = nullptr;
};

}  // namespace

std::unique_ptr<DisplayMetrics> MakeFreeTypeMetrics(std::int32_t pixelsPerInch) {
  return std::make_unique<FreeTypeMetrics>(pixelsPerInch);
}

std::unique_ptr<DisplayMetrics> MakePlatformMetrics(std::optional<std::int32_t> pixelsPerInch) {
  return MakeFreeTypeMetrics(pixelsPerInch.value_or(96));
}

}  // namespace trellane
