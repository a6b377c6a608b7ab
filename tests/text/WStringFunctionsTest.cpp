// ReplaceAll and IntToWString.
#include <gtest/gtest.h>

#include <climits>

#include "text/TextTestSupport.h"

TEST(ReplaceAll, ReplacesEveryOccurrenceLeftToRight) {
    struct ReplaceCase {
        const char16_t *text, *what, *with;
        std::uint64_t count;
        const char16_t* expected;
    };
    const ReplaceCase kReplacements[] = {
        {u"C:\\Users\\me\\qorn\\tmplts-x", u"\\", u"/", 4, u"C:/Users/me/qorn/tmplts-x"},
        {u"aaaaa", u"aa", u"b", 2, u"bba"},  // left to right, without overlap
        {u"aaa", u"aa", u"bb", 1, u"bba"},
        {u"abc", u"", u"x", 0, u"abc"},
        {u"ab", u"abc", u"x", 0, u"ab"},
        {u"a-b-c-d-e-f-g-h-i", u"-", u"", 8, u"abcdefghi"},
        {u"a\\b\\c\\d", u"\\", u"\\\\\\", 3, u"a\\\\\\b\\\\\\c\\\\\\d"},
        {u"xaaaaaaaaaaaax", u"x", u"yy", 2, u"yyaaaaaaaaaaaayy"},
    };
    for (const ReplaceCase& c : kReplacements) {
        WString text(c.text);
        SCOPED_TRACE(::testing::PrintToString(text));
        EXPECT_EQ(ReplaceAll(text, WString(c.what), WString(c.with)), c.count);
        EXPECT_EQ(text, WString(c.expected));
        EXPECT_EQ(text.c_str()[text.length()], u'\0');
    }
}
