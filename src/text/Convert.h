// The single crossing between WString and 8-bit text: every conversion runs
// in the multibyte encoding of the locale that the environment names.
#pragma once

#include <cstdint>
#include <optional>

#include "text/WString.h"

// Bytes the whole source needs in the locale encoding (no terminator), or -1
// when a unit cannot be represented; the converted prefix is then left in
// `destination`, followed by zeros. Code page, flags and the last two
// arguments are accepted and ignored. A negative length counts as 0; a result
// beyond the 32-bit range is reported as -1.
std::int32_t WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const char16_t* source,
                                 std::int32_t sourceLength, char* destination, std::int32_t destinationSize,
                                 const char* defaultChar, int* usedDefaultChar);

// Characters in the first `sourceLength` bytes (or up to a zero byte), or -1
// when they are not valid in the locale encoding (nothing written then).
// Stores at most `destinationSize` units, each the low 16 bits of a
// character; writes no terminator. A `destinationSize` of 0 only measures.
// A negative `sourceLength` counts as 0.
std::int32_t MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* source,
                                 std::int32_t sourceLength, char16_t* destination, std::int32_t destinationSize);

// Never fail: text that cannot be converted yields the part before the
// offending character.
AString ToAString(const WString& text);
WString ToWString(const AString& text);
WString ToWString(const char* text);

// The whole text in the locale encoding, or nothing when it holds a zero
// unit or a character the encoding cannot represent (or cannot give back as
// it was): for names that must not silently become other names.
std::optional<AString> ToAStringWhole(const WString& text);

// Case-insensitive comparison through the 8-bit forms (strcasecmp).
std::int32_t CompareNoCase(const WString& a, const WString& b);
