// Paragraphs broken at blanks for a terminal: whole words wherever a word fits a line.
#include <gtest/gtest.h>

#include <clocale>
#include <tuple>

#include "text/WordWrap.h"

namespace {

// (name, text, columns, wrapped)
const std::tuple<const char*, const char16_t*, std::size_t, const char16_t*> kCases[] = {
    {"width unknown", u"one two three", 0, u"one two three"},
    {"fits exactly", u"one two", 7, u"one two"},
    {"breaks at the last blank that fits, dropping it", u"one two three four", 9, u"one two\nthree\nfour"},
    {"a word wider than a line alone is cut", u"a abcdefgh b", 4, u"a\nabcd\nefgh\nb"},
    {"lines of the text stay lines", u"one two\n\nthree", 5, u"one\ntwo\n\nthree"},
    {"blanks inside a line are kept", u"a  b", 4, u"a  b"},
    {"Cyrillic counts a column a letter", u"Каталог шаблонов:", 10, u"Каталог\nшаблонов:"},
    {"wide characters take two columns", u"文字 文字", 4, u"文字\n文字"},
    {"a character outside the basic plane stays whole", u"\U0001F4C1\U0001F4C1", 2, u"\U0001F4C1\n\U0001F4C1"},
};

TEST(WordWrapTest, BreaksAtBlanksWithinTheColumns) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    for (const auto& [name, text, columns, wrapped] : kCases) {
        EXPECT_EQ(WrapWords(WString(text), columns), WString(wrapped)) << name;
    }
    std::setlocale(LC_CTYPE, "C");
}

}  // namespace
