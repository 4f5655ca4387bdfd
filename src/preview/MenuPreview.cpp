#include "preview/MenuPreview.h"

#include <algorithm>
#include <limits>
#include <string>

#include "metrics/DialogUnits.h"
#include "preview/SceneText.h"
#include "radasm/MenuRecordFile.h"
#include "radasm/MenuShortcut.h"

namespace trellane {
namespace {

// Classic menu metrics with the 8-point Tahoma of Windows 2000.
constexpr int BarHeight = ClassicFrameMetrics.menuHeight + 1;
constexpr int BarPadding = 6;
constexpr int BarSeparatorWidth = 6;
constexpr int ItemHeight = 17;
constexpr int SeparatorHeight = 9;
constexpr int PopupBorder = 3;
constexpr int CheckColumn = 17;
constexpr int ArrowColumn = 17;
constexpr int ShortcutGap = 20;
constexpr int Gap = 6;
constexpr int Margin = 6;
constexpr int EmptyMenuWidth = 120;

// Pop-ups nested deeper than this are not opened: the picture stays finite
// and the layout's recursion bounded, whatever levels a file holds.
constexpr std::size_t MaxMenuDepth = 16;

SceneFont MenuFont() {
  return {"Tahoma", 11, false};
}

struct MenuNode {
  std::string caption;  // UTF-8, with its '&'
  std::uint32_t flags = 0;
  std::uint32_t shortcut = 0;
  bool separator = false;
  std::vector<std::size_t> children;
};

// The records as a tree: node 0 is the bar, each record hangs under the
// nearest record before it with a lower level.
std::vector<MenuNode> ReadMenuTree(const Image& image, std::size_t count, int codePage) {
  std::vector<MenuNode> nodes(1);
  struct Open {
    std::size_t node;
    int level;
  };
  std::vector<Open> open{{0, std::numeric_limits<int>::min()}};
  for (std::size_t index = 0; index < count; ++index) {
    const std::size_t record = MenuItemOffset(index);
    const auto level = static_cast<std::int16_t>(LoadU16(image, record + MenuItemRecord::level));
    MenuNode node;
    const std::string_view caption = LoadText(image, record + MenuItemRecord::caption, MenuItemRecord::captionWidth);
    node.caption = DecodeRecordText(caption, codePage);
    node.separator = caption == "-";
    node.flags = LoadU16(image, record + MenuItemRecord::flags);
    node.shortcut = LoadU16(image, record + MenuItemRecord::shortcut);
    while (open.size() > 1 && open.back().level >= level)
      open.pop_back();
    const std::size_t parent = open.back().node;
    nodes.push_back(std::move(node));
    nodes[parent].children.push_back(nodes.size() - 1);
    if (open.size() <= MaxMenuDepth)
      open.push_back({nodes.size() - 1, level});
  }
  return nodes;
}

void ShiftBox(Box& box, int dx) {
  box.x += dx;
}

void ShiftShape(Shape& shape, int dx) {
  if (auto* rect = std::get_if<RectShape>(&shape)) {
    ShiftBox(rect->box, dx);
  } else if (auto* line = std::get_if<LineShape>(&shape)) {
    line->x1 += dx;
    line->x2 += dx;
  } else if (auto* text = std::get_if<TextShape>(&shape)) {
    text->x += dx;
  } else if (auto* mark = std::get_if<MarkShape>(&shape)) {
    ShiftBox(mark->box, dx);
  }
}

class MenuPicture {
 public:
  MenuPicture(const Image& recordImage, int textCodePage) : image(recordImage), codePage(textCodePage) {}

