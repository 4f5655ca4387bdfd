#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/Converters.h"
#include "cli/JsonDump.h"
#include "radasm/MenuRecordFile.h"
#include "script/LanguageCodePage.h"
#include "tests/ScriptTestSupport.h"

namespace trellane {
namespace {

std::string CaptionBytes(const Image& image, std::size_t item) {
  const std::string_view slot =
      LoadText(image, MenuItemOffset(item) + MenuItemRecord::caption, MenuItemRecord::captionWidth);
  return std::string(slot.substr(0, slot.find('\0')));
}

ConverterResult ConvertMenu(const std::string& script, std::optional<int> outputCodePage = std::nullopt) {
  ConversionContext context;
  context.outputCodePage = outputCodePage;
  return ConvertMenuScript(script, context);
}

// A script in a double-byte page: its captions reach the record as written,
// trail bytes that are backslashes included, and dump reads them back.
TEST(DoubleByteScripts, CaptionsRoundTripFromScriptToRecordAndBack) {
  struct Case {
    int codePage;
    const char* language;
    std::string caption;  // in the page
    std::string utf8;
  };
  const Case cases[] = {
      {932, "LANG_JAPANESE, SUBLANG_DEFAULT", "\x95\x5C\x8E\xA6(&V)", "\xE8\xA1\xA8\xE7\xA4\xBA(&V)"},
      {932, "LANG_JAPANESE, SUBLANG_DEFAULT", "\x83\x5C\x83\x74\x83\x67\x5C\x5C",
       "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88\\"},
      {936, "LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", "\x81\x5C\xD6\xD0\xCE\xC4",
       "\xE4\xB9\x97\xE4\xB8\xAD\xE6\x96\x87"},
      {949, "LANG_KOREAN, SUBLANG_KOREAN", "\xC7\xD1\xB1\xB9\xBE\xEE", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"},
      {950, "LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL", "\xA5\x5C\xAF\xE0", "\xE5\x8A\x9F\xE8\x83\xBD"},
  };
  for (const Case& c : cases) {
    const std::string page = std::to_string(c.codePage);
    const std::string script = JoinLines({
        "#include <windows.h>",
        "#pragma code_page(" + page + ")",
        std::string("LANGUAGE ") + c.language,
        "// a comment that ends in a character whose trail byte may be a backslash: " + c.caption.substr(0, 2),
        "1 MENU",
        "BEGIN",
        "  MENUITEM \"" + c.caption + "\", 100",
        "  MENUITEM \"x\", 101  /* " + c.caption.substr(0, 2) + " */",
        "END",
    });
    const ConverterResult result = ConvertMenu(script);
    ASSERT_FALSE(result.image.empty()) << page;
    for (const Diagnostic& diagnostic : result.diagnostics)
      ADD_FAILURE() << page << ":" << diagnostic.line << ": " << diagnostic.message;
    EXPECT_EQ(result.textCodePage, c.codePage);
    std::string expected = c.caption;
    if (expected.ends_with("\x5C\x5C"))
      expected.pop_back();  // an escaped backslash after a trail byte that is one
    EXPECT_EQ(CaptionBytes(result.image, 0), expected) << page;
    EXPECT_EQ(CaptionBytes(result.image, 1), "x") << page;
    const std::optional<Json> json = MenuImageJson(result.image, c.codePage);
    ASSERT_TRUE(json);
    EXPECT_EQ((*json)["items"][0]["caption"], c.utf8) << page;
  }
}

// One UTF-8 script, each resource written in its LANGUAGE's code page unless
// --output-code-page forces one.
TEST(LanguageCodePages, EachResourceIsWrittenInItsLanguagesPage) {
  struct Case {
    const char* language;
    std::string utf8;
    std::string bytes;
  };
  const Case cases[] = {
      {"LANG_ENGLISH, SUBLANG_ENGLISH_US", "caf\xC3\xA9", "caf\xE9"},
      {"LANG_NEUTRAL, SUBLANG_NEUTRAL", "caf\xC3\xA9", "caf\xE9"},
      {"LANG_RUSSIAN, SUBLANG_DEFAULT", "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB", "\xD4\xE0\xE9\xEB"},
      {"LANG_GREEK, SUBLANG_DEFAULT", "\xCE\x91", "\xC1"},
      {"LANG_POLISH, SUBLANG_DEFAULT", "\xC5\x81", "\xA3"},
      {"LANG_JAPANESE, SUBLANG_DEFAULT", "\xE8\xA1\xA8", "\x95\x5C"},
      {"LANG_CHINESE, SUBLANG_CHINESE_HONGKONG", "\xE4\xB8\xAD", "\xA4\xA4"},
      {"LANG_CHINESE, SUBLANG_CHINESE_SINGAPORE", "\xE4\xB8\xAD", "\xD6\xD0"},
      {"LANG_SERBIAN, SUBLANG_SERBIAN_CYRILLIC", "\xD0\x96", "\xC6"},
  };
  for (const Case& c : cases) {
    const ConverterResult result = ConvertMenu(std::string("#pragma code_page(65001)\nLANGUAGE ") + c.language +
                                               "\n1 MENU\nBEGIN\n MENUITEM \"" + c.utf8 + "\", 1\nEND\n");
    ASSERT_FALSE(result.image.empty()) << c.language;
    EXPECT_EQ(CaptionBytes(result.image, 0), c.bytes) << c.language;
    EXPECT_FALSE(Mentions(result.diagnostics, "lacks")) << c.language;
  }
  const ConverterResult forced = ConvertMenu(
      "#pragma code_page(65001)\nLANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT\n1 MENU\nBEGIN\n MENUITEM \"\xD0\x96\", "
      "1\nEND\n",
      1252);
  EXPECT_EQ(CaptionBytes(forced.image, 0), "?");
  EXPECT_TRUE(Mentions(forced.diagnostics, "code page 1252 lacks"));
}

TEST(LanguageCodePages, FollowWindowsAnsiCodePages) {
  struct Case {
    std::uint16_t primary;
    std::uint16_t sub;
    int codePage;
  };
  const Case cases[] = {
      {0x00, 0x00, 1252}, {0x09, 0x01, 1252}, {0x07, 0x01, 1252}, {0x11, 0x01, 932},  {0x12, 0x01, 949},
      {0x04, 0x01, 950},  {0x04, 0x02, 936},  {0x04, 0x03, 950},  {0x04, 0x04, 936},  {0x04, 0x05, 950},
      {0x19, 0x01, 1251}, {0x22, 0x01, 1251}, {0x05, 0x01, 1250}, {0x08, 0x01, 1253}, {0x1F, 0x01, 1254},
      {0x0D, 0x01, 1255}, {0x01, 0x01, 1256}, {0x27, 0x01, 1257}, {0x2A, 0x01, 1258}, {0x1E, 0x01, 874},
      {0x1A, 0x01, 1250}, {0x1A, 0x02, 1250}, {0x1A, 0x03, 1251}, {0x2C, 0x01, 1254}, {0x2C, 0x02, 1251},
      {0x39, 0x01, 1252},  // Hindi: Unicode only
      {0x37, 0x01, 1252},  // Georgian: Unicode only
  };
  for (const Case& c : cases)
    EXPECT_EQ(AnsiCodePage(Language{c.primary, c.sub}), c.codePage) << c.primary << " " << c.sub;
}

TEST(DoubleByteScripts, MacroTextsKeepTrailBytesThatAreBackslashes) {
  const ConverterResult result = ConvertMenu(JoinLines({
      "#pragma code_page(932)",
      "#define CAPTION \"\x95\x5C\"",
      "#define JOINED(a) a \"\x83\x5C\"",
      "LANGUAGE 0x11, 1",
      "1 MENU",
      "BEGIN",
      "  MENUITEM CAPTION, 1",
      "  MENUITEM JOINED(\"\x95\x5C\"), 2",
      "END",
  }));
  ASSERT_FALSE(result.image.empty());
  EXPECT_EQ(CaptionBytes(result.image, 0), "\x95\x5C");
  EXPECT_EQ(CaptionBytes(result.image, 1), "\x95\x5C\x83\x5C");
}

TEST(DoubleByteScripts, TextsAreCutBetweenCharacters) {
  // 32 characters of two bytes do not fit the caption slot of 63 bytes: the
  // last one goes whole.
  std::string caption;
  for (int i = 0; i < 32; ++i)
    caption += "\x95\x5C";
  const ConverterResult result = ConvertMenu(
      "#pragma code_page(932)\nLANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
      "1 MENU\nBEGIN\n MENUITEM \"" +
      caption + "\", 1\nEND\n");
  ASSERT_FALSE(result.image.empty());
  EXPECT_EQ(CaptionBytes(result.image, 0), caption.substr(0, 62));
  EXPECT_TRUE(Mentions(result.diagnostics, "caption cut to 63"));
}

TEST(DoubleByteScripts, ALeadByteWithoutItsTrailByteIsNamedWithItsPlace) {
  const ConverterResult result =
      ConvertMenu("#pragma code_page(932)\n1 MENU\nBEGIN\n MENUITEM \"ab\x95\", 1\nEND\n", 932);
  ASSERT_FALSE(result.image.empty());
  ASSERT_TRUE(Mentions(result.diagnostics, "code page 932 does not define"));
  EXPECT_EQ(result.diagnostics.front().line, 4u);
}

}  // namespace
}  // namespace trellane
