// The locale that the environment names (LC_ALL, LC_CTYPE, LANG), read once
// and kept, together with what its character encoding allows the converters
// to do without the C library: UTF-8 and ASCII-compatible encodings are
// common enough to deserve a path of their own.
#pragma once

#include <locale.h>

enum class LocaleCharset {
    kUtf8,             // UTF-8: converted directly, unit by unit
    kAsciiCompatible,  // ASCII bytes stand for themselves, statelessly
    kOther,            // only the C library knows
};

struct LocaleEncoding {
    locale_t locale;  // the environment's character type locale ("C" when it cannot be loaded)
    LocaleCharset charset;
};

// The environment's encoding, loaded on first use and kept until
// ReloadEnvironmentLocale; never null, safe on any thread.
const LocaleEncoding& EnvironmentEncoding() noexcept;

// Reads the locale variables again: for code that has changed them after the
// first conversion (tests do; the installer never does). Earlier encodings
// stay valid, so a conversion running on another thread is not disturbed.
void ReloadEnvironmentLocale() noexcept;

// Runs a stretch of code in the environment's locale on the calling thread
// only, for the conversions that need the C library.
class EnvironmentLocale {
public:
    EnvironmentLocale() noexcept;
    // Restores the thread's previous locale.
    ~EnvironmentLocale();
    EnvironmentLocale(const EnvironmentLocale&) = delete;
    EnvironmentLocale& operator=(const EnvironmentLocale&) = delete;

private:
    locale_t previous_ = static_cast<locale_t>(0);
    bool switched_ = false;
};
