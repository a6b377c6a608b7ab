// The system's text types: WString (UCS-2 units, all text inside the program)
// and AString (8-bit units, text on its way to and from the system), with the
// few free functions that the rest of the program relies on.
#pragma once

#include "text/BasicString.h"

using WString = BasicString<char16_t, 12, 4>;
using AString = BasicString<char, 24, 8>;

// Both are instantiated once, in WString.cpp.
extern template class BasicString<char16_t, 12, 4>;
extern template class BasicString<char, 24, 8>;

// Concatenation; a heap result is sized exactly for the combined length.
WString operator+(const WString& a, const WString& b);
WString operator+(const WString& a, const char16_t* b);
AString operator+(const AString& a, const AString& b);
AString operator+(const AString& a, const char* b);

// Replaces every occurrence of `what` in `text` by `with`, left to right and
// without overlap; returns the number of replacements. An empty `what` does
// nothing. Throws std::length_error("basic_string") for an oversized result,
// leaving `text` unchanged.
std::uint64_t ReplaceAll(WString& text, const WString& what, const WString& with);

// `value` as text in `radix` (lower-case digits); negative values get a "-"
// only in radix 10. A radix outside 2..36 gives the empty string.
WString IntToWString(std::int32_t value, std::uint32_t radix);

namespace text_detail {
// Length of a ReplaceAll result for `matches` replacements; throws
// std::length_error("basic_string") beyond 0x7ffffffffffffffe units.
std::uint64_t ReplacedLength(std::uint64_t textLength, std::uint64_t whatLength, std::uint64_t withLength,
                             std::uint64_t matches);
}  // namespace text_detail
