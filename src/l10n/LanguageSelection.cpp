#include "l10n/LanguageSelection.h"

#include <algorithm>
#include <clocale>
#include <cstring>

#include "l10n/Messages.h"
#include "text/Convert.h"

namespace {

LanguageChoice DefaultChoice() { return {kDefaultLanguage, ToWString("en")}; }

// A locale name such as "de_AT.UTF-8" starts with its language code; "C",
// "POSIX" and composite "LC_CTYPE=...;..." names start with none.
AString LocaleLanguageCode(const char* localeName) {
    return AString(localeName, std::min<std::size_t>(std::strlen(localeName), 2));
}

LanguageChoice ChoiceFromLocale() {
    const char* localeName = std::setlocale(LC_ALL, "");
    if (localeName == nullptr) {
        return DefaultChoice();
    }
    const AString code = LocaleLanguageCode(localeName);
    const std::int32_t number = LanguageFromCode(code);
    return number == 0 ? DefaultChoice() : LanguageChoice{number, ToWString(code)};
}

}  // namespace

LanguageChoice SelectLanguage(const AString* optionCode) {
    if (optionCode != nullptr) {
        const std::int32_t number = LanguageFromCode(*optionCode);
        if (number != 0) {
            return {number, ToWString(*optionCode)};
        }
    }
    return ChoiceFromLocale();
}