  SceneBuild Build() {
    SceneBuild build;
    if (image.size() < MenuHeader::Size || (image.size() - MenuHeader::Size) % MenuItemRecord::Size != 0) {
      build.problem = std::to_string(image.size()) + " bytes is not the size of a menu record file";
      return build;
    }
    const std::size_t count = (image.size() - MenuHeader::Size) / MenuItemRecord::Size;
    if (count > MaxPreviewRecords) {
      build.problem = std::to_string(count) + " items do not fit in a picture of at most " +
                      std::to_string(MaxPreviewSide) + " pixels on a side";
      return build;
    }
    nodes = ReadMenuTree(image, count, codePage);

    // Bar items from left to right; from the first right-justified one on
    // they stand at the right end.
    struct BarItem {
      std::size_t node;
      Box box;
      bool right;
    };
    std::vector<BarItem> bar;
    int x = 0;
    bool right = false;
    for (const std::size_t child : nodes[0].children) {
      const MenuNode& node = nodes[child];
      right = right || (node.flags & MenuItemFlag::RightJustify);
      const int width = node.separator ? BarSeparatorWidth
                                       : TextWidth(ResolveMnemonic(node.caption).text, MenuFont()) + 2 * BarPadding;
      bar.push_back({child, {x, 0, width, BarHeight}, right});
      x = std::min(x + width, MaxCoordinate);
    }
    const int barWidth = x;

    // The pop-ups of the bar, one under another, each below its bar item.
    std::vector<ShapeGroup> popups;
    std::vector<std::size_t> firstGroup;
    int y = BarHeight + Gap;
    for (const BarItem& item : bar) {
      firstGroup.push_back(popups.size());
      if (nodes[item.node].children.empty())
        continue;
      y = PlacePopup(item.node, item.box.x, y, 1, popups) + Gap;
      if (y > MaxPreviewSide)
        break;
    }
    int width = std::max({barWidth, rightmost + Margin, EmptyMenuWidth});
    const int shift = width - barWidth;
    for (std::size_t index = 0; index < bar.size(); ++index) {
      if (!bar[index].right)
        continue;
      bar[index].box.x += shift;
      if (index >= firstGroup.size())
        continue;
      const std::size_t end = index + 1 < firstGroup.size() ? firstGroup[index + 1] : popups.size();
      for (std::size_t group = firstGroup[index]; group < end; ++group) {
        for (Shape& shape : popups[group].shapes)
          ShiftShape(shape, shift);
        ShiftBox(popups[group].bounds, shift);
        width = std::max(width, popups[group].bounds.x + popups[group].bounds.width + Margin);
      }
    }
    const int height = std::max(y, BarHeight + Gap) + Margin - Gap;
    if (width > MaxPreviewSide || height > MaxPreviewSide) {
      build.problem = "the menu's picture would be " + std::to_string(width) + "x" + std::to_string(height) +
                      " pixels; at most " + std::to_string(MaxPreviewSide) + " on a side";
      return build;
    }

    PreviewScene& scene = build.scene;
    scene.width = width;
    scene.height = height;
    scene.background = ClassicColor::Window;
    const std::string_view name = LoadText(image, MenuHeader::resourceName, MenuHeader::resourceNameWidth);
    scene.title = name.empty() ? std::to_string(static_cast<std::int32_t>(LoadU32(image, MenuHeader::resourceId)))
                               : DecodeRecordText(name, codePage);

    ShapeGroup barGroup;
    RectShape background;
    background.box = {0, 0, width, BarHeight};
    background.fill = ClassicColor::Face;
    barGroup.shapes.emplace_back(background);
    barGroup.shapes.emplace_back(LineShape{0, BarHeight - 1, width - 1, BarHeight - 1, ClassicColor::Shadow});
    for (const BarItem& item : bar) {
      const MenuNode& node = nodes[item.node];
      if (node.separator)
        continue;
      if (!node.children.empty()) {
        // An opened pop-up's bar item looks pressed.
        RectShape pressed;
        pressed.box = {item.box.x, item.box.y + 1, item.box.width, item.box.height - 2};
        pressed.edge = Edge::ThinSunken;
        barGroup.shapes.emplace_back(pressed);
      }
      AddItemText(barGroup.shapes, item.box, node.caption, TextAlign::Center, node.flags, true);
    }
    scene.groups.push_back(std::move(barGroup));
    for (ShapeGroup& group : popups)
      scene.groups.push_back(std::move(group));
    build.recordCount = count;
    build.ok = true;
    return build;
  }

 private:
  static void AddItemText(std::vector<Shape>& shapes, const Box& box, std::string_view text, TextAlign align,
                          std::uint32_t flags, bool mnemonic) {
    TextLayout layout;
    layout.box = box;
    layout.text = text;
    layout.font = MenuFont();
    layout.align = align;
    layout.vertical = VerticalAlign::Center;
    layout.mnemonic = mnemonic;
    layout.disabled = (flags & MenuItemFlag::Grayed) != 0;
    AddText(shapes, layout);
  }

