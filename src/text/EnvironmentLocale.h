// Runs a stretch of code in the locale that the environment names (LC_ALL,
// LC_CTYPE, LANG) on the calling thread only, so that conversions on the
// user-interface thread and on the worker never disturb each other.
#pragma once

#include <locale.h>

class EnvironmentLocale {
public:
    // Switches the calling thread to the environment's locale, or to "C"
    // when that locale cannot be loaded.
    EnvironmentLocale() noexcept;
    // Restores the thread's previous locale and frees the one it loaded.
    ~EnvironmentLocale();
    EnvironmentLocale(const EnvironmentLocale&) = delete;
    EnvironmentLocale& operator=(const EnvironmentLocale&) = delete;

private:
    locale_t loaded_ = static_cast<locale_t>(0);
    locale_t previous_ = static_cast<locale_t>(0);
};
