#include "l10n/LanguageTable.h"

#include <iterator>
#include <mutex>

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

}  // namespace

std::span<const LanguageMessages* const> AllLanguages() { return kAllLanguages; }

const MessageTable* MessageTableOf(std::int32_t number) {
    constexpr std::size_t kCount = std::size(kAllLanguages);
    static std::once_flag built[kCount];
    static MessageTable tables[kCount];
    for (std::size_t i = 0; i < kCount; ++i) {
        if (kAllLanguages[i]->number != number) continue;
        std::call_once(built[i], [i] { tables[i] = BuildMessageTable(*kAllLanguages[i]); });
        return &tables[i];
    }
    return nullptr;
}
