// Conversions between WString and the multibyte encoding of the locale the
// environment names: under "C" and "C.UTF-8", against the C library's own
// conversions.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/Convert.h"
#include "text/EnvironmentLocale.h"
#include "text/TextTestSupport.h"

namespace {

// Sets LC_ALL for one test and has the converters read it; no test depends
// on its earlier value.
struct ScopedLcAll {
    explicit ScopedLcAll(const char* value) {
        setenv("LC_ALL", value, 1);
        ReloadEnvironmentLocale();
    }
    ~ScopedLcAll() {
        unsetenv("LC_ALL");
        ReloadEnvironmentLocale();
    }
};

TEST(ConvertUtf8, DestinationSizeZerosAndNegativeLengthsLimitTheWork) {
    const ScopedLcAll utf8("C.UTF-8");
    std::string bytes(6, 'Z');
    EXPECT_EQ(WideCharToMultiByte(0, 0, u"\u0410\u0431\u0432", 3, bytes.data(), 0, nullptr, nullptr), 6);
    EXPECT_EQ(WideCharToMultiByte(0, 0, u"\u0410\u0431\u0432", 3, bytes.data(), 3, nullptr, nullptr), 6);
    EXPECT_EQ(bytes, std::string("\xd0\x90\0ZZZ", 6));  // whole characters only
    std::u16string units(3, u'Z');
    EXPECT_EQ(MultiByteToWideChar(0, 0, "\xd0\x90\xd0\xb1\xd0\xb2", 6, units.data(), 0), 3);
    EXPECT_EQ(MultiByteToWideChar(0, 0, "\xd0\x90\xd0\xb1\xd0\xb2", 6, units.data(), 2), 3);
    EXPECT_EQ(units, u"\u0410\u0431Z");  // and no terminator
    EXPECT_EQ(WideCharToMultiByte(0, 0, u"ab\0cd", 5, nullptr, 0, nullptr, nullptr), 2);
    EXPECT_EQ(MultiByteToWideChar(0, 0, "ab\0cd", 5, nullptr, 0), 2);
    EXPECT_EQ(MultiByteToWideChar(0, 0, "abc", -1, units.data(), 3), 0);
    EXPECT_EQ(WideCharToMultiByte(0, 0, u"abc", -1, bytes.data(), 6, nullptr, nullptr), 0);
}

TEST(ConvertLocale, BytesInvalidInTheLocaleFailWithoutWritingAndOnlyThePrefixIsKept) {
    for (const auto& [locale, bytes] : {std::pair{"C", "ab\xc3\xa9z"}, {"C.UTF-8", "ab\xd0"}, {"C.UTF-8", "ab\x80z"}}) {
        const ScopedLcAll scoped(locale);
        std::u16string units(4, u'Z');
        const auto length = static_cast<std::int32_t>(std::strlen(bytes));
        EXPECT_EQ(MultiByteToWideChar(0, 0, bytes, length, units.data(), 4), -1) << locale << ": " << bytes;
        EXPECT_EQ(units, u"ZZZZ");
        EXPECT_EQ(ToWString(bytes), WString(u"ab"));
    }
}

// Every unit alone and every lead byte with followers at the edges of the
// continuation range: the direct UTF-8 path says what the C library says.
TEST(ConvertUtf8, AgreesWithTheCLibraryOnEveryUnitAndEdgeSequence) {
    const ScopedLcAll utf8("C.UTF-8");
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);  // for the C library's own answers
    for (std::uint32_t unit = 1; unit <= 0xFFFF; ++unit) {
        const char16_t source[] = {static_cast<char16_t>(unit), u'x'};
        char expected[MB_LEN_MAX + 1] = {};
        const int size = std::wctomb(expected, static_cast<wchar_t>(unit));  // -1 for a surrogate
        char bytes[8] = {};
        const std::int32_t result = WideCharToMultiByte(0, 0, source, 2, bytes, sizeof bytes, nullptr, nullptr);
        ASSERT_EQ(result, size < 0 ? -1 : size + 1) << std::hex << unit;
        if (size >= 0) {
            ASSERT_EQ(std::string(bytes), std::string(expected) + "x") << std::hex << unit;
        }
    }
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
    for (unsigned lead = 0x01; lead <= 0xFF; ++lead) {
        for (unsigned char second : edges) {
            for (unsigned char third : edges) {
                for (unsigned char fourth : {0x41, 0x80, 0xBF}) {
                    const std::string bytes{static_cast<char>(lead), static_cast<char>(second),
                                            static_cast<char>(third), static_cast<char>(fourth), 'z'};
                    // The C library's characters up to a zero byte (low 16 bits), or -1.
                    wchar_t characters[8] = {};
                    const auto count = static_cast<std::int32_t>(std::mbstowcs(characters, bytes.c_str(), 8));
                    char16_t converted[8] = {};
                    ASSERT_EQ(MultiByteToWideChar(0, 0, bytes.data(), 5, converted, 8), count)
                        << std::hex << lead << ' ' << unsigned{second} << ' ' << unsigned{third} << ' ' << unsigned{fourth};
                    if (count >= 0) {
                        ASSERT_EQ(std::u16string(converted, count), std::u16string(characters, characters + count));
                    }
                }
            }
        }
    }
    std::setlocale(LC_CTYPE, "C");
}

// Every conversion follows the locale the environment names as it is
// reloaded, falling back on "C" for one the system does not know.
TEST(ConvertWhole, RefusesWhatWouldComeBackAsAnotherText) {
    constexpr std::size_t kAll = std::u16string::npos;
    // The locale, the text, and how many of its units ToAString keeps (all: it survives the way out and back).
    const std::tuple<const char*, std::u16string, std::size_t> cases[] = {
        {"C.UTF-8", u"/home/\u0410/\u20AC it's $HOME", kAll},
        {"C.UTF-8", u"/home/a\xD83D\xDE00", 7},  // a surrogate pair is two units UTF-8 cannot hold
        {"C.UTF-8", std::u16string(u"/home/a\0b", 9), 7},
        {"C", u"/home/user/\"quoted\"", kAll},
        {"C", u"/home/caf\u00e9", 9},
        {"xx_NOWHERE.bogus", u"/home/caf\u00e9", 9},
        {"C", u"", kAll},
    };
    for (const auto& [locale, units, kept] : cases) {
        const ScopedLcAll scoped(locale);
        const WString text(units.data(), units.size());
        SCOPED_TRACE(locale + (": " + testing::PrintToString(text)));
        EXPECT_EQ(ToWString(ToAString(text)), WString(units.substr(0, kept).c_str()));
        EXPECT_EQ(ToAStringWhole(text), kept == kAll ? std::optional(ToAString(text)) : std::nullopt);
    }
}

}  // namespace
