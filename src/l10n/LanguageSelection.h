// The start-up choice of the language: the code of the L option when it names
// a language, else the language named by the process locale, else English.
#pragma once

#include <cstdint>

#include "text/WString.h"

struct LanguageChoice {
    std::int32_t number;  // 1..16, never 0
    WString code;         // the code that selected the language; "en" for the default
};

// `optionCode` is the code of the first L option, or null when there was none.
// Unless that code names a language, sets the process locale from the
// environment (setlocale for all categories) and tries the first two
// characters of its name; a locale that is unusable or names no language
// gives {3, "en"}. Does not change the current language.
LanguageChoice SelectLanguage(const AString* optionCode);
