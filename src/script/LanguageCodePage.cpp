#include "script/LanguageCodePage.h"

#include <cstdint>

#include "script/SourceText.h"

namespace trellane {
namespace {

struct LanguagePage {
  std::uint16_t primary;
  int codePage;
};

// Languages whose code page does not depend on the sublanguage.
constexpr LanguagePage LanguagePages[] = {
    {0x01, 1256},  // Arabic
    {0x02, 1251},  // Bulgarian
    {0x05, 1250},  // Czech
    {0x08, 1253},  // Greek
    {0x0D, 1255},  // Hebrew
    {0x0E, 1250},  // Hungarian
    {0x11, 932},   // Japanese
    {0x12, 949},   // Korean
    {0x15, 1250},  // Polish
    {0x18, 1250},  // Romanian
    {0x19, 1251},  // Russian
    {0x1B, 1250},  // Slovak
    {0x1C, 1250},  // Albanian
    {0x1E, 874},   // Thai
    {0x1F, 1254},  // Turkish
    {0x20, 1256},  // Urdu
    {0x22, 1251},  // Ukrainian
    {0x23, 1251},  // Belarusian
    {0x24, 1250},  // Slovenian
    {0x25, 1257},  // Estonian
    {0x26, 1257},  // Latvian
    {0x27, 1257},  // Lithuanian
    {0x28, 1251},  // Tajik
    {0x29, 1256},  // Persian
    {0x2A, 1258},  // Vietnamese
    {0x2F, 1251},  // Macedonian
    {0x3F, 1251},  // Kazakh
    {0x40, 1251},  // Kyrgyz
    {0x42, 1250},  // Turkmen
    {0x44, 1251},  // Tatar
    {0x6D, 1251},  // Bashkir
    {0x80, 1256},  // Uyghur
    {0x85, 1251},  // Sakha
    {0x8C, 1256},  // Dari
    {0x92, 1256},  // Central Kurdish
};

constexpr std::uint16_t LangChinese = 0x04;
constexpr std::uint16_t LangSerbian = 0x1A;  // also Croatian and Bosnian
constexpr std::uint16_t LangAzeri = 0x2C;
constexpr std::uint16_t LangUzbek = 0x43;
constexpr std::uint16_t LangMongolian = 0x50;

}  // namespace

int AnsiCodePage(const Language& language) {
  const std::uint16_t sub = language.sub;
  switch (language.primary) {
    case LangChinese:
      // Traditional, Hong Kong and Macau; simplified, Singapore and the rest.
      return sub == 0x01 || sub == 0x03 || sub == 0x05 ? 950 : 936;
    case LangSerbian:
      // The Cyrillic sublanguages of Serbian and Bosnian; the Latin ones and Croatian.
      return sub == 0x03 || sub == 0x07 || sub == 0x08 || sub == 0x0A || sub == 0x0C ? 1251 : 1250;
    case LangAzeri:
    case LangUzbek:
      return sub == 0x02 ? 1251 : 1254;  // Cyrillic, Latin
    case LangMongolian:
      return sub == 0x02 ? DefaultCodePage : 1251;  // the traditional script is Unicode only
    default:
      break;
  }
  for (const LanguagePage& entry : LanguagePages)
    if (entry.primary == language.primary)
      return entry.codePage;
  return DefaultCodePage;
}

}  // namespace trellane
