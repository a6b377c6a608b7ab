// Conversions between 16-bit text and the locale's multibyte encoding. Each
// one measures first and then converts, in the environment's locale set for
// the calling thread only.
#include "text/Convert.h"

#include <strings.h>

#include <climits>
#include <cstring>
#include <cwchar>
#include <limits>

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

std::size_t LengthOf(std::int32_t length) {
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

WString DecodeToWString(const char* text, std::size_t length) {
    const EnvironmentLocale locale;
    const Walk measured = DecodeBytes(text, length, nullptr, 0);
    WString result;
    result.resize(measured.count);
    if (measured.count != 0) {
        DecodeBytes(text, length, result.mutableData(), measured.count);
    }
    return result;
}

}  // namespace

std::int32_t WideCharToMultiByte(std::uint32_t /*codePage*/, std::uint32_t /*flags*/, const char16_t* source,
                                 std::int32_t sourceLength, char* destination, std::int32_t destinationSize,
                                 const char* /*defaultChar*/, int* /*usedDefaultChar*/) {
    const std::size_t length = source == nullptr ? 0 : LengthOf(sourceLength);
    const EnvironmentLocale locale;
    const Walk measured = EncodeUnits(source, length, nullptr, 0);
    if (measured.count == 0 && measured.complete) {
        return 0;
    }
    if (destination != nullptr && destinationSize > 0) {
        const std::size_t size = LengthOf(destinationSize);
        std::memset(destination, 0, size);
        EncodeUnits(source, length, destination, size);
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
    const EnvironmentLocale locale;
    const Walk measured = DecodeBytes(source, length, nullptr, 0);
    if (!measured.complete) {
        return -1;
    }
    if (measured.count != 0 && destination != nullptr && destinationSize > 0) {
        DecodeBytes(source, length, destination, LengthOf(destinationSize));
    }
    return static_cast<std::int32_t>(measured.count);
}

// A text the locale cannot represent yields the part before the first
// offending unit: callers have no failure path, and a truncated name is
// easier to recognise than an empty one.
AString ToAString(const WString& text) {
    const EnvironmentLocale locale;
    const Walk measured = EncodeUnits(text.c_str(), text.length(), nullptr, 0);
    AString result;
    result.resize(measured.count);
    if (measured.count != 0) {
        EncodeUnits(text.c_str(), text.length(), result.mutableData(), measured.count);
    }
    return result;
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
    const EnvironmentLocale locale;
    const int order = strcasecmp(first.c_str(), second.c_str());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}
