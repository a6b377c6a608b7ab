#include "l10n/LanguageTable.h"

#include "l10n/MessageList.h"

namespace {

// Every language the installer speaks, each with its number and code.
constinit const LanguageMessages* const kAllLanguages[] = {
    &kRussianMessages,
    &kUkrainianMessages,
    &kEnglishMessages,
    &kLatvianMessages,
    &kLithuanianMessages,
    &kBulgarianMessages,
    &kGermanMessages,
    &kRomanianMessages,
    &kGeorgianMessages,
    &kKazakhMessages,
    &kVietnameseMessages,
    &kTurkishMessages,
    &kGreekMessages,
    &kSpanishMessages,
    &kArmenianMessages,
    &kItalianMessages,
};

// A repeated identifier keeps its first text, as map insertion does.
MessageTable BuildMessageTable(const LanguageMessages& language) {
    MessageTable table;
    for (const MessageText& entry : language.texts) {
        table.emplace(AString(entry.id), AString(entry.text));
    }
    return table;
}

LanguageTable BuildLanguageTable() {
    LanguageTable languages;
    for (const LanguageMessages* language : kAllLanguages) {
        languages.emplace(language->number, std::make_pair(AString(language->code), BuildMessageTable(*language)));
    }
    return languages;
}

// Builds the tables during static initialisation, while only one thread runs.
[[maybe_unused]] const LanguageTable& kBuiltBeforeMain = Languages();

}  // namespace

const LanguageTable& Languages() {
    static const LanguageTable languages = BuildLanguageTable();
    return languages;
}
