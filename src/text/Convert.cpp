// Conversions between 16-bit text and the locale's multibyte encoding. Each
// one measures first and then converts: UTF-8 and plain ASCII directly, every
// other text through the C library in the environment's locale, set for the
// calling thread only.
#include "text/Convert.h"

#include <strings.h>

#include <climits>
#include <cstring>
#include <cwchar>
#include <limits>
#include <optional>
#include <utility>

#include "text/EnvironmentLocale.h"

namespace {

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// How far a walk over a text got: the units produced (or needed) and whether
// the whole text converted.
struct Walk {
    std::size_t count;
    bool complete;
};

// Bytes that return a stateful encoding to its initial state after
// `produced` bytes (none for the stateless ones), stored when they fit.
std::size_t CloseShiftState(std::mbstate_t& state, char* out, std::size_t limit, std::size_t produced) {
    char bytes[MB_LEN_MAX];
    const std::size_t closing = std::wcrtomb(bytes, L'\0', &state);  // ends with a zero byte
    if (closing == kFailed || closing <= 1) {
        return 0;
    }
    if (out != nullptr) {
        if (closing - 1 > limit - produced) {
            return 0;
        }
        std::memcpy(out + produced, bytes, closing - 1);
    }
    return closing - 1;
}

// Encodes UCS-2 units up to a zero unit or `length` units. Without `out` it
// only measures; with it, it stores whole characters while they fit into
// `limit` bytes. Stops at the first unit the locale cannot represent.
Walk EncodeUnits(const char16_t* source, std::size_t length, char* out, std::size_t limit) {
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    std::size_t produced = 0;
    for (std::size_t i = 0; i < length && source[i] != 0; ++i) {
        // Each unit on its own: surrogate halves are never combined.
        const std::size_t size = std::wcrtomb(bytes, static_cast<wchar_t>(source[i]), &state);
        if (size == kFailed) {
            return Walk{produced, false};
        }
        if (out != nullptr) {
            if (size > limit - produced) {
                return Walk{produced, true};
            }
            std::memcpy(out + produced, bytes, size);
        }
        produced += size;
    }
    return Walk{produced + CloseShiftState(state, out, limit, produced), true};
}

// Decodes multibyte text up to a zero byte or `length` bytes, counting the
// characters and storing the first `limit` of them into `out` (when given),
// each cut to its low 16 bits. Stops at an invalid or incomplete sequence.
Walk DecodeBytes(const char* source, std::size_t length, char16_t* out, std::size_t limit) {
    std::mbstate_t state{};
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < length) {
        wchar_t character = 0;
        const std::size_t size = std::mbrtowc(&character, source + pos, length - pos, &state);
        if (size == 0) {
            break;
        }
        if (size > length - pos) {
            return Walk{count, false};
        }
        if (out != nullptr && count < limit) {
            out[count] = static_cast<char16_t>(static_cast<std::uint32_t>(character) & 0xFFFFU);
        }
        pos += size;
        ++count;
    }
    return Walk{count, true};
}

// UTF-8 from UCS-2 units with the contract of EncodeUnits; a surrogate
// unit is a character UTF-8 cannot hold, as the C library also says.
Walk EncodeUtf8(const char16_t* source, std::size_t length, char* out, std::size_t limit) {
    std::size_t produced = 0;
    for (std::size_t i = 0; i < length && source[i] != 0; ++i) {
        const std::uint32_t unit = source[i];
        char bytes[3];
        std::size_t size = 0;
        if (unit < 0x80) {
            bytes[size++] = static_cast<char>(unit);
        } else if (unit < 0x800) {
            bytes[size++] = static_cast<char>(0xC0 | (unit >> 6));
            bytes[size++] = static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return Walk{produced, false};
        } else {
            bytes[size++] = static_cast<char>(0xE0 | (unit >> 12));
            bytes[size++] = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            bytes[size++] = static_cast<char>(0x80 | (unit & 0x3F));
        }
        if (out != nullptr) {
            if (size > limit - produced) {
                return Walk{produced, true};
            }
            std::memcpy(out + produced, bytes, size);
        }
        produced += size;
    }
    return Walk{produced, true};
}

