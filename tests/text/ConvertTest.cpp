// Conversions between WString and the multibyte encoding of the locale the
// environment names, under "C" and "C.UTF-8".
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "text/Convert.h"
#include "text/TextTestSupport.h"

namespace {

// Sets LC_ALL for one test; no test depends on its earlier value.
struct ScopedLcAll {
    explicit ScopedLcAll(const char* value) { setenv("LC_ALL", value, 1); }
    ~ScopedLcAll() { unsetenv("LC_ALL"); }
};

const char16_t kCyrillic[] = u"\u0410\u0431\u0432";
const char kCyrillicUtf8[] = "\xd0\x90\xd0\xb1\xd0\xb2";

TEST(ConvertC, AsciiPassesUnchangedAndOtherUnitsFailKeepingOnlyThePrefix) {
    const ScopedLcAll plain("C");
    const WString path(u"/home/it's a $HOME \"file\".txt");
    EXPECT_EQ(ToAString(path), AString("/home/it's a $HOME \"file\".txt"));
    EXPECT_EQ(ToWString("/home/it's a $HOME \"file\".txt"), path);
    EXPECT_EQ(CompareNoCase(WString(u"TemplatesLocation"), WString(u"templateslocation")), 0);
    EXPECT_LT(CompareNoCase(WString(u"ab"), WString(u"ABC")), 0);
    std::string bytes(8, 'Z');
    EXPECT_EQ(WideCharToMultiByte(0, 0, u"ab\u00e9cd", 5, bytes.data(), 8, nullptr, nullptr), -1);
    EXPECT_EQ(bytes, std::string("ab\0\0\0\0\0\0", 8));
    EXPECT_EQ(ToAString(WString(u"ab\u00e9cd")), AString("ab"));
}

TEST(ConvertUtf8, CyrillicRoundTripsAndEachUnitIsACharacterOfItsOwn) {
    const ScopedLcAll utf8("C.UTF-8");
    std::string bytes(8, '\0');
    EXPECT_EQ(WideCharToMultiByte(0, 0, kCyrillic, 3, bytes.data(), 8, nullptr, nullptr), 6);
    EXPECT_STREQ(bytes.c_str(), kCyrillicUtf8);
    const WString text = WString(kCyrillic) + kCyrillic + kCyrillic + kCyrillic + kCyrillic;
    EXPECT_EQ(ToAString(text), AString(kCyrillicUtf8) + kCyrillicUtf8 + kCyrillicUtf8 + kCyrillicUtf8 + kCyrillicUtf8);
    EXPECT_EQ(ToWString(ToAString(text)), text);
    // Above 16 bits a character keeps its low 16 bits; surrogates are never combined.
    EXPECT_EQ(ToWString("a\xf0\x9f\x98\x80"), WString(u"a\xF600"));
    const char16_t pair[] = {u'a', 0xD83D, 0xDE00, u'b', 0};
    EXPECT_EQ(WideCharToMultiByte(0, 0, pair, 4, nullptr, 0, nullptr, nullptr), -1);
    EXPECT_EQ(ToAString(WString(pair)), AString("a"));
}

TEST(ConvertUtf8, DestinationSizeZerosAndNegativeLengthsLimitTheWork) {
    const ScopedLcAll utf8("C.UTF-8");
    std::string bytes(6, 'Z');
    EXPECT_EQ(WideCharToMultiByte(0, 0, kCyrillic, 3, bytes.data(), 0, nullptr, nullptr), 6);
    EXPECT_EQ(WideCharToMultiByte(0, 0, kCyrillic, 3, bytes.data(), 3, nullptr, nullptr), 6);
    EXPECT_EQ(bytes, std::string("\xd0\x90\0ZZZ", 6));  // whole characters only
    std::u16string units(3, u'Z');
    EXPECT_EQ(MultiByteToWideChar(0, 0, kCyrillicUtf8, 6, units.data(), 0), 3);
    EXPECT_EQ(MultiByteToWideChar(0, 0, kCyrillicUtf8, 6, units.data(), 2), 3);
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

TEST(ConvertLocale, FollowsTheEnvironmentOnEveryCallAndFallsBackToC) {
    for (const auto& [locale, bytes] :
         {std::pair{"C.UTF-8", "caf\xc3\xa9"}, {"C", "caf"}, {"xx_NOWHERE.bogus", "caf"}}) {
        const ScopedLcAll scoped(locale);
        EXPECT_EQ(ToAString(WString(u"caf\u00e9")), AString(bytes)) << locale;
    }
}

}  // namespace
