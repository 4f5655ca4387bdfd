#include "preview/SceneText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "script/SourceText.h"

namespace trellane {
namespace {

// Advances of ' ' to '~' in 2048ths of an em, as Arial and its metric twins
// (Liberation Sans, Arimo) have them: the widths the PNG writer's stand-in
// faces draw, and close to Tahoma's and MS Sans Serif's.
// clang-format off
constexpr std::array<int, 95> AsciiAdvances{
    569,  569,  727,  1139, 1139, 1821, 1366, 391,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569,  569,  1196, 1196, 1196, 1139,
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1024, 1366, 1139, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569,  569,  569,  961,  1139,
    682,  1139, 1139, 1024, 1139, 1139, 569,  1139, 1139, 455,  455,  1024, 455,  1706, 1139, 1139,
    1139, 1139, 682,  1024, 569,  1139, 1024, 1479, 1024, 1024, 1024, 684,  532,  684,  1196,
};
// clang-format on
constexpr int OtherAdvance = 1139;

bool IsContinuationByte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::size_t CharacterLength(std::string_view utf8, std::size_t at) {
  std::size_t length = 1;
  while (at + length < utf8.size() && IsContinuationByte(utf8[at + length]))
    ++length;
  return length;
}

}  // namespace

int TextWidth(std::string_view utf8, const SceneFont& font) {
  int width = 0;
  for (std::size_t at = 0; at < utf8.size(); at += CharacterLength(utf8, at)) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    const int advance = byte >= 0x20 && byte < 0x7F ? AsciiAdvances[byte - 0x20] : OtherAdvance;
    // Bold faces run about seven hundredths wider.
    const int scaled = font.bold ? advance * 107 / 100 : advance;
    width += (scaled * font.pixelHeight + 1024) / 2048;
  }
  return width;
}

int LineHeight(const SceneFont& font) {
  return (font.pixelHeight * 115 + 50) / 100;
}

int Ascent(const SceneFont& font) {
  return (font.pixelHeight * 905 + 500) / 1000;
}

MnemonicText ResolveMnemonic(std::string_view utf8) {
  MnemonicText resolved;
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    if (utf8[at] != '&') {
      resolved.text.push_back(utf8[at]);
      continue;
    }
    if (at + 1 >= utf8.size())
      break;
    if (utf8[at + 1] == '&') {
      resolved.text.push_back('&');
      ++at;
      continue;
    }
    if (resolved.underlineAt == std::string::npos) {
      resolved.underlineAt = resolved.text.size();
      resolved.underlineLength = CharacterLength(utf8, at + 1);
    }
  }
  return resolved;
}

std::string DecodeRecordText(std::string_view bytes, int codePage) {
  std::string utf8;
  std::size_t invalid = 0;
  AppendFromCodePage(utf8, bytes, codePage, invalid);
  return utf8;
}

int ClampCoordinate(std::uint32_t stored) {
  const auto value = static_cast<std::int32_t>(stored);
  return value < -MaxCoordinate ? -MaxCoordinate : value > MaxCoordinate ? MaxCoordinate : value;
}

std::vector<TextLine> WrapText(std::string_view text, const SceneFont& font, int width, bool wrap) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  while (start <= text.size() && lines.size() < MaxTextLines) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
      end = text.size();
    std::size_t lineStart = start;
    // Each pass emits one line and moves lineStart past it.
    while (lines.size() < MaxTextLines) {
      const std::string_view rest = text.substr(lineStart, end - lineStart);
      if (!wrap || TextWidth(rest, font) <= width) {
        lines.push_back({lineStart, end});
        break;
      }
      std::size_t breakAt = std::string_view::npos;
      for (std::size_t space = rest.find(' '); space != std::string_view::npos; space = rest.find(' ', space + 1)) {
        if (space > 0 && TextWidth(rest.substr(0, space), font) > width)
          break;
        breakAt = space;
      }
      // A first word wider than the line stands alone and is cut by the clip.
      if (breakAt == std::string_view::npos || breakAt == 0)
        breakAt = rest.find(' ', 1);
      if (breakAt == std::string_view::npos) {
        lines.push_back({lineStart, end});
        break;
      }
      lines.push_back({lineStart, lineStart + breakAt});
      lineStart += breakAt + 1;
    }
    start = end + 1;
  }
  return lines;
}

void AddText(std::vector<Shape>& shapes, const TextLayout& layout) {
  MnemonicText resolved;
  if (layout.mnemonic) {
    resolved = ResolveMnemonic(layout.text);
  } else {
    resolved.text = layout.text;
  }
  // Line ends are "\r\n" in scripts; a tab is as wide as a blank here.
  std::string text;
  for (std::size_t at = 0; at < resolved.text.size(); ++at) {
    const char c = resolved.text[at];
    if (c == '\r' && at + 1 < resolved.text.size() && resolved.text[at + 1] == '\n') {
      if (resolved.underlineAt != std::string::npos && resolved.underlineAt > text.size())
        --resolved.underlineAt;
      continue;
    }
    text.push_back(c == '\t' || c == '\r' ? ' ' : c);
  }
  if (text.empty())
    return;

  const std::vector<TextLine> lines = WrapText(text, layout.font, layout.box.width, layout.wrap);
  const int lineHeight = LineHeight(layout.font);
  const int total = lineHeight * static_cast<int>(lines.size());
  int top = layout.box.y;
  if (layout.vertical == VerticalAlign::Center)
    top += (layout.box.height - total) / 2;
  else if (layout.vertical == VerticalAlign::Bottom)
    top += layout.box.height - total;
  int x = layout.box.x;
  if (layout.align == TextAlign::Center)
    x += layout.box.width / 2;
  else if (layout.align == TextAlign::Right)
    x += layout.box.width;

  for (std::size_t index = 0; index < lines.size(); ++index) {
    const TextLine& line = lines[index];
    TextShape shape;
    shape.text = text.substr(line.begin, line.end - line.begin);
    shape.x = x;
    shape.baseline = top + lineHeight * static_cast<int>(index) + Ascent(layout.font);
    shape.align = layout.align;
    shape.font = layout.font;
    shape.color = layout.color;
    if (resolved.underlineAt != std::string::npos && resolved.underlineAt >= line.begin &&
        resolved.underlineAt < line.end) {
      shape.underlineAt = resolved.underlineAt - line.begin;
      shape.underlineLength = resolved.underlineLength;
    }
    if (layout.disabled) {
      // Greyed text is embossed: white one pixel down and right, grey above.
      TextShape emboss = shape;
      emboss.x += 1;
      emboss.baseline += 1;
      emboss.color = ClassicColor::Highlight;
      shapes.emplace_back(std::move(emboss));
      shape.color = ClassicColor::GrayText;
    }
    shapes.emplace_back(std::move(shape));
  }
}

}  // namespace trellane
