#include "l10n/Messages.h"

#include <atomic>

#include "l10n/LanguageTable.h"
#include "text/Convert.h"

namespace {

// Written once at start-up; atomic so that a late writer cannot tear a read.
std::atomic<std::int32_t> currentLanguage{kDefaultLanguage};

const AString* FindText(std::int32_t language, const AString& id) {
    const MessageTable* table = MessageTableOf(language);
    if (table == nullptr) {
        return nullptr;
    }
    const auto found = table->find(id);
    return found == table->end() ? nullptr : &found->second;
}

}  // namespace

WString LoadResString(const AString& id) {
    const AString* text = FindText(CurrentLanguage(), id);
    return text == nullptr ? WString() : ToWString(*text);
}

std::int32_t LanguageFromCode(const AString& code) {
    for (const LanguageMessages* language : AllLanguages()) {
        if (AString(language->code) == code) {
            return language->number;
        }
    }
    return 0;
}

void SetCurrentLanguage(std::int32_t number) { currentLanguage.store(number, std::memory_order_relaxed); }

std::int32_t CurrentLanguage() { return currentLanguage.load(std::memory_order_relaxed); }

std::vector<AString> MessageIdentifiers(std::int32_t language) {
    std::vector<AString> identifiers;
    if (const MessageTable* table = MessageTableOf(language)) {
        for (const auto& entry : *table) {
            identifiers.push_back(entry.first);
        }
    }
    return identifiers;
}

AString RawMessageText(std::int32_t language, const AString& id) {
    const AString* text = FindText(language, id);
    return text == nullptr ? AString() : *text;
}
