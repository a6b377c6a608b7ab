// Thread-local switch to the environment's locale. Loaded locales are kept
// for the life of the process: loading one reads files, and freeing one while
// another thread may still convert with it would only invite trouble.
#include "text/EnvironmentLocale.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <string>

namespace {

// The name the C library resolves LC_CTYPE from: the first non-empty one of
// LC_ALL, LC_CTYPE and LANG.
std::string CharacterTypeSetting() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return std::string();
}

// Makes the C library set up its conversion tables for `locale` now, while
// the cache lock is held, rather than lazily on two threads at once.
void Prepare(locale_t locale) {
    const locale_t previous = uselocale(locale);
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    std::wcrtomb(bytes, L'a', &state);
    wchar_t character = 0;
    state = std::mbstate_t{};
    std::mbrtowc(&character, "a", 1, &state);
    uselocale(previous);
}

locale_t Load() {
    // Only the character type category matters for conversion and case
    // folding; a broken setting of another category must not disturb it.
    locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) {
        locale = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    }
    if (locale != static_cast<locale_t>(0)) {
        Prepare(locale);
    }
    return locale;
}

// One loaded locale per distinct setting, never freed. The list lives in
// malloc'ed nodes reachable from a static head, so leak checkers see it and
// the first conversion of a run allocates nothing through operator new.
struct CachedLocale {
    CachedLocale* next;
    char* setting;
    locale_t locale;
};

locale_t Remember(CachedLocale*& head, const std::string& setting, locale_t locale) {
    auto* node = static_cast<CachedLocale*>(std::malloc(sizeof(CachedLocale)));
    char* name = strdup(setting.c_str());
    if (node == nullptr || name == nullptr) {
        std::free(node);
        std::free(name);
        freelocale(locale);
        return static_cast<locale_t>(0);
    }
    *node = CachedLocale{head, name, locale};
    head = node;
    return locale;
}

locale_t LocaleForEnvironment() {
    static std::mutex lock;
    static CachedLocale* head = nullptr;
    std::string setting;
    try {
        setting = CharacterTypeSetting();
    } catch (...) {
        // Out of memory: the thread keeps its current locale.
        return static_cast<locale_t>(0);
    }
    const std::lock_guard<std::mutex> guard(lock);
    for (const CachedLocale* node = head; node != nullptr; node = node->next) {
        if (setting == node->setting) {
            return node->locale;
        }
    }
    const locale_t locale = Load();
    if (locale == static_cast<locale_t>(0)) {
        return locale;
    }
    return Remember(head, setting, locale);
}

}  // namespace

EnvironmentLocale::EnvironmentLocale() noexcept {
    const locale_t locale = LocaleForEnvironment();
    if (locale != static_cast<locale_t>(0)) {
        previous_ = uselocale(locale);
        switched_ = previous_ != static_cast<locale_t>(0);
    }
}

EnvironmentLocale::~EnvironmentLocale() {
    if (switched_) {
        uselocale(previous_);
    }
}
