// Text fitted to a terminal: whole words wherever a word fits a line, prompts that leave their answer room, and a
// line redrawn in place that never reaches the last column.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "text/EnvironmentLocale.h"
#include "text/WordWrap.h"

namespace {

// The locale the C library measures in, which is also the one the text will
// be written in, for one test.
struct ScopedLocale {
    explicit ScopedLocale(const char* name) {
        EXPECT_NE(std::setlocale(LC_CTYPE, name), nullptr);
        setenv("LC_ALL", name, 1);
        ReloadEnvironmentLocale();
    }
    ~ScopedLocale() {
        std::setlocale(LC_CTYPE, "C");
        unsetenv("LC_ALL");
        ReloadEnvironmentLocale();
    }
};

std::u16string Units(const WString& text) { return {text.c_str(), text.length()}; }

// (name, text, columns, wrapped)
const std::tuple<const char*, const char16_t*, std::size_t, const char16_t*> kCases[] = {
    {"width unknown", u"one two three", 0, u"one two three"},
    {"fits exactly", u"one two", 7, u"one two"},
    {"breaks at the last blank that fits, dropping it", u"one two three four", 9, u"one two\nthree\nfour"},
    {"a word wider than a line alone is cut", u"a abcdefgh b", 4, u"a\nabcd\nefgh\nb"},
    {"lines of the text stay lines", u"one two\n\nthree", 5, u"one\ntwo\n\nthree"},
    {"blanks inside a line are kept", u"a  b", 4, u"a  b"},
    {"every blank of a break is dropped", u"abcd   ef  gh", 4, u"abcd\nef\ngh"},
    {"a line's own indentation stays", u"  ab cd", 5, u"  ab\ncd"},
    {"Cyrillic counts a column a letter", u"Каталог шаблонов:", 10, u"Каталог\nшаблонов:"},
    {"Greek, Georgian and Armenian count a column a letter", u"για έξοδο ქართული Հայերեն", 9,
     u"για έξοδο\nქართული\nՀայերեն"},
    {"wide characters take two columns", u"文字 文字", 4, u"文字\n文字"},
    {"a character outside the basic plane stays whole", u"\U0001F4C1\U0001F4C1", 2, u"\U0001F4C1\n\U0001F4C1"},
    {"a prompt's closing blank is kept where it fits", u"Press Enter to quit ", 20, u"Press Enter to quit "},
    {"and is a break where it does not", u"Press Enter to quit ", 19, u"Press Enter to quit\n"},
};

TEST(WordWrapTest, BreaksAtBlanksWithinTheColumns) {
    const ScopedLocale locale("C.UTF-8");
    for (const auto& [name, text, columns, wrapped] : kCases) {
        EXPECT_EQ(Units(WrapWords(WString(text), columns)), std::u16string(wrapped)) << name;
    }
}

// The answer to a prompt follows its last line where it fits, else starts a line of its own: the line editor
// would otherwise let the terminal cut it, or the prompt, at the last column.
TEST(WordWrapTest, APromptLeavesItsAnswerRoomOrEndsWithABreak) {
    const ScopedLocale locale("C.UTF-8");
    const char16_t* question = u"Template directory [~/.qorn/Vq/vq8/tmplts/]: ";
    // (name, prompt, answer, columns, wrapped)
    const std::tuple<const char*, const char16_t*, const char16_t*, std::size_t, const char16_t*> kPrompts[] = {
        {"width unknown", question, u"~/.qorn/Vq/vq8/tmplts/", 0, question},
        {"the answer fits after the prompt", question, u"~/.qorn/Vq/vq8/tmplts/", 80, question},
        {"the answer starts a line of its own", question, u"~/.qorn/Vq/vq8/tmplts/", 40,
         u"Template directory\n[~/.qorn/Vq/vq8/tmplts/]:\n"},
        {"a prompt at exactly the width", u"Press Enter to continue, or Ctrl+C to quit ", u"", 42,
         u"Press Enter to continue, or Ctrl+C to quit\n"},
        {"a prompt one column wider than the width", u"Press Enter to continue, or Ctrl+C to quit ", u"", 41,
         u"Press Enter to continue, or Ctrl+C to\nquit "},
        {"Greek: the blank at the break is dropped", u"Πατήστε Enter για να συνεχίσετε ή Ctrl+C για έξοδο ", u"", 40,
         u"Πατήστε Enter για να συνεχίσετε ή Ctrl+C\nγια έξοδο "},
    };
    for (const auto& [name, prompt, answer, columns, wrapped] : kPrompts) {
        EXPECT_EQ(Units(WrapPrompt(WString(prompt), WString(answer), columns)), std::u16string(wrapped)) << name;
    }
}

// A progress line cut to the width keeps its percentage; the ellipsis is one the locale can write.
TEST(WordWrapTest, ARedrawnLineIsCutBeforeItsPercentage) {
    const WString english(u"Files being copied... 45%"), greek(u"Η αντιγραφή αρχείων βρίσκεται σε εξέλιξη... 45%");
    {
        const ScopedLocale locale("C.UTF-8");
        // (name, text, kept, columns, shortened)
        const std::tuple<const char*, WString, std::size_t, std::size_t, const char16_t*> kLines[] = {
            {"fits", WString(u"Files being copied... 7%"), 3, 24, u"Files being copied... 7%"},
            {"Greek in 40 columns less one", greek, 4, 39, u"Η αντιγραφή αρχείων βρίσκεται σε ε\u2026 45%"},
            {"a blank before the ellipsis goes", english, 4, 17, u"Files being\u2026 45%"},
            {"a wide character that would cross the width stays out", WString(u"文字文字 7%"), 3, 9, u"文字\u2026 7%"},
            {"too narrow for the percentage: cut from the end", english, 4, 4, u"Fil\u2026"},
        };
        for (const auto& [name, text, kept, columns, shortened] : kLines) {
            EXPECT_EQ(Units(ShortenLine(text, kept, columns)), std::u16string(shortened)) << name;
        }
    }
    const ScopedLocale plain("C");
    EXPECT_EQ(Units(ShortenLine(english, 4, 17)), u"Files bein... 45%") << "C locale";
}

}  // namespace
