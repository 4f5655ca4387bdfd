#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/Converters.h"
#include "cli/CommandLine.h"
#include "cli/JsonDump.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogImageText.h"
#include "radasm/DialogRecordFile.h"
#include "radasm/MenuImageText.h"
#include "radasm/MenuRecordFile.h"
#include "tests/TempFolder.h"

namespace trellane {
namespace {

using Cells = std::vector<std::string>;

std::string ReadExample(const std::string& name) {
  std::ifstream file(std::string(TRELLANE_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The columns of a table stand two or more blanks apart; no cell of these
// tables holds two blanks in a row.
Cells TableCells(const std::string& line) {
  Cells cells;
  std::size_t start = line.find_first_not_of(' ');
  while (start != std::string::npos) {
    std::size_t end = line.find("  ", start);
    cells.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? end : line.find_first_not_of(' ', end);
  }
  return cells;
}

// A JSON value as the tables write it.
std::string Number(const Json& value) {
  return value.dump();
}
std::string Text(const Json& value) {
  return value.get<std::string>();
}
std::string Quoted(const Json& value) {
  return "\"" + Text(value) + "\"";
}
std::string NameOrDash(const Json& value) {
  return Text(value).empty() ? "-" : Text(value);
}
std::string Hex(const Json& value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value.get<unsigned>());
  return text;
}

Cells MenuRowFromJson(const Json& item) {
  std::string flags;
  for (const Json& name : item["flagNames"])
    flags += (flags.empty() ? "" : "|") + Text(name);
  return {Number(item["index"]),
          NameOrDash(item["name"]),
          Number(item["id"]),
          Quoted(item["caption"]),
          Number(item["level"]),
          flags.empty() ? "-" : flags,
          NameOrDash(item["shortcut"]["text"])};
}

Cells DialogRowFromJson(const Json& record, const std::string& index, const std::string& type) {
  return {index,
          type,
          NameOrDash(record["name"]),
          Number(record["id"]),
          Quoted(record["text"]),
          Hex(record["style"]),
          Hex(record["exStyle"]),
          Number(record["x"]),
          Number(record["y"]),
          Number(record["width"]),
          Number(record["height"])};
}

std::string TypeFromJson(const Json& control) {
  std::string type = control["typeName"].is_null() ? "type " + Number(control["typeIndex"]) : Text(control["typeName"]);
  if (control["typeCode"] != control["typeIndex"])
    type += " (" + Number(control["typeCode"]) + ")";
  return type;
}

TEST(JsonDump, MenuJsonHoldsEveryFieldTheTableShows) {
  const ConverterResult result = ConvertMenuScript(ReadExample("menu.rc"));
  ASSERT_GT(result.recordCount, 0U);
  std::ostringstream table;
  DescribeMenuImage(result.image, table);
  const std::optional<Json> json = MenuImageJson(result.image, 1252);
  ASSERT_TRUE(json);
  const Json& header = (*json)["header"];
  const Json& items = (*json)["items"];
  const std::vector<std::string> lines = Lines(table.str());
  ASSERT_EQ(lines.size(), 2 + items.size());
  EXPECT_EQ(lines[0], "menu " + Text(header["resourceName"]) + ", id " + Number(header["resourceId"]) +
                          ", following id " + Number(header["followingId"]) + ", " + Number((*json)["itemCount"]) +
                          " items");
  EXPECT_EQ((*json)["itemCount"], result.recordCount);
  for (std::size_t i = 0; i < items.size(); ++i)
    EXPECT_EQ(TableCells(lines[i + 2]), MenuRowFromJson(items[i])) << lines[i + 2];
}

TEST(JsonDump, DialogJsonHoldsEveryFieldTheTableShows) {
  // The example, and a dialog with a class, a menu and a type whose code differs from its index.
  const std::string scripts[] = {
      ReadExample("dialog.rc"),
      "1 DIALOGEX 10, 20, 160, 80\nCAPTION \"Login\"\nFONT 9, \"Tahoma\", 700, 0, 0x1\nMENU 5\n"
      "CLASS \"LoginClass\"\nBEGIN\n  CONTROL \"\", -1, \"RAHexEdit\", 0x50000000, 0, 0, 4, 8\n"
      "  ICON 7, 100, 1, 1\nEND\n",
  };
  for (const std::string& script : scripts) {
    FixedMetrics metrics({8, 16}, 96, {13, 316});
    const ConverterResult result = ConvertDialogScript(script, metrics, [](MenuNameSlot& slot) {
      const std::string name = "main.mnu";
      std::copy(name.begin(), name.end(), slot.begin());
    });
    ASSERT_GT(result.recordCount, 0U);
    std::ostringstream table;
    DescribeDialogImage(result.image, table);
    const std::optional<Json> json = DialogImageJson(result.image, 1252);
    ASSERT_TRUE(json);
    const Json& header = (*json)["header"];
    const Json& font = header["font"];
    const Json& controls = (*json)["controls"];
    const std::vector<std::string> lines = Lines(table.str());
    ASSERT_EQ(lines.size(), 5 + controls.size());
    EXPECT_EQ(lines[0], "dialog record file, format " + Number(header["formatTag"]) + ", " +
                            Number((*json)["controlCount"]) + " controls");
    const auto quotedOrDash = [](const Json& value) { return Text(value).empty() ? "-" : Quoted(value); };
    EXPECT_EQ(lines[1], "class " + quotedOrDash(header["className"]) + ", menu " + quotedOrDash(header["menuName"]) +
                            ", following id " + Number(header["followingId"]));
    EXPECT_EQ(lines[2], "font " + quotedOrDash(font["face"]) + ", " + Number(font["pointSize"]) + " points, height " +
                            Number(font["height"]) + ", weight " + Number(font["weight"]));
    EXPECT_EQ(TableCells(lines[4]), DialogRowFromJson((*json)["window"], "-", "Dialog")) << lines[4];
    for (std::size_t i = 0; i < controls.size(); ++i) {
      EXPECT_EQ(TableCells(lines[i + 5]),
                DialogRowFromJson(controls[i], Number(controls[i]["ordinal"]), TypeFromJson(controls[i])))
          << lines[i + 5];
      EXPECT_EQ(controls[i]["marker"], ControlRecord::ControlMarker);
    }
  }
}

TEST(JsonDump, TextsAreDecodedFromTheFilesCodePage) {
  struct Case {
    int codePage;
    std::string bytes;
    std::string utf8;
  };
  const Case cases[] = {
      {1252, "\x80 Gr\xFC\xDF", "\xE2\x82\xAC Gr\xC3\xBC\xC3\x9F"},  // € Grüß
      {1252, "\x81\x9D", "\xC2\x81\xC2\x9D"},                        // undefined bytes as Windows reads them
      {1251, "\xC0\xE1", "\xD0\x90\xD0\xB1"},                        // Аб
      {1253, "\xC1", "\xCE\x91"},                                    // Α
  };
  for (const Case& c : cases) {
    Image menu = ZeroedImage(MenuImageSize(1));
    StoreText(menu, MenuItemOffset(0) + MenuItemRecord::caption, MenuItemRecord::captionWidth, c.bytes);
    StoreText(menu, MenuHeader::resourceName, MenuHeader::resourceNameWidth, c.bytes);
    const std::optional<Json> menuJson = MenuImageJson(menu, c.codePage);
    ASSERT_TRUE(menuJson);
    EXPECT_EQ((*menuJson)["items"][0]["caption"], c.utf8) << c.codePage;
    EXPECT_EQ((*menuJson)["header"]["resourceName"], c.utf8) << c.codePage;

    Image dialog = ZeroedImage(DialogImageSize(1));
    StoreText(dialog, ControlOffset(0) + ControlRecord::text, ControlRecord::textWidth, c.bytes);
    StoreText(dialog, DialogHeader::fontFace, DialogHeader::fontFaceWidth, c.bytes);
    const std::optional<Json> dialogJson = DialogImageJson(dialog, c.codePage);
    ASSERT_TRUE(dialogJson);
    EXPECT_EQ((*dialogJson)["controls"][0]["text"], c.utf8) << c.codePage;
    EXPECT_EQ((*dialogJson)["header"]["font"]["face"], c.utf8) << c.codePage;
    EXPECT_EQ(Json::parse(JsonText(*dialogJson))["controls"][0]["text"], c.utf8) << c.codePage;
  }
}

TEST(JsonDump, ImagesShorterThanTheirHeaderGiveNoDocument) {
  EXPECT_FALSE(MenuImageJson(Image(MenuHeader::Size - 1), 1252));
  EXPECT_FALSE(DialogImageJson(Image(FirstControlOffset - 1), 1252));
  const std::optional<Json> ragged = MenuImageJson(Image(MenuImageSize(2) + 7), 1252);
  ASSERT_TRUE(ragged);
  EXPECT_EQ((*ragged)["items"].size(), 2U);
  EXPECT_EQ((*ragged)["trailingBytes"], 7);
}

class JsonListTest : public TempFolderTest {};

TEST_F(JsonListTest, ListJsonHoldsEveryFieldTheTableShows) {
  WriteFile("app.rc",
            "#define IDR_MAIN 100\n"
            "LANGUAGE 9, 1\n"
            "IDR_MAIN MENUEX\nBEGIN\n  MENUITEM \"&Open\", 1\nEND\n"
            "Editor DIALOGEX 0, 0, 100, 50\nBEGIN\n  PUSHBUTTON \"OK\", 1, 5, 5, 40, 14\nEND\n"
            "LANGUAGE 0, 0\n"
            "7 MENU\nBEGIN\n  MENUITEM \"A\", 2\n  MENUITEM \"B\", 3\nEND\n"
            "#include \"more.rc\"\n");
  WriteFile("more.rc", "\n300 DIALOG 0, 0, 10, 10\nBEGIN\nEND\n");
  ScriptOptions options;
  options.scriptPath = PathOf("app.rc");
  std::ostringstream table;
  std::ostringstream json;
  std::ostringstream err;
  ASSERT_EQ(RunListCommand(options, table, err), 0) << err.str();
  ASSERT_EQ(RunJsonListCommand(options, json, err), 0) << err.str();
  const Json list = Json::parse(json.str());
  const Json& resources = list["resources"];
  EXPECT_EQ(list["script"], options.scriptPath);
  const std::vector<std::string> lines = Lines(table.str());
  ASSERT_EQ(lines.size(), 1 + resources.size());
  ASSERT_EQ(resources.size(), 4U);
  for (std::size_t i = 0; i < resources.size(); ++i) {
    const Json& resource = resources[i];
    char language[8];
    std::snprintf(language, sizeof language, "0x%04X", resource["language"].get<unsigned>());
    const bool menu = resource.contains("itemCount");
    const Json& count = menu ? resource["itemCount"] : resource["controlCount"];
    const std::string noun = menu ? " item" : " control";
    const Cells expected{Text(resource["kind"]),
                         Text(resource["name"]),
                         resource["id"].is_null() ? "-" : Number(resource["id"]),
                         language,
                         Number(resource["codePage"]),
                         Number(resource["line"]),
                         Number(count) + noun + (count == 1 ? "" : "s")};
    EXPECT_EQ(TableCells(lines[i + 1]), expected) << lines[i + 1];
  }
  EXPECT_EQ(resources[0]["symbol"], "IDR_MAIN");
  EXPECT_EQ(resources[0]["language"], 0x0409);
  EXPECT_TRUE(resources[1]["id"].is_null());
  EXPECT_TRUE(resources[2]["symbol"].is_null());
  EXPECT_TRUE(std::filesystem::equivalent(Text(resources[3]["file"]), PathOf("more.rc"))) << resources[3]["file"];
  EXPECT_EQ(resources[3]["line"], 2);
}

}  // namespace
}  // namespace trellane
