// What a terminal is shown of a name: every control character as cat -v shows it, nothing else changed.
#include <gtest/gtest.h>

#include "text/VisibleText.h"

TEST(VisibleText, ControlCharactersAreShownAsCatDoes) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"plain é\u00a0\u00ff", u"plain é\u00a0\u00ff"}, {u"\x1b]0;x\x07\n", u"^[]0;x^G^J"}, {u"\x01\x1f", u"^A^_"},
        {u"\x7f", u"^?"}, {u"\x80\x9b" u"2J\x9f", u"M-^@M-^[2JM-^_"}};
    for (const auto& [text, shown] : cases) {
        EXPECT_TRUE(Visible(text) == WString(shown));
        EXPECT_EQ(HasControlCharacter(text), !(WString(text) == WString(shown)));
    }
}