  Box PopupSize(const MenuNode& popup) const {
    int captionWidth = 0;
    int shortcutWidth = 0;
    int height = 2 * PopupBorder;
    for (const std::size_t child : popup.children) {
      const MenuNode& item = nodes[child];
      if (item.separator) {
        height += SeparatorHeight;
        continue;
      }
      height += ItemHeight;
      captionWidth = std::max(captionWidth, TextWidth(ResolveMnemonic(item.caption).text, MenuFont()));
      if (item.shortcut != 0)
        shortcutWidth = std::max(shortcutWidth, TextWidth(ShortcutText(item.shortcut), MenuFont()));
    }
    const int width = 2 * PopupBorder + CheckColumn + captionWidth +
                      (shortcutWidth > 0 ? ShortcutGap + shortcutWidth : 0) + ArrowColumn;
    return {0, 0, width, height};
  }

  // Draws the pop-up of node at x, y and, to its right, the pop-ups of its
  // items; returns the lowest y they reach.
  int PlacePopup(std::size_t node, int x, int y, std::size_t depth, std::vector<ShapeGroup>& groups) {
    const MenuNode& popup = nodes[node];
    Box box = PopupSize(popup);
    box.x = x;
    box.y = y;
    rightmost = std::max(rightmost, box.x + box.width);
    // A picture this would not fit in is refused: nothing more is drawn.
    if (box.y + box.height > MaxPreviewSide || rightmost > MaxPreviewSide)
      return box.y + box.height;
    // The parent is drawn first: its cascades overlap its edge.
    const std::size_t groupIndex = groups.size();
    groups.emplace_back();
    std::vector<Shape> shapes;
    RectShape frame;
    frame.box = box;
    frame.edge = Edge::Window;
    frame.fill = ClassicColor::Face;
    shapes.emplace_back(frame);

    int bottom = box.y + box.height;
    int cascadeTop = y;
    int itemY = y + PopupBorder;
    const int left = x + PopupBorder;
    const int inner = box.width - 2 * PopupBorder;
    for (const std::size_t child : popup.children) {
      const MenuNode& item = nodes[child];
      if (item.separator) {
        const int lineY = itemY + SeparatorHeight / 2 - 1;
        shapes.emplace_back(LineShape{left + 1, lineY, left + inner - 2, lineY, ClassicColor::Shadow});
        shapes.emplace_back(LineShape{left + 1, lineY + 1, left + inner - 2, lineY + 1, ClassicColor::Highlight});
        itemY += SeparatorHeight;
        continue;
      }
      const bool grayed = (item.flags & MenuItemFlag::Grayed) != 0;
      if (item.flags & MenuItemFlag::Checked) {
        const MarkKind kind = (item.flags & MenuItemFlag::RadioCheck) ? MarkKind::Bullet : MarkKind::Check;
        shapes.emplace_back(MarkShape{
            kind, {left, itemY, CheckColumn, ItemHeight}, grayed ? ClassicColor::GrayText : ClassicColor::WindowText});
      }
      AddItemText(shapes, {left + CheckColumn, itemY, inner - CheckColumn - ArrowColumn, ItemHeight}, item.caption,
                  TextAlign::Left, item.flags, true);
      if (item.shortcut != 0)
        AddItemText(shapes, {left + CheckColumn, itemY, inner - CheckColumn - ArrowColumn, ItemHeight},
                    ShortcutText(item.shortcut), TextAlign::Right, item.flags, false);
      if (!item.children.empty()) {
        shapes.emplace_back(MarkShape{MarkKind::ArrowRight,
                                      {left + inner - ArrowColumn, itemY, ArrowColumn, ItemHeight},
                                      grayed ? ClassicColor::GrayText : ClassicColor::WindowText});
        if (depth < MaxMenuDepth) {
          const int top = std::max(itemY - PopupBorder, cascadeTop);
          const int reached = PlacePopup(child, box.x + box.width - PopupBorder, top, depth + 1, groups);
          cascadeTop = reached + Gap;
          bottom = std::max(bottom, reached);
        }
      }
      itemY += ItemHeight;
    }
    groups[groupIndex].bounds = box;
    groups[groupIndex].shapes = std::move(shapes);
    return bottom;
  }

  const Image& image;
  int codePage;
  std::vector<MenuNode> nodes;
  int rightmost = 0;
};

}  // namespace

SceneBuild BuildMenuScene(const Image& image, int codePage) {
  return MenuPicture(image, codePage).Build();
}

}  // namespace trellane