// ASCII text in an encoding that keeps ASCII as it is; nothing when a unit
// lies beyond ASCII and only the C library can tell its bytes.
std::optional<Walk> EncodeAscii(const char16_t* source, std::size_t length, char* out, std::size_t limit) {
    std::size_t produced = 0;
    for (; produced < length && source[produced] != 0; ++produced) {
        if (source[produced] >= 0x80) {
            return std::nullopt;
        }
        if (out != nullptr) {
            if (produced == limit) {
                break;
            }
            out[produced] = static_cast<char>(source[produced]);
        }
    }
    return Walk{produced, true};
}

// Well-formed UTF-8 with the contract of DecodeBytes; nothing for any other
// byte sequence, which the C library judges by rules of its own (it takes
// some forms beyond U+10FFFF that strict UTF-8 refuses).
std::optional<Walk> DecodeUtf8(const char* source, std::size_t length, char16_t* out, std::size_t limit) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < length && source[pos] != 0) {
        const auto lead = static_cast<unsigned char>(source[pos]);
        std::uint32_t character = lead;
        std::size_t size = 1;
        if (lead >= 0x80) {
            if (lead < 0xC2 || lead > 0xF4) {
                return std::nullopt;
            }
            size = lead < 0xE0 ? 2 : (lead < 0xF0 ? 3 : 4);
            if (size > length - pos) {
                return std::nullopt;
            }
            character = lead & (0x7FU >> size);
            for (std::size_t k = 1; k < size; ++k) {
                const auto next = static_cast<unsigned char>(source[pos + k]);
                if ((next & 0xC0) != 0x80) {
                    return std::nullopt;
                }
                character = (character << 6) | (next & 0x3FU);
            }
            const bool overlong = (size == 3 && character < 0x800) || (size == 4 && character < 0x10000);
            if (overlong || (character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF) {
                return std::nullopt;
            }
        }
        if (out != nullptr && count < limit) {
            out[count] = static_cast<char16_t>(character & 0xFFFFU);
        }
        pos += size;
        ++count;
    }
    return Walk{count, true};
}

std::optional<Walk> DecodeAscii(const char* source, std::size_t length, char16_t* out, std::size_t limit) {
    std::size_t count = 0;
    for (; count < length && source[count] != 0; ++count) {
        const auto byte = static_cast<unsigned char>(source[count]);
        if (byte >= 0x80) {
            return std::nullopt;
        }
        if (out != nullptr && count < limit) {
            out[count] = byte;
        }
    }
    return Walk{count, true};
}

// Encodes in the environment's encoding: directly where it allows, through
// the C library in the environment's locale otherwise.
Walk Encode(const char16_t* source, std::size_t length, char* out, std::size_t limit) {
    const LocaleCharset charset = EnvironmentEncoding().charset;
    if (charset == LocaleCharset::kUtf8) {
        return EncodeUtf8(source, length, out, limit);
    }
    if (charset == LocaleCharset::kAsciiCompatible) {
        if (const std::optional<Walk> ascii = EncodeAscii(source, length, out, limit)) {
            return *ascii;
        }
    }
    const EnvironmentLocale locale;
    return EncodeUnits(source, length, out, limit);
}

Walk Decode(const char* source, std::size_t length, char16_t* out, std::size_t limit) {
    const LocaleCharset charset = EnvironmentEncoding().charset;
    std::optional<Walk> direct;
    if (charset == LocaleCharset::kUtf8) {
        direct = DecodeUtf8(source, length, out, limit);
    } else if (charset == LocaleCharset::kAsciiCompatible) {
        direct = DecodeAscii(source, length, out, limit);
    }
    if (direct) {
        return *direct;
    }
    const EnvironmentLocale locale;
    return DecodeBytes(source, length, out, limit);
}

