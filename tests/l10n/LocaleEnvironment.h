// Test helpers that change the locale environment and the current language
// for one test and put everything back afterwards, plus a private locale
// directory whose locales need not be installed on the machine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "text/WString.h"

// Restores the locale variables, the process locale and the current language.
class LocaleEnvironment {
public:
    LocaleEnvironment();
    ~LocaleEnvironment();
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

    // Names the locale of every category through LC_ALL, as a user would.
    void UseLocale(const char* name);
    // Only LANG and LC_CTYPE, so that the categories differ.
    void UseCompositeLocale(const char* ctypeName);

private:
    struct Saved {
        std::string name;
        std::optional<std::string> value;
    };
    std::vector<Saved> variables_;
    std::string processLocale_;
    std::int32_t language_;
};

// A directory, named by LOCPATH, holding the named locales as copies of the
// C.UTF-8 definitions: setlocale accepts their names without an installed
// locale. Available() is false where the C.UTF-8 definitions are missing.
class PrivateLocales {
public:
    explicit PrivateLocales(const std::vector<std::string>& names);
    ~PrivateLocales();
    PrivateLocales(const PrivateLocales&) = delete;
    PrivateLocales& operator=(const PrivateLocales&) = delete;

    bool Available() const { return available_; }
    const std::filesystem::path& Path() const { return root_; }

private:
    std::filesystem::path root_;
    bool available_ = false;
};

std::u16string Units(const WString& text);
