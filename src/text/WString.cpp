// Concatenation, replacement and number formatting for the text types.
#include "text/WString.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

template class BasicString<char16_t, 12, 4>;
template class BasicString<char, 24, 8>;

namespace {

constexpr std::uint64_t kLongestResult = 0x7ffffffffffffffeULL;

// A heap result gets a buffer sized exactly for both parts.
template <typename String, typename Unit>
String Concatenate(const String& a, const Unit* b, std::uint64_t bLength) {
    if (bLength > String::npos - a.length()) {
        throw std::bad_alloc();
    }
    String result;
    result.resize(a.length() + bLength);
    Unit* target = result.mutableData();
    std::copy_n(a.c_str(), a.length(), target);
    std::copy_n(b, bLength, target + a.length());
    return result;
}

std::uint64_t Length(const char16_t* text) {
    return text == nullptr ? 0 : std::char_traits<char16_t>::length(text);
}

std::uint64_t Length(const char* text) {
    return text == nullptr ? 0 : std::strlen(text);
}

// Same-length replacement overwrites each match in place, un-sharing once.
std::uint64_t ReplaceInPlace(WString& text, const WString& what, const WString& with) {
    std::uint64_t count = 0;
    const std::uint64_t step = what.length();
    for (std::uint64_t pos = text.find(what); pos != WString::npos; pos = text.find(what, pos + step)) {
        // `with` may be `text` itself: un-share before reading it.
        char16_t* target = text.mutableData();
        std::memmove(target + pos, with.c_str(), step * sizeof(char16_t));
        ++count;
    }
    return count;
}

std::vector<std::uint64_t> MatchPositions(const WString& text, const WString& what) {
    std::vector<std::uint64_t> positions;
    const std::uint64_t step = what.length();
    for (std::uint64_t pos = text.find(what); pos != WString::npos; pos = text.find(what, pos + step)) {
        positions.push_back(pos);
    }
    return positions;
}

WString Rebuild(const WString& text, const WString& what, const WString& with,
                const std::vector<std::uint64_t>& positions) {
    WString result;
    result.resize(text_detail::ReplacedLength(text.length(), what.length(), with.length(), positions.size()));
    char16_t* target = result.mutableData();
    const char16_t* source = text.c_str();
    std::uint64_t from = 0;
    for (const std::uint64_t pos : positions) {
        target = std::copy(source + from, source + pos, target);
        target = std::copy_n(with.c_str(), with.length(), target);
        from = pos + what.length();
    }
    std::copy(source + from, source + text.length(), target);
    return result;
}

}  // namespace

WString operator+(const WString& a, const WString& b) {
    return Concatenate(a, b.c_str(), b.length());
}

WString operator+(const WString& a, const char16_t* b) {
    return Concatenate(a, b, Length(b));
}

AString operator+(const AString& a, const AString& b) {
    return Concatenate(a, b.c_str(), b.length());
}

AString operator+(const AString& a, const char* b) {
    return Concatenate(a, b, Length(b));
}

std::uint64_t text_detail::ReplacedLength(std::uint64_t textLength, std::uint64_t whatLength,
                                          std::uint64_t withLength, std::uint64_t matches) {
    if (withLength <= whatLength) {
        return textLength - (whatLength - withLength) * matches;
    }
    const std::uint64_t growth = withLength - whatLength;
    if (matches != 0 && growth > (kLongestResult - textLength) / matches) {
        throw std::length_error("basic_string");
    }
    return textLength + growth * matches;
}

std::uint64_t ReplaceAll(WString& text, const WString& what, const WString& with) {
    if (what.empty() || text.empty() || what.length() > text.length()) {
        return 0;
    }
    if (what.length() == with.length()) {
        return ReplaceInPlace(text, what, with);
    }
    const std::vector<std::uint64_t> positions = MatchPositions(text, what);
    if (positions.empty()) {
        return 0;
    }
    text = Rebuild(text, what, with, positions);
    return positions.size();
}

WString IntToWString(std::int32_t value, std::uint32_t radix) {
    if (radix < 2 || radix > 36) {
        return WString();
    }
    const bool negative = value < 0 && radix == 10;
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (negative) {
        magnitude = 0U - magnitude;
    }
    char16_t digits[34] = {};
    std::size_t first = sizeof digits / sizeof digits[0] - 1;
    do {
        const std::uint32_t digit = magnitude % radix;
        digits[--first] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + (digit - 10));
        magnitude /= radix;
    } while (magnitude != 0);
    if (negative) {
        digits[--first] = u'-';
    }
    return WString(digits + first);
}
