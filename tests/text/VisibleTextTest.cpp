// What a terminal is shown of a name: every control character as cat -v shows it, nothing else changed.
#include <gtest/gtest.h>

#include "text/Convert.h"
#include "text/VisibleText.h"

TEST(VisibleText, ControlCharactersAreShownAsCatDoes) {
    const struct {
        const char16_t* text;
        bool keepLineBreaks;
        const char16_t* shown;
    } cases[] = {
        {u"plain é\u00a0ß", false, u"plain é\u00a0ß"},
        {u"\x1b]0;title\x07", false, u"^[]0;title^G"},
        {u"\x01\x1f", false, u"^A^_"},
        {u"\x7f", false, u"^?"},
        {u"\x80\x9b" u"2J\x9f", false, u"M-^@M-^[2JM-^_"},
        {u"\u00a0\u00ff", false, u"\u00a0\u00ff"},
        {u"a\nb\r", false, u"a^Jb^M"},
        {u"a\nb\r", true, u"a\nb^M"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Visible(c.text, c.keepLineBreaks) == WString(c.shown)) << ToAString(Visible(c.text)).c_str();
        EXPECT_EQ(HasControlCharacter(c.text), !(Visible(c.text) == WString(c.text)));
    }
}
