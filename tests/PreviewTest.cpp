#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "app/Converters.h"
#include "cli/CommandLine.h"
#include "preview/DialogPreview.h"
#include "preview/MenuPreview.h"
#include "preview/SceneText.h"
#include "preview/SvgWriter.h"
#include "radasm/DialogRecordFile.h"
#include "radasm/MenuRecordFile.h"
#include "radasm/MenuShortcut.h"
#include "tests/ScriptTestSupport.h"
#include "tests/TempFolder.h"
#ifdef TRELLANE_PNG
#include <cairo.h>
#endif

namespace trellane {
namespace {

std::string ReadSource(const std::string& relativePath) {
  std::ifstream file(std::string(TRELLANE_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const char* const EveryControlKind = R"(#include <windows.h>
#include <commctrl.h>
#define IDD_ALL 200
#define IDC_EDIT 201
#define IDC_LIST 202
#define IDC_DROP 203
#define IDC_SIMPLE 204
#define IDC_VERT 205
#define IDC_HORZ 206
#define IDC_GRID 207
#define IDC_ICON1 208
#define IDC_LOGO 209
IDD_ALL DIALOGEX 0, 0, 260, 200
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
EXSTYLE WS_EX_CLIENTEDGE
CAPTION "Every control"
MENU 100
FONT 8, "MS Shell Dlg", 400, 0, 0x1
BEGIN
  LTEXT "&Name:", -1, 7, 9, 30, 8
  EDITTEXT IDC_EDIT, 40, 7, 100, 14, ES_AUTOHSCROLL
  CTEXT "Centred text that wraps over two lines", -1, 150, 7, 50, 20
  RTEXT "Right", -1, 205, 7, 48, 8, SS_SUNKEN
  GROUPBOX "&Options", -1, 7, 28, 120, 60
  AUTOCHECKBOX "&Check box", -1, 14, 40, 80, 10
  AUTORADIOBUTTON "&Radio button", -1, 14, 54, 80, 10
  AUTOCHECKBOX "Text on the left", -1, 14, 68, 100, 10, BS_LEFTTEXT | WS_DISABLED
  LISTBOX IDC_LIST, 135, 30, 60, 50, WS_VSCROLL
  COMBOBOX IDC_DROP, 200, 30, 53, 60, CBS_DROPDOWNLIST | WS_VSCROLL
  COMBOBOX IDC_SIMPLE, 200, 48, 53, 40, CBS_SIMPLE
  SCROLLBAR IDC_VERT, 7, 95, 10, 50, SBS_VERT
  SCROLLBAR IDC_HORZ, 20, 95, 100, 10
  CONTROL "", IDC_GRID, "FancyGrid", WS_BORDER, 20, 110, 100, 35
  CONTROL "", -1, "msctls_progress32", WS_BORDER, 135, 85, 118, 10
  CONTROL "", -1, "msctls_updown32", UDS_HORZ, 135, 100, 10, 20
  CONTROL "Tab", -1, "SysTabControl32", 0, 150, 100, 103, 45
  ICON 1, IDC_ICON1, 7, 150, 0, 0
  CONTROL "IDB_LOGO", IDC_LOGO, "Static", SS_BITMAP, 35, 150, 40, 30
  CONTROL "", -1, "Static", SS_ETCHEDHORZ, 80, 152, 60, 1
  EDITTEXT -1, 80, 158, 60, 30, ES_MULTILINE | ES_PASSWORD | WS_VSCROLL | WS_HSCROLL
  DEFPUSHBUTTON "OK", IDOK, 150, 178, 50, 14
  PUSHBUTTON "&Cancel", IDCANCEL, 203, 178, 50, 14, NOT WS_VISIBLE
  CONTROL "Owner", -1, "Button", BS_OWNERDRAW, 150, 160, 50, 14
  CONTROL "Push-like", -1, "Button", BS_AUTOCHECKBOX | BS_PUSHLIKE, 203, 160, 50, 14
END
)";

const char* const ToolWindow = R"(1 DIALOGEX 0, 0, 120, 40
STYLE 0x80C80000
EXSTYLE 0x00000080
BEGIN
  CONTROL "Hello", 5, "Static", 0x50000000, 4, 4, 60, 10
  CONTROL "x", 6, "Edit", 0x50810000, -4, 30, 200, 14
END
)";

ConverterResult ConvertForPreview(const std::string& script) {
  FixedMetrics metrics = WalkThroughMetrics();
  return ConvertDialogScript(script, metrics, [](MenuNameSlot& slot) { slot = MenuNameSlot{'m', '.', 'm', 'n', 'u'}; });
}

struct SvgControl {
  std::string id;
  std::uint32_t type = 0;
  int x = 0, y = 0, width = 0, height = 0;
};

std::vector<SvgControl> ParseControls(const std::string& svg) {
  static const std::regex Pattern(
      R"re(<rect data-id="([^"]*)" data-type="(\d+)" x="(-?\d+)" y="(-?\d+)" width="(\d+)" height="(\d+)")re");
  std::vector<SvgControl> controls;
  for (auto match = std::sregex_iterator(svg.begin(), svg.end(), Pattern); match != std::sregex_iterator(); ++match) {
    controls.push_back({(*match)[1], static_cast<std::uint32_t>(std::stoul((*match)[2])), std::stoi((*match)[3]),
                        std::stoi((*match)[4]), std::stoi((*match)[5]), std::stoi((*match)[6])});
  }
  return controls;
}

std::pair<int, int> ParseSvgSize(const std::string& svg) {
  std::smatch match;
  static const std::regex Pattern(R"re(<svg [^>]*width="(\d+)" height="(\d+)")re");
  if (!std::regex_search(svg, match, Pattern))
    return {-1, -1};
  return {std::stoi(match[1]), std::stoi(match[2])};
}

// The texts of every <text>, tags inside them dropped.
std::vector<std::string> ParseTexts(const std::string& svg) {
  static const std::regex Text(R"(<text [^>]*>(.*?)</text>)");
  static const std::regex Tag(R"(<[^>]*>)");
  std::vector<std::string> texts;
  for (auto match = std::sregex_iterator(svg.begin(), svg.end(), Text); match != std::sregex_iterator(); ++match)
    texts.push_back(std::regex_replace(std::string((*match)[1]), Tag, ""));
  return texts;
}

std::int32_t Field(const Image& image, std::size_t record, std::size_t field) {
  return static_cast<std::int32_t>(LoadU32(image, record + field));
}

struct FrameCase {
  const char* name;
  std::string script;
  int frameLeft;  // where the client area starts in the window
  int frameTop;
};

TEST(Preview, SvgControlRectanglesAreTheRecordsInWindowCoordinates) {
  const std::vector<FrameCase> cases{
      {"examples/dialog.rc: thick frame and caption", ReadSource("examples/dialog.rc"), 4, 23},
      {"dialog frame, caption, menu bar and client edge", EveryControlKind, 5, 43},
      {"tool window caption without a border bit", ToolWindow, 3, 19},
  };
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ConverterResult converted = ConvertForPreview(c.script);
    ASSERT_FALSE(converted.image.empty());
    const SceneBuild build = BuildDialogScene(converted.image, 1252);
    ASSERT_TRUE(build.ok) << build.problem;
    const std::string svg = WriteSvg(build.scene);

    const Image& image = converted.image;
    EXPECT_EQ(ParseSvgSize(svg), std::make_pair(Field(image, DialogWindowOffset, ControlRecord::width),
                                                Field(image, DialogWindowOffset, ControlRecord::height)));
    const std::vector<SvgControl> controls = ParseControls(svg);
    ASSERT_EQ(controls.size(), converted.recordCount);
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const std::size_t record = ControlOffset(i);
      std::string id(LoadText(image, record + ControlRecord::identifierName, ControlRecord::identifierNameWidth));
      if (id.empty())
        id = std::to_string(Field(image, record, ControlRecord::identifier));
      EXPECT_EQ(controls[i].id, id) << "control " << i;
      EXPECT_EQ(controls[i].type, LoadU32(image, record + ControlRecord::typeIndex)) << id;
      EXPECT_EQ(controls[i].x, Field(image, record, ControlRecord::x) + c.frameLeft) << id;
      EXPECT_EQ(controls[i].y, Field(image, record, ControlRecord::y) + c.frameTop) << id;
      EXPECT_EQ(controls[i].width, Field(image, record, ControlRecord::width)) << id;
      EXPECT_EQ(controls[i].height, Field(image, record, ControlRecord::height)) << id;
    }
  }
}

TEST(Preview, EveryControlKindScriptCoversTheDrawnTypes) {
  const ConverterResult converted = ConvertForPreview(EveryControlKind);
  std::set<std::uint32_t> types;
  for (std::size_t i = 0; i < converted.recordCount; ++i)
    types.insert(LoadU32(converted.image, ControlOffset(i) + ControlRecord::typeIndex));
  EXPECT_EQ(types, (std::set<std::uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 16, 17, 23, 25}));
}

TEST(Preview, MenuPictureHoldsEveryCaptionAndShortcut) {
  const ConverterResult converted = ConvertMenuScript(std::string_view(ReadSource("examples/menu.rc")));
  ASSERT_EQ(converted.recordCount, 15U);
  const SceneBuild build = BuildMenuScene(converted.image, 1252);
  ASSERT_TRUE(build.ok) << build.problem;
  const std::vector<std::string> texts = ParseTexts(WriteSvg(build.scene));
  const std::set<std::string> drawn(texts.begin(), texts.end());
  for (std::size_t i = 0; i < converted.recordCount; ++i) {
    const std::size_t record = MenuItemOffset(i);
    std::string caption(LoadText(converted.image, record + MenuItemRecord::caption, MenuItemRecord::captionWidth));
    if (caption == "-")
      continue;
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    EXPECT_TRUE(drawn.count(caption)) << caption;
    const std::uint32_t shortcut = LoadU16(converted.image, record + MenuItemRecord::shortcut);
    if (shortcut != 0) {
      EXPECT_TRUE(drawn.count(ShortcutText(shortcut))) << caption;
    }
  }
}

TEST(Preview, MnemonicsAreUnderlinedWithoutTheirAmpersand) {
  struct Case {
    const char* text;
    const char* shown;
    std::size_t underlineAt;
  };
  const std::vector<Case> cases{
      {"&File", "File", 0},
      {"Save &As...", "Save As...", 5},
      {"Fish && &Chips", "Fish & Chips", 7},
      {"No mark", "No mark", std::string::npos},
      {"Trailing &", "Trailing ", std::string::npos},
      {"&\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9", 0},
  };
  for (const Case& c : cases) {
    const MnemonicText resolved = ResolveMnemonic(c.text);
    EXPECT_EQ(resolved.text, c.shown) << c.text;
    EXPECT_EQ(resolved.underlineAt, c.underlineAt) << c.text;
  }
  EXPECT_EQ(ResolveMnemonic("&\xC3\xA9t\xC3\xA9").underlineLength, 2U);
}

TEST(Preview, SvgUnderlinesMnemonicsAndPalesHiddenControls) {
  const ConverterResult converted = ConvertForPreview(EveryControlKind);
  const SceneBuild build = BuildDialogScene(converted.image, 1252);
  ASSERT_TRUE(build.ok) << build.problem;
  const std::string svg = WriteSvg(build.scene);
  EXPECT_NE(svg.find(">N</tspan>ame:</text>"), std::string::npos);
  EXPECT_NE(svg.find(">C</tspan>ancel</text>"), std::string::npos);
  // The Cancel button has no WS_VISIBLE; OK has.
  EXPECT_TRUE(std::regex_search(svg, std::regex(R"re(opacity="0.4">\n<rect data-id="IDCANCEL")re")));
  EXPECT_FALSE(std::regex_search(svg, std::regex(R"re(opacity="0.4">\n<rect data-id="IDOK")re")));
}

// The pixels of a rectangle's edge as letters: s shadow, d dark shadow,
// l light (the face), h highlight, k black.
std::vector<std::string> EdgePixels(Edge edge, int side) {
  std::vector<std::string> rows(static_cast<std::size_t>(side), std::string(static_cast<std::size_t>(side), '.'));
  RectShape rect;
  rect.box = {0, 0, side, side};
  rect.edge = edge;
  rect.lineColor = ClassicColor::WindowFrame;
  const auto letter = [](Rgb color) {
    if (color.red == ClassicColor::Shadow.red)
      return 's';
    if (color.red == ClassicColor::DarkShadow.red)
      return 'd';
    if (color.red == ClassicColor::Light.red)
      return 'l';
    if (color.red == ClassicColor::Highlight.red)
      return 'h';
    return 'k';
  };
  for (const Band& band : EdgeBands(rect)) {
    for (int y = band.box.y; y < band.box.y + band.box.height; ++y) {
      for (int x = band.box.x; x < band.box.x + band.box.width; ++x)
        rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = letter(band.color);
    }
  }
  return rows;
}

TEST(Preview, EdgesGiveSharedCornersToTheBottomAndRightSides) {
  EXPECT_EQ(EdgePixels(Edge::Sunken, 4), (std::vector<std::string>{"sssh", "sdlh", "sllh", "hhhh"}));
  EXPECT_EQ(EdgePixels(Edge::Etched, 4), (std::vector<std::string>{"sssh", "shsh", "sssh", "hhhh"}));
  EXPECT_EQ(EdgePixels(Edge::Button, 4), (std::vector<std::string>{"hhhd", "hlsd", "hssd", "dddd"}));
  EXPECT_EQ(EdgePixels(Edge::DefaultButton, 6),
            (std::vector<std::string>{"kkkkkk", "khhhdk", "khlsdk", "khssdk", "kddddk", "kkkkkk"}));
  EXPECT_EQ(InsideEdge({{10, 20, 30, 40}, Edge::DefaultButton, std::nullopt, std::nullopt, {}}).x, 13);
}

TEST(Preview, TextWrapsAtBlanksAndKeepsOverlongWordsWhole) {
  const SceneFont font{"MS Sans Serif", 11, false};
  struct Case {
    const char* text;
    int width;
    bool wrap;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases{
      {"one two three", TextWidth("one two", font), true, {"one two", "three"}},
      {"one two three", TextWidth("one two", font) - 1, true, {"one", "two", "three"}},
      {"one two three", 5, false, {"one two three"}},
      {"first\nsecond line", 1000, true, {"first", "second line"}},
      {"averyveryverylongword next", 10, true, {"averyveryverylongword", "next"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    for (const TextLine& line : WrapText(c.text, font, c.width, c.wrap))
      lines.emplace_back(std::string_view(c.text).substr(line.begin, line.end - line.begin));
    EXPECT_EQ(lines, c.lines) << c.text << " in " << c.width;
  }
}

TEST(Preview, CaptionButtonsFollowTheWindowStyle) {
  struct Case {
    const char* style;
    const char* exStyle;
    std::vector<MarkKind> marks;
    bool help;
  };
  const std::vector<Case> cases{
      {"0x80C80000", "0", {MarkKind::Close}, false},
      {"0x80CA0000", "0", {MarkKind::Close, MarkKind::Maximize, MarkKind::Minimize}, false},
      {"0x80C80000", "0x400", {MarkKind::Close}, true},
      {"0x80CB0000", "0x80", {MarkKind::Close}, false},  // a tool window has no minimize or maximize box
      {"0x80C00000", "0", {}, false},
      {"0x80880000", "0", {}, false},  // no caption, no buttons
  };
  for (const Case& c : cases) {
    const std::string script =
        std::string("1 DIALOGEX 0, 0, 100, 50\nSTYLE ") + c.style + "\nEXSTYLE " + c.exStyle + "\nBEGIN\nEND\n";
    const SceneBuild build = BuildDialogScene(ConvertForPreview(script).image, 1252);
    ASSERT_TRUE(build.ok) << build.problem;
    std::vector<MarkKind> marks;
    bool help = false;
    for (const ShapeGroup& group : build.scene.groups) {
      for (const Shape& shape : group.shapes) {
        if (const auto* mark = std::get_if<MarkShape>(&shape))
          marks.push_back(mark->kind);
        if (const auto* text = std::get_if<TextShape>(&shape))
          help = help || text->text == "?";
      }
    }
    EXPECT_EQ(marks, c.marks) << c.style << " " << c.exStyle;
    EXPECT_EQ(help, c.help) << c.style << " " << c.exStyle;
  }
}

TEST(Preview, BrokenRecordFilesGiveAReasonOrAPicture) {
  const ConverterResult dialog = ConvertForPreview(EveryControlKind);
  const ConverterResult menu = ConvertMenuScript(std::string_view(ReadSource("examples/menu.rc")));

  // Files of the wrong size, format or outer size are refused with a reason.
  Image wrongFormat = dialog.image;
  StoreU32(wrongFormat, DialogHeader::formatTag, 100);
  Image hugeDialog = dialog.image;
  StoreU32(hugeDialog, DialogWindowOffset + ControlRecord::width, 100000);
  Image emptyDialog = dialog.image;
  StoreU32(emptyDialog, DialogWindowOffset + ControlRecord::height, static_cast<std::uint32_t>(-5));
  for (const Image& image : {Image(10), Image(DialogImageSize(1) + 3), wrongFormat, hugeDialog, emptyDialog}) {
    const SceneBuild build = BuildDialogScene(image, 1252);
    EXPECT_FALSE(build.ok);
    EXPECT_FALSE(build.problem.empty());
  }
  EXPECT_FALSE(BuildMenuScene(Image(MenuImageSize(2) + 1), 1252).ok);

  // Damaged records still draw: every field byte takes arbitrary values.
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245 + 12345; };
  for (int round = 0; round < 200; ++round) {
    Image damaged = dialog.image;
    for (int flips = 0; flips < 40; ++flips)
      damaged[DialogWindowOffset + next() % (damaged.size() - DialogWindowOffset)] = static_cast<std::uint8_t>(next());
    StoreU32(damaged, DialogWindowOffset + ControlRecord::width, 300);
    StoreU32(damaged, DialogWindowOffset + ControlRecord::height, 200);
    const SceneBuild build = BuildDialogScene(damaged, 1252);
    ASSERT_TRUE(build.ok) << build.problem;
    EXPECT_NE(WriteSvg(build.scene).find("</svg>"), std::string::npos);

    Image damagedMenu = menu.image;
    for (int flips = 0; flips < 40; ++flips)
      damagedMenu[next() % damagedMenu.size()] = static_cast<std::uint8_t>(next());
    const SceneBuild menuBuild = BuildMenuScene(damagedMenu, 1252);
    if (menuBuild.ok) {
      EXPECT_NE(WriteSvg(menuBuild.scene).find("</svg>"), std::string::npos);
    }
  }
}

TEST(Preview, DeeplyNestedMenusStayWithinTheirLimits) {
  // Each item one level deeper than the one before: the tree stops growing
  // deeper and the deepest pop-up takes the rest.
  const auto staircase = [](std::size_t count) {
    Image image(MenuImageSize(count));
    StoreU16(image, MenuHeader::fixedValue, MenuHeader::FixedValue);
    for (std::size_t i = 0; i < count; ++i) {
      StoreU8(image, MenuItemOffset(i) + MenuItemRecord::itemTag, 1);
      StoreText(image, MenuItemOffset(i) + MenuItemRecord::caption, MenuItemRecord::captionWidth, "Item");
      StoreU16(image, MenuItemOffset(i) + MenuItemRecord::level, static_cast<std::uint32_t>(i));
    }
    return image;
  };
  const SceneBuild build = BuildMenuScene(staircase(100), 1252);
  ASSERT_TRUE(build.ok) << build.problem;
  EXPECT_EQ(build.scene.groups.size(), 17U);  // the bar and 16 pop-ups
  const SceneBuild tall = BuildMenuScene(staircase(3000), 1252);
  EXPECT_FALSE(tall.ok);
  EXPECT_NE(tall.problem.find("at most 8192 on a side"), std::string::npos) << tall.problem;
}

class PreviewCommand : public TempFolderTest {
 protected:
  int Run(const std::string& input, const std::string& output, bool menu = false, bool dialog = false) {
    PreviewOptions options;
    options.convert.script.scriptPath = PathOf(input);
    options.convert.outputPath = PathOf(output);
    options.convert.baseUnits = std::make_pair(6, 13);
    options.menu = menu;
    options.dialog = dialog;
    out.str({});
    err.str({});
    return RunPreviewCommand(options, out, err);
  }

  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(PreviewCommand, ScriptGivesItsDialogThenItsMenuAsFlagsAsk) {
  WriteFile("both.rc", ReadSource("examples/menu.rc") + ReadSource("examples/dialog.rc"));
  WriteFile("menu.rc", ReadSource("examples/menu.rc"));
  struct Case {
    const char* input;
    bool menu;
    bool dialog;
    int exitCode;
    const char* said;
  };
  const std::vector<Case> cases{
      {"both.rc", false, false, 0, ": dialog Options, 299x199 pixels, 10 controls"},
      {"both.rc", true, false, 0, ": menu IDR_MAINMENU, "},
      {"menu.rc", false, false, 0, ": menu IDR_MAINMENU, "},
      {"menu.rc", false, true, 1, "no DIALOGEX dialog; nothing drawn"},
      {"missing.rc", false, false, 1, "cannot read the script"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.input, "picture.svg", c.menu, c.dialog), c.exitCode) << c.input << err.str();
    EXPECT_NE((out.str() + err.str()).find(c.said), std::string::npos) << c.input << ": " << out.str() << err.str();
  }
}

TEST_F(PreviewCommand, PictureNamesEndInSvgOrPng) {
  WriteFile("menu.rc", ReadSource("examples/menu.rc"));
  EXPECT_EQ(Run("menu.rc", "picture.gif"), 1);
  EXPECT_NE(err.str().find("ends in .svg or .png"), std::string::npos) << err.str();
}

TEST_F(PreviewCommand, PngOfARecordFileHasTheDialogsPixelSize) {
  const ConverterResult converted = ConvertForPreview(EveryControlKind);
  WriteFile("all.dlg", std::string(converted.image.begin(), converted.image.end()));
#ifdef TRELLANE_PNG
  ASSERT_EQ(Run("all.dlg", "all.png"), 0) << err.str();
  cairo_surface_t* surface = cairo_image_surface_create_from_png(PathOf("all.png").c_str());
  ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(surface), Field(converted.image, DialogWindowOffset, ControlRecord::width));
  EXPECT_EQ(cairo_image_surface_get_height(surface), Field(converted.image, DialogWindowOffset, ControlRecord::height));
  cairo_surface_destroy(surface);
#else
  EXPECT_EQ(Run("all.dlg", "all.png"), 1);
  EXPECT_NE(err.str().find("this build writes SVG only"), std::string::npos) << err.str();
  GTEST_SKIP() << "this build has no cairo";
#endif
}

}  // namespace
}  // namespace trellane
