#include "text/VisibleText.h"

bool IsControlCharacter(char16_t unit) { return unit < u' ' || (unit >= u'\x7f' && unit <= u'\x9f'); }

WString Visible(const WString& text, bool keepLineBreaks) {
    WString shown;
    for (std::size_t i = 0; i < text.length(); ++i) {
        const char16_t unit = text[i];
        if (!IsControlCharacter(unit) || (keepLineBreaks && unit == u'\n')) {
            shown += unit;
            continue;
        }
        if (unit >= u'\x80') shown += u"M-";
        const char16_t low = unit & 0x7f;
        shown += u'^';
        shown += low == u'\x7f' ? u'?' : static_cast<char16_t>(low + u'@');
    }
    return shown;
}

bool HasControlCharacter(const WString& text) {
    for (std::size_t i = 0; i < text.length(); ++i) {
        if (IsControlCharacter(text[i])) return true;
    }
    return false;
}
