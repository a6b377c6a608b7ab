// Runs a stretch of code in the character encoding of the locale that the
// environment names (LC_ALL, LC_CTYPE, LANG), on the calling thread only, so
// that conversions on the user-interface thread and on the worker never
// disturb each other or the process-wide locale.
#pragma once

#include <locale.h>

class EnvironmentLocale {
public:
    // Switches the calling thread to the environment's character type
    // locale, or to "C" when that locale cannot be loaded.
    EnvironmentLocale() noexcept;
    // Restores the thread's previous locale.
    ~EnvironmentLocale();
    EnvironmentLocale(const EnvironmentLocale&) = delete;
    EnvironmentLocale& operator=(const EnvironmentLocale&) = delete;

private:
    locale_t previous_ = static_cast<locale_t>(0);
    bool switched_ = false;
};
