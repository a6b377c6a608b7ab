#include "l10n/LocaleEnvironment.h"

#include <clocale>
#include <cstdlib>
#include <system_error>

#include "l10n/Messages.h"

namespace {

const char* const kLocaleVariables[] = {"LC_ALL", "LC_CTYPE", "LC_MESSAGES", "LANG", "LANGUAGE", "LOCPATH"};

const std::filesystem::path kCUtf8Definitions = "/usr/lib/locale/C.utf8";

}  // namespace

LocaleEnvironment::LocaleEnvironment() : processLocale_(std::setlocale(LC_ALL, nullptr)), language_(CurrentLanguage()) {
    for (const char* name : kLocaleVariables) {
        const char* value = std::getenv(name);
        variables_.push_back({name, value == nullptr ? std::nullopt : std::optional<std::string>(value)});
    }
}

LocaleEnvironment::~LocaleEnvironment() {
    for (const Saved& saved : variables_) {
        if (saved.value) {
            setenv(saved.name.c_str(), saved.value->c_str(), 1);
        } else {
            unsetenv(saved.name.c_str());
        }
    }
    std::setlocale(LC_ALL, processLocale_.c_str());
    SetCurrentLanguage(language_);
}

void LocaleEnvironment::UseLocale(const char* name) { setenv("LC_ALL", name, 1); }

void LocaleEnvironment::UseCompositeLocale(const char* ctypeName) {
    unsetenv("LC_ALL");
    setenv("LANG", "C", 1);
    setenv("LC_CTYPE", ctypeName, 1);
}

PrivateLocales::PrivateLocales(const std::vector<std::string>& names) {
    std::error_code error;
    if (!std::filesystem::is_directory(kCUtf8Definitions, error)) {
        return;
    }
    char pattern[] = "/tmp/l10n-locales-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return;
    }
    root_ = pattern;
    for (const std::string& name : names) {
        std::filesystem::copy(kCUtf8Definitions, root_ / name, std::filesystem::copy_options::recursive, error);
        if (error) {
            return;
        }
    }
    available_ = true;
}

PrivateLocales::~PrivateLocales() {
    if (!root_.empty()) {
        std::error_code ignored;  // a leftover scratch directory is harmless
        std::filesystem::remove_all(root_, ignored);
    }
}

std::u16string Units(const WString& text) { return std::u16string(text.c_str(), text.length()); }

// glibc's newlocale never frees the search path it builds from LOCPATH, so
// every conversion made while PrivateLocales is in use loses a few bytes that
// are not ours; the leak checker of the sanitizer build is told to ignore them.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\nleak:__argz_create_sep\n"; }
