// Lookup of user-visible texts by message identifier in the language chosen
// at start-up, and the language numbers (1..16; 0 means no language) behind
// the two-letter codes.
#pragma once

#include <cstdint>
#include <vector>

#include "text/WString.h"

inline constexpr std::int32_t kDefaultLanguage = 3;  // English, code "en"

// The text of `id` in the current language, decoded in the environment's
// locale; empty when the identifier or the current language has no entry.
WString LoadResString(const AString& id);

// The number of the language whose code equals `code` byte for byte (letter
// case matters), or 0.
std::int32_t LanguageFromCode(const AString& code);

// Fixes the language of every later lookup; meant to be called once, before
// a second thread exists.
void SetCurrentLanguage(std::int32_t number);

// The language of lookups; 3 until SetCurrentLanguage is called.
std::int32_t CurrentLanguage();

// The identifiers `language` defines, in byte order; empty for an unknown
// language.
std::vector<AString> MessageIdentifiers(std::int32_t language);

// The UTF-8 bytes of `id` in `language`, undecoded; empty when absent.
AString RawMessageText(std::int32_t language, const AString& id);
