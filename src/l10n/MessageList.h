// The fixed (identifier, text) lists of every language, from which the
// message tables are built: constant data, one list per language source file,
// each listing the same identifiers in the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

// One entry of a language's list; both strings are UTF-8 literals.
struct MessageText {
    const char* id;
    const char* text;
};

inline constexpr std::size_t kMessageCount = 80;

// A language's number, its two-letter code and its list of texts.
struct LanguageMessages {
    std::int32_t number;
    const char* code;
    std::span<const MessageText> texts;
};

// Constant-initialised, so usable by any static initialiser.
extern const LanguageMessages kRussianMessages;
extern const LanguageMessages kUkrainianMessages;
extern const LanguageMessages kEnglishMessages;
extern const LanguageMessages kLatvianMessages;
extern const LanguageMessages kLithuanianMessages;
extern const LanguageMessages kBulgarianMessages;
extern const LanguageMessages kGermanMessages;
extern const LanguageMessages kRomanianMessages;
extern const LanguageMessages kGeorgianMessages;
extern const LanguageMessages kKazakhMessages;
extern const LanguageMessages kVietnameseMessages;
extern const LanguageMessages kTurkishMessages;
extern const LanguageMessages kGreekMessages;
extern const LanguageMessages kSpanishMessages;
extern const LanguageMessages kArmenianMessages;
extern const LanguageMessages kItalianMessages;
