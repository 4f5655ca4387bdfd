// Texts in the pictures: their widths, mnemonics and line breaks, and the
// record texts and coordinates the dialog and menu pictures share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "preview/PreviewScene.h"

namespace trellane {

// Text widths and line heights as a sans-serif face of Arial's proportions
// gives them, each advance rounded to whole pixels as hinted text is.
int TextWidth(std::string_view utf8, const SceneFont& font);
int LineHeight(const SceneFont& font);
int Ascent(const SceneFont& font);

struct MnemonicText {
  std::string text;
  std::size_t underlineAt = std::string::npos;
  std::size_t underlineLength = 0;
};

// Drops the '&' that marks a mnemonic, remembering the character after it;
// "&&" is one '&'.
MnemonicText ResolveMnemonic(std::string_view utf8);

// Record coordinates beyond this are taken as this: the picture is at most
// MaxPreviewSide wide, and sums of two stay far from overflowing.
constexpr int MaxCoordinate = 1 << 20;

// No control text is this long; a broken file's text stops here.
constexpr std::size_t MaxTextLines = 64;

// The UTF-8 form of a record's text, read in codePage.
std::string DecodeRecordText(std::string_view bytes, int codePage);

// A stored signed 32-bit coordinate, limited to ±MaxCoordinate.
int ClampCoordinate(std::uint32_t stored);

enum class VerticalAlign { Top, Center, Bottom };

struct TextLayout {
  Box box;
  std::string_view text;  // UTF-8, with its '&' marks when mnemonic
  SceneFont font;
  TextAlign align = TextAlign::Left;
  VerticalAlign vertical = VerticalAlign::Top;
  bool wrap = false;      // break lines at blanks to fit the box's width
  bool mnemonic = true;   // '&' marks the underlined character
  bool disabled = false;  // embossed grey text
  Rgb color = ClassicColor::WindowText;
};

// Byte ranges of the lines of text: one per "\n", and more where wrapping
// breaks at a blank.
struct TextLine {
  std::size_t begin = 0;
  std::size_t end = 0;
};
std::vector<TextLine> WrapText(std::string_view text, const SceneFont& font, int width, bool wrap);

// Adds the text shapes that draw layout.text in layout.box.
void AddText(std::vector<Shape>& shapes, const TextLayout& layout);

}  // namespace trellane
