// Helpers shared by the text tests: strings of a given length and readable
// output of WString values in assertion messages.
#pragma once

#include <ostream>
#include <string>

#include "text/WString.h"

// `count` units cycling through the lower-case letters, in a buffer sized
// exactly for them.
inline WString Letters(std::uint64_t count) {
    std::u16string units;
    for (std::uint64_t i = 0; i < count; ++i) {
        units += static_cast<char16_t>(u'a' + i % 26);
    }
    return WString(units.data(), units.size());
}

inline AString ALetters(std::uint64_t count) {
    std::string bytes;
    for (std::uint64_t i = 0; i < count; ++i) {
        bytes += static_cast<char>('a' + i % 26);
    }
    return AString(bytes.data(), bytes.size());
}

inline void PrintTo(const WString& text, std::ostream* out) {
    *out << '"';
    for (std::uint64_t i = 0; i < text.length(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0x20 && unit < 0x7f) {
            *out << static_cast<char>(unit);
        } else {
            *out << "\\u" << std::hex << static_cast<unsigned>(unit) << std::dec;
        }
    }
    *out << "\" (" << text.length() << " units)";
}

inline void PrintTo(const AString& text, std::ostream* out) {
    *out << '"' << std::string(text.c_str(), text.length()) << "\" (" << text.length() << " bytes)";
}

namespace {
// Parameter tables of the text tests carry a `name`; print that instead of
// the parameter's bytes when a case fails.
template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}
}  // namespace
