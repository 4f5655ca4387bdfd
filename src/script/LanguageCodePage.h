// The ANSI code page Windows gives each language (LOCALE_IDEFAULTANSICODEPAGE).
#pragma once

#include "script/ResourceModel.h"

namespace trellane {

// The code page of a LANGUAGE statement's language: 932 for Japanese, 1251 for
// Russian and so on. A language Windows writes only in Unicode (Hindi,
// Georgian...), and one this program does not know, gives 1252.
int AnsiCodePage(const Language& language);

}  // namespace trellane