std::size_t LengthOf(std::int32_t length) {
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

WString DecodeToWString(const char* text, std::size_t length) {
    const Walk measured = Decode(text, length, nullptr, 0);
    WString result;
    result.resize(measured.count);
    if (measured.count != 0) {
        Decode(text, length, result.mutableData(), measured.count);
    }
    return result;
}

// The text in the locale encoding and whether all of it converted.
std::pair<AString, bool> EncodeToAString(const WString& text) {
    const Walk measured = Encode(text.c_str(), text.length(), nullptr, 0);
    AString result;
    result.resize(measured.count);
    if (measured.count != 0) {
        Encode(text.c_str(), text.length(), result.mutableData(), measured.count);
    }
    return {std::move(result), measured.complete};
}

}  // namespace

std::int32_t WideCharToMultiByte(std::uint32_t /*codePage*/, std::uint32_t /*flags*/, const char16_t* source,
                                 std::int32_t sourceLength, char* destination, std::int32_t destinationSize,
                                 const char* /*defaultChar*/, int* /*usedDefaultChar*/) {
    const std::size_t length = source == nullptr ? 0 : LengthOf(sourceLength);
    const Walk measured = Encode(source, length, nullptr, 0);
    if (measured.count == 0 && measured.complete) {
        return 0;
    }
    if (destination != nullptr && destinationSize > 0) {
        const std::size_t size = LengthOf(destinationSize);
        std::memset(destination, 0, size);
        Encode(source, length, destination, size);
    }
    // A length that the 32-bit result cannot carry is reported as a failure.
    if (!measured.complete || measured.count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return -1;
    }
    return static_cast<std::int32_t>(measured.count);
}

std::int32_t MultiByteToWideChar(std::uint32_t /*codePage*/, std::uint32_t /*flags*/, const char* source,
                                 std::int32_t sourceLength, char16_t* destination, std::int32_t destinationSize) {
    const std::size_t length = source == nullptr ? 0 : LengthOf(sourceLength);
    const Walk measured = Decode(source, length, nullptr, 0);
    if (!measured.complete) {
        return -1;
    }
    if (measured.count != 0 && destination != nullptr && destinationSize > 0) {
        Decode(source, length, destination, LengthOf(destinationSize));
    }
    return static_cast<std::int32_t>(measured.count);
}

// A text the locale cannot represent yields the part before the first
// offending unit: callers have no failure path, and a truncated name is
// easier to recognise than an empty one.
AString ToAString(const WString& text) {
    return EncodeToAString(text).first;
}

std::optional<AString> ToAStringWhole(const WString& text) {
    for (WString::size_type i = 0; i < text.length(); ++i) {
        if (text[i] == u'\0') {
            return std::nullopt;
        }
    }
    auto [converted, complete] = EncodeToAString(text);
    if (!complete) {
        return std::nullopt;
    }
    // UTF-8 and ASCII give back exactly what they were given; an encoding
    // only the C library knows may map two characters to the same bytes.
    if (EnvironmentEncoding().charset == LocaleCharset::kOther && !(ToWString(converted) == text)) {
        return std::nullopt;
    }
    return std::move(converted);
}

// Bytes that are not valid in the locale encoding end the text there: the
// result is the part decoded before them.
WString ToWString(const AString& text) {
    return DecodeToWString(text.c_str(), text.length());
}

WString ToWString(const char* text) {
    return text == nullptr ? WString() : DecodeToWString(text, std::strlen(text));
}

std::int32_t CompareNoCase(const WString& a, const WString& b) {
    const AString second = ToAString(b);
    const AString first = ToAString(a);
    const locale_t locale = EnvironmentEncoding().locale;
    const int order = locale == static_cast<locale_t>(0) ? strcasecmp(first.c_str(), second.c_str())
                                                         : strcasecmp_l(first.c_str(), second.c_str(), locale);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}
