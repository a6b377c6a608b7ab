// ReplaceAll.
#include <gtest/gtest.h>

#include <tuple>

#include "text/TextTestSupport.h"

TEST(ReplaceAll, ReplacesEveryOccurrenceLeftToRight) {
    // The text, what is replaced and with what, how often, and the result.
    const std::tuple<const char16_t*, const char16_t*, const char16_t*, std::uint64_t, const char16_t*> cases[] = {
        {u"C:\\Users\\me\\qorn\\tmplts-x", u"\\", u"/", 4, u"C:/Users/me/qorn/tmplts-x"},
        {u"aaaaa", u"aa", u"b", 2, u"bba"},  // left to right, without overlap
        {u"aaa", u"aa", u"bb", 1, u"bba"},
        {u"abc", u"", u"x", 0, u"abc"},
        {u"ab", u"abc", u"x", 0, u"ab"},
        {u"a-b-c-d-e-f-g-h-i", u"-", u"", 8, u"abcdefghi"},
        {u"a\\b\\c\\d", u"\\", u"\\\\\\", 3, u"a\\\\\\b\\\\\\c\\\\\\d"},
        {u"xaaaaaaaaaaaax", u"x", u"yy", 2, u"yyaaaaaaaaaaaayy"},
    };
    for (const auto& [original, what, with, count, expected] : cases) {
        WString text(original);
        SCOPED_TRACE(::testing::PrintToString(text));
        EXPECT_EQ(ReplaceAll(text, WString(what), WString(with)), count);
        EXPECT_EQ(text, WString(expected));
        EXPECT_EQ(text.c_str()[text.length()], u'\0');
    }
}
