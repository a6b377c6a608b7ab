// The environment's locale, loaded once per distinct setting and kept for the
// life of the process: loading one reads files, and freeing one while
// another thread may still convert with it would only invite trouble.
#include "text/EnvironmentLocale.h"

#include <langinfo.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <string>

namespace {

// The name the C library resolves LC_CTYPE from: the first non-empty one of
// LC_ALL, LC_CTYPE and LANG.
const char* CharacterTypeSetting() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "";
}

// Whether every ASCII character is the byte of the same value, both ways and
// without shift sequences; also makes the C library set up its conversion
// tables now, under the load lock, rather than lazily on two threads at once.
bool MapsAsciiToItself(locale_t locale) {
    const locale_t previous = uselocale(locale);
    bool same = true;
    for (int ascii = 1; ascii < 0x80 && same; ++ascii) {
        std::mbstate_t state{};
        char bytes[MB_LEN_MAX];
        const std::size_t size = std::wcrtomb(bytes, static_cast<wchar_t>(ascii), &state);
        const std::size_t closing = std::wcrtomb(bytes + 1, L'\0', &state);
        const char byte = static_cast<char>(ascii);
        wchar_t character = 0;
        state = std::mbstate_t{};
        same = size == 1 && bytes[0] == byte && closing == 1 && std::mbrtowc(&character, &byte, 1, &state) == 1 &&
               character == static_cast<wchar_t>(ascii);
    }
    uselocale(previous);
    return same;
}

LocaleEncoding Load() {
    // Only the character type category matters for conversion and case
    // folding; a broken setting of another category must not disturb it.
    locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) {
        locale = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    }
    if (locale == static_cast<locale_t>(0)) {
        return LocaleEncoding{locale, LocaleCharset::kOther};
    }
    const bool ascii = MapsAsciiToItself(locale);
    if (ascii && std::strcmp(nl_langinfo_l(CODESET, locale), "UTF-8") == 0) {
        return LocaleEncoding{locale, LocaleCharset::kUtf8};
    }
    return LocaleEncoding{locale, ascii ? LocaleCharset::kAsciiCompatible : LocaleCharset::kOther};
}

// One loaded locale per distinct setting, never freed. The list lives in
// malloc'ed nodes reachable from a static head, so leak checkers see it and
// the first conversion of a run allocates nothing through operator new.
struct CachedEncoding {
    CachedEncoding* next;
    char* setting;
    LocaleEncoding encoding;
};

std::mutex gLoadLock;
CachedEncoding* gCache = nullptr;
std::atomic<const LocaleEncoding*> gCurrent{nullptr};

// Without memory for a node the encoding is "C" as far as the converters
// are concerned: no locale to switch to, and only the C library's own path.
const LocaleEncoding kUnavailable{static_cast<locale_t>(0), LocaleCharset::kOther};

const LocaleEncoding* Remember(const char* setting, LocaleEncoding encoding) {
    auto* node = static_cast<CachedEncoding*>(std::malloc(sizeof(CachedEncoding)));
    char* name = strdup(setting);
    if (node == nullptr || name == nullptr) {
        std::free(node);
        std::free(name);
        if (encoding.locale != static_cast<locale_t>(0)) freelocale(encoding.locale);
        return &kUnavailable;
    }
    *node = CachedEncoding{gCache, name, encoding};
    gCache = node;
    return &node->encoding;
}

// The encoding for the current environment; the caller holds gLoadLock.
const LocaleEncoding* Resolve() {
    const char* setting = CharacterTypeSetting();
    for (const CachedEncoding* node = gCache; node != nullptr; node = node->next) {
        if (std::strcmp(setting, node->setting) == 0) {
            return &node->encoding;
        }
    }
    return Remember(setting, Load());
}

}  // namespace

const LocaleEncoding& EnvironmentEncoding() noexcept {
    const LocaleEncoding* current = gCurrent.load(std::memory_order_acquire);
    if (current != nullptr) {
        return *current;
    }
    const std::lock_guard<std::mutex> guard(gLoadLock);
    current = gCurrent.load(std::memory_order_relaxed);
    if (current == nullptr) {
        current = Resolve();
        gCurrent.store(current, std::memory_order_release);
    }
    return *current;
}

void ReloadEnvironmentLocale() noexcept {
    const std::lock_guard<std::mutex> guard(gLoadLock);
    gCurrent.store(Resolve(), std::memory_order_release);
}

EnvironmentLocale::EnvironmentLocale() noexcept {
    const locale_t locale = EnvironmentEncoding().locale;
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
