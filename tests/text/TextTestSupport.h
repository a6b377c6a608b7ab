// Helpers shared by the text tests: strings of a given length and readable
// values in assertion messages.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "text/WString.h"

// `count` units cycling through the lower-case letters, in a buffer sized
// exactly for them.
inline WString Letters(std::uint64_t count) {
    std::u16string units;
    for (std::uint64_t i = 0; i < count; ++i) units += static_cast<char16_t>(u'a' + i % 26);
    return WString(units.data(), units.size());
}

inline void PrintTo(const WString& text, std::ostream* out) {
    *out << ::testing::PrintToString(std::u16string(text.c_str(), text.length()));
}
