// Letter case folded the way the launcher's keys and values are compared:
// byte by byte with the lower-case mapping of the environment's locale, the
// same mapping strcasecmp applies to the 8-bit forms. Folding the bytes a
// file holds, rather than decoded text, keeps apart two texts that differ in
// bytes the locale cannot decode or in characters beyond U+FFFF.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "text/WString.h"

class CaseFolding {
public:
    // Takes the mapping of the environment's locale as it is now.
    CaseFolding();

    // `bytes` with every byte mapped to its lower-case form; equal results
    // mean the texts compare equal without regard to letter case.
    std::string Fold(std::string_view bytes) const;
    // The same for the 8-bit form of `text`.
    std::string Fold(const WString& text) const;

private:
    std::array<char, 256> lower_{};
};
