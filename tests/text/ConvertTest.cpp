// Conversions between WString and the multibyte encoding of the locale the
// environment names, under "C" and "C.UTF-8".
#include <gtest/gtest.h>

#include <locale.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "text/Convert.h"
#include "text/TextTestSupport.h"

namespace {

// Sets LC_ALL for one test and puts the previous value back afterwards.
class ScopedLcAll {
public:
    explicit ScopedLcAll(const char* value) {
        const char* old = std::getenv("LC_ALL");
        hadValue_ = old != nullptr;
        if (hadValue_) {
            previous_ = old;
        }
        setenv("LC_ALL", value, 1);
    }
    ~ScopedLcAll() {
        if (hadValue_) {
            setenv("LC_ALL", previous_.c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }
    ScopedLcAll(const ScopedLcAll&) = delete;
    ScopedLcAll& operator=(const ScopedLcAll&) = delete;

private:
    bool hadValue_ = false;
    std::string previous_;
};

class ConvertC : public ::testing::Test {
    ScopedLcAll locale_{"C"};
};

class ConvertUtf8 : public ::testing::Test {
    ScopedLcAll locale_{"C.UTF-8"};
};

const char16_t kCyrillic[] = u"\u0410\u0431\u0432";
const char kCyrillicUtf8[] = "\xd0\x90\xd0\xb1\xd0\xb2";

std::string Bytes(const char* data, std::size_t size) { return std::string(data, size); }

// ---- "C" ----------------------------------------------------------------------

TEST_F(ConvertC, AsciiPathConvertsUnchangedBothWays) {
    const WString path(u"/home/user/tmplts/it's a $HOME \"file\".txt");
    const AString bytes = ToAString(path);
    EXPECT_EQ(bytes, AString("/home/user/tmplts/it's a $HOME \"file\".txt"));
    EXPECT_EQ(ToWString(bytes), path);
    EXPECT_EQ(ToWString("/tmp/x"), WString(u"/tmp/x"));
}

TEST_F(ConvertC, UnrepresentableUnitFailsAfterWritingThePrefix) {
    const WString text(u"ab\u00e9cd");
    std::array<char, 8> out;
    out.fill('Z');
    EXPECT_EQ(WideCharToMultiByte(0, 0, text.c_str(), 5, out.data(), 8, nullptr, nullptr), -1);
    EXPECT_EQ(Bytes(out.data(), out.size()), Bytes("ab\0\0\0\0\0\0", 8));
    // The wrapper keeps the part before the failure.
    EXPECT_EQ(ToAString(text), AString("ab"));
}

TEST_F(ConvertC, BytesAboveAsciiFailWithoutWriting) {
    std::array<char16_t, 4> out{u'Z', u'Z', u'Z', u'Z'};
    EXPECT_EQ(MultiByteToWideChar(0, 0, "a\xc3\xa9", 3, out.data(), 4), -1);
    EXPECT_EQ(out[0], u'Z');
    EXPECT_EQ(ToWString(AString("ab\xc3\xa9z")), WString(u"ab"));
}

TEST_F(ConvertC, CompareNoCaseFoldsLatinLetters) {
    EXPECT_EQ(CompareNoCase(WString(u"Key"), WString(u"KEY")), 0);
    EXPECT_LT(CompareNoCase(WString(u"abc"), WString(u"abd")), 0);
    EXPECT_GT(CompareNoCase(WString(u"ABD"), WString(u"abc")), 0);
    EXPECT_LT(CompareNoCase(WString(u"ab"), WString(u"ABC")), 0);
    EXPECT_EQ(CompareNoCase(WString(u"ConfigurationTemplatesLocation"), WString(u"configurationtemplateslocation")), 0);
}

// ---- "C.UTF-8" ----------------------------------------------------------------

TEST_F(ConvertUtf8, CyrillicRoundTrip) {
    std::array<char, 16> bytes{};
    EXPECT_EQ(WideCharToMultiByte(0, 0, kCyrillic, 3, bytes.data(), 16, nullptr, nullptr), 6);
    EXPECT_STREQ(bytes.data(), kCyrillicUtf8);
    std::array<char16_t, 8> units{};
    EXPECT_EQ(MultiByteToWideChar(0, 0, bytes.data(), 6, units.data(), 8), 3);
    EXPECT_EQ(WString(units.data()), WString(kCyrillic));
    EXPECT_EQ(ToAString(WString(kCyrillic)), AString(kCyrillicUtf8));
    EXPECT_EQ(ToWString(AString(kCyrillicUtf8)), WString(kCyrillic));
}

TEST_F(ConvertUtf8, LongTextCrossesToTheHeapBothWays) {
    WString text;
    for (int i = 0; i < 40; ++i) {
        text += kCyrillic;
    }
    const AString bytes = ToAString(text);
    EXPECT_EQ(bytes.length(), 240u);
    EXPECT_EQ(ToWString(bytes), text);
}

TEST_F(ConvertUtf8, CharacterAboveBmpKeepsItsLow16Bits) {
    std::array<char16_t, 4> units{};
    EXPECT_EQ(MultiByteToWideChar(0, 0, "a\xf0\x9f\x98\x80", 5, units.data(), 4), 2);
    EXPECT_EQ(units[1], char16_t{0xF600});
    EXPECT_EQ(ToWString("\xf0\x9f\x98\x80"), WString(u"\xF600"));
}

TEST_F(ConvertUtf8, SurrogateUnitsAreNotCombined) {
    const char16_t pair[] = {u'a', 0xD83D, 0xDE00, u'b', 0};
    std::array<char, 12> out;
    out.fill('Z');
    EXPECT_EQ(WideCharToMultiByte(0, 0, pair, 4, out.data(), 12, nullptr, nullptr), -1);
    EXPECT_EQ(Bytes(out.data(), 12), Bytes("a\0\0\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(ToAString(WString(pair)), AString("a"));
}

TEST_F(ConvertUtf8, ZeroEndsTheConvertedText) {
    const WString wide(u"ab\0cd", 5);
    EXPECT_EQ(WideCharToMultiByte(0, 0, wide.c_str(), 5, nullptr, 0, nullptr, nullptr), 2);
    EXPECT_EQ(ToAString(wide), AString("ab"));
    const AString narrow("ab\0cd", 5);
    EXPECT_EQ(MultiByteToWideChar(0, 0, narrow.c_str(), 5, nullptr, 0), 2);
    EXPECT_EQ(ToWString(narrow), WString(u"ab"));
}

TEST_F(ConvertUtf8, ZeroDestinationSizeOnlyMeasures) {
    std::array<char16_t, 4> units{u'Z', u'Z', u'Z', u'Z'};
    EXPECT_EQ(MultiByteToWideChar(0, 0, kCyrillicUtf8, 6, units.data(), 0), 3);
    EXPECT_EQ(units[0], u'Z');
    std::array<char, 4> bytes{'Z', 'Z', 'Z', 'Z'};
    EXPECT_EQ(WideCharToMultiByte(0, 0, kCyrillic, 3, bytes.data(), 0, nullptr, nullptr), 6);
    EXPECT_EQ(bytes[0], 'Z');
}

TEST_F(ConvertUtf8, SmallDestinationGetsWholeCharactersOnly) {
    std::array<char, 6> bytes;
    bytes.fill('Z');
    EXPECT_EQ(WideCharToMultiByte(0, 0, kCyrillic, 3, bytes.data(), 3, nullptr, nullptr), 6);
    EXPECT_EQ(Bytes(bytes.data(), 6), Bytes("\xd0\x90\0ZZZ", 6));
    std::array<char16_t, 3> units{u'Z', u'Z', u'Z'};
    EXPECT_EQ(MultiByteToWideChar(0, 0, kCyrillicUtf8, 6, units.data(), 2), 3);
    EXPECT_EQ(units[0], u'\u0410');
    EXPECT_EQ(units[1], u'\u0431');
    EXPECT_EQ(units[2], u'Z');  // no terminator written
}

struct InvalidBytes {
    const char* name;
    const char* bytes;
    std::int32_t length;
    const char16_t* prefix;  // what ToWString keeps
};

class ConvertUtf8Invalid : public ::testing::TestWithParam<InvalidBytes> {
    ScopedLcAll locale_{"C.UTF-8"};
};

TEST_P(ConvertUtf8Invalid, FailsAndWritesNothing) {
    const InvalidBytes& c = GetParam();
    std::array<char16_t, 8> units;
    units.fill(u'Z');
    EXPECT_EQ(MultiByteToWideChar(0, 0, c.bytes, c.length, units.data(), 8), -1);
    for (const char16_t unit : units) {
        EXPECT_EQ(unit, u'Z');
    }
    EXPECT_EQ(ToWString(AString(c.bytes, static_cast<std::uint64_t>(c.length))), WString(c.prefix));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertUtf8Invalid,
    ::testing::Values(InvalidBytes{"BlockEndsInsideSequence", "ab\xd0", 3, u"ab"},
                      InvalidBytes{"StrayContinuationByte", "a\x80z", 3, u"a"},
                      InvalidBytes{"ByteFF", "\xff", 1, u""},
                      InvalidBytes{"OverlongSlash", "x\xc0\xaf", 3, u"x"},
                      InvalidBytes{"EncodedSurrogate", "\xed\xa0\x80", 3, u""}),
    [](const ::testing::TestParamInfo<InvalidBytes>& info) { return std::string(info.param.name); });

TEST_F(ConvertUtf8, EmptyTextConvertsToEmptyAndLeavesDestination) {
    std::array<char, 2> bytes{'Z', 'Z'};
    EXPECT_EQ(WideCharToMultiByte(0, 0, u"", 0, bytes.data(), 2, nullptr, nullptr), 0);
    EXPECT_EQ(bytes[0], 'Z');
    std::array<char16_t, 2> units{u'Z', u'Z'};
    EXPECT_EQ(MultiByteToWideChar(0, 0, "", 0, units.data(), 2), 0);
    EXPECT_EQ(units[0], u'Z');
    EXPECT_EQ(MultiByteToWideChar(0, 0, "abc", -1, units.data(), 2), 0);
    EXPECT_TRUE(ToAString(WString()).empty());
    EXPECT_TRUE(ToWString(AString()).empty());
    EXPECT_TRUE(ToWString(static_cast<const char*>(nullptr)).empty());
}

TEST_F(ConvertUtf8, CompareNoCaseComparesLocaleBytes) {
    EXPECT_EQ(CompareNoCase(WString(u"Key"), WString(u"KEY")), 0);
    EXPECT_LT(CompareNoCase(WString(u"abc"), WString(u"abd")), 0);
    // Non-Latin letters compare by their bytes: no folding.
    EXPECT_NE(CompareNoCase(WString(u"\u0430"), WString(u"\u0410")), 0);
    EXPECT_LT(CompareNoCase(WString(u"z"), WString(u"\u0430")), 0);
}

// ---- locale handling ------------------------------------------------------------

TEST(ConvertLocale, FollowsTheEnvironmentOnEveryCall) {
    const WString accented(u"caf\u00e9");
    {
        const ScopedLcAll utf8("C.UTF-8");
        EXPECT_EQ(ToAString(accented), AString("caf\xc3\xa9"));
    }
    {
        const ScopedLcAll plain("C");
        EXPECT_EQ(ToAString(accented), AString("caf"));
    }
}

TEST(ConvertLocale, LeavesProcessAndThreadLocaleAlone) {
    const ScopedLcAll utf8("C.UTF-8");
    const std::string processBefore = setlocale(LC_ALL, nullptr);
    const locale_t mine = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    ASSERT_NE(mine, static_cast<locale_t>(0));
    const locale_t previous = uselocale(mine);
    // The thread's own "C" locale does not stop the environment's UTF-8.
    EXPECT_EQ(ToWString(AString(kCyrillicUtf8)), WString(kCyrillic));
    EXPECT_EQ(CompareNoCase(WString(u"A"), WString(u"a")), 0);
    EXPECT_EQ(uselocale(static_cast<locale_t>(0)), mine);
    EXPECT_EQ(processBefore, setlocale(LC_ALL, nullptr));
    uselocale(previous);
    freelocale(mine);
}

TEST(ConvertLocale, UnknownLocaleFallsBackToC) {
    const ScopedLcAll bogus("xx_NOWHERE.bogus");
    EXPECT_EQ(ToAString(WString(u"/tmp/a")), AString("/tmp/a"));
    EXPECT_EQ(ToAString(WString(u"a\u00e9")), AString("a"));
}

TEST(ConvertLocale, ThreadsConvertConcurrently) {
    const ScopedLcAll utf8("C.UTF-8");
    std::atomic<int> mismatches{0};
    const auto convert = [&mismatches] {
        for (int i = 0; i < 3000; ++i) {
            const WString wide = WString(kCyrillic) + IntToWString(i, 10);
            const AString narrow = ToAString(wide);
            if (!(ToWString(narrow) == wide) || narrow.length() != 6 + IntToWString(i, 10).length()) {
                mismatches.fetch_add(1);
            }
        }
    };
    std::thread worker(convert);
    convert();
    worker.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
