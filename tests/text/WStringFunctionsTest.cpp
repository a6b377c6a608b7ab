// ReplaceAll and IntToWString.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "text/TextTestSupport.h"
#include "text/WString.h"

namespace {

struct ReplaceCase {
    const char* name;
    const char16_t* text;
    const char16_t* what;
    const char16_t* with;
    std::uint64_t count;
    const char16_t* expected;
};

class ReplaceAllCases : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllCases, ReplacesLeftToRightWithoutOverlap) {
    const ReplaceCase& c = GetParam();
    WString text(c.text);
    EXPECT_EQ(ReplaceAll(text, WString(c.what), WString(c.with)), c.count);
    EXPECT_EQ(text, WString(c.expected));
    EXPECT_EQ(text.isInline(), text.length() < 12);
    EXPECT_EQ(text.c_str()[text.length()], u'\0');
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllCases,
    ::testing::Values(
        ReplaceCase{"Backslashes", u"C:\\Users\\me\\qorn\\tmplts-files-x", u"\\", u"/", 4,
                    u"C:/Users/me/qorn/tmplts-files-x"},
        ReplaceCase{"ShrinksToInline", u"abab", u"ab", u"x", 2, u"xx"},
        ReplaceCase{"NoOverlap", u"aaaaa", u"aa", u"b", 2, u"bba"},
        ReplaceCase{"SameLengthNoOverlap", u"aaa", u"aa", u"bb", 1, u"bba"},
        ReplaceCase{"EmptyWhat", u"abc", u"", u"x", 0, u"abc"},
        ReplaceCase{"EmptyText", u"", u"a", u"x", 0, u""},
        ReplaceCase{"WhatLongerThanText", u"ab", u"abc", u"x", 0, u"ab"},
        ReplaceCase{"NoMatch", u"abcdefghijklmnop", u"xy", u"z", 0, u"abcdefghijklmnop"},
        ReplaceCase{"Removal", u"a-b-c-d-e-f-g-h-i", u"-", u"", 8, u"abcdefghi"},
        ReplaceCase{"GrowsToHeap", u"a\\b\\c\\d", u"\\", u"\\\\\\", 3, u"a\\\\\\b\\\\\\c\\\\\\d"},
        ReplaceCase{"WholeText", u"abc", u"abc", u"xyz", 1, u"xyz"},
        ReplaceCase{"MatchAtBothEnds", u"xaaaaaaaaaaaax", u"x", u"yy", 2, u"yyaaaaaaaaaaaayy"}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

TEST(ReplaceAll, SameLengthOnSharedBufferLeavesTheOtherCopy) {
    WString text(u"C:\\Users\\me\\qorn\\tmplts-files-x");
    const WString other = text;
    EXPECT_EQ(ReplaceAll(text, WString(u"\\"), WString(u"/")), 4u);
    EXPECT_EQ(other, WString(u"C:\\Users\\me\\qorn\\tmplts-files-x"));
    EXPECT_EQ(other.shareCount(), 1u);
    EXPECT_EQ(text.shareCount(), 1u);
    EXPECT_EQ(text.length(), other.length());
}

TEST(ReplaceAll, WithoutMatchesTheSharedBufferStaysShared) {
    WString text = Letters(20);
    const WString other = text;
    EXPECT_EQ(ReplaceAll(text, WString(u"#"), WString(u"/")), 0u);
    EXPECT_EQ(ReplaceAll(text, WString(u"#"), WString(u"//")), 0u);
    EXPECT_EQ(text.bufferAddress(), other.bufferAddress());
    EXPECT_EQ(other.shareCount(), 2u);
}

TEST(ReplaceAll, ResultOfALongReplacementIsSizedExactly) {
    WString text(u"a/b/c");
    EXPECT_EQ(ReplaceAll(text, WString(u"/"), WString(u"<--->")), 2u);
    EXPECT_EQ(text.length(), 13u);
    EXPECT_EQ(text.capacity(), 17u);
}

TEST(ReplaceAll, ArgumentsMayBeTheTextItself) {
    WString text = Letters(14);
    EXPECT_EQ(ReplaceAll(text, text, WString(u"x")), 1u);
    EXPECT_EQ(text, WString(u"x"));
    WString again = Letters(14);
    const WString copy = again;
    EXPECT_EQ(ReplaceAll(again, copy, again), 1u);
    EXPECT_EQ(again, Letters(14));
    WString grow(u"ab");
    EXPECT_EQ(ReplaceAll(grow, WString(u"b"), grow), 1u);
    EXPECT_EQ(grow, WString(u"aab"));
}

struct NumberCase {
    std::int32_t value;
    std::uint32_t radix;
    const char16_t* expected;
};

void PrintTo(const NumberCase& c, std::ostream* out) { *out << c.value << " in radix " << c.radix; }

class IntToWStringCases : public ::testing::TestWithParam<NumberCase> {};

TEST_P(IntToWStringCases, Formats) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(IntToWString(c.value, c.radix), WString(c.expected)) << c.value << " in radix " << c.radix;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntToWStringCases,
    ::testing::Values(NumberCase{-12, 10, u"-12"}, NumberCase{255, 16, u"ff"}, NumberCase{-1, 16, u"ffffffff"},
                      NumberCase{INT_MIN, 10, u"-2147483648"}, NumberCase{INT_MAX, 10, u"2147483647"},
                      NumberCase{0, 10, u"0"}, NumberCase{0, 2, u"0"}, NumberCase{5, 2, u"101"},
                      NumberCase{-1, 2, u"11111111111111111111111111111111"}, NumberCase{35, 36, u"z"},
                      NumberCase{36, 36, u"10"}, NumberCase{INT_MIN, 16, u"80000000"},
                      NumberCase{-5, 8, u"37777777773"}, NumberCase{100, 10, u"100"},
                      // A radix outside 2..36 gives the empty string.
                      NumberCase{7, 0, u""}, NumberCase{7, 1, u""}, NumberCase{7, 37, u""},
                      NumberCase{-7, 0xffffffffU, u""}));

}  // namespace
