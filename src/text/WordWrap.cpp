#include "text/WordWrap.h"

#include <cwchar>
#include <vector>

namespace {

struct Piece {
    WString text;
    std::size_t width = 0;
};

// The code point at `at` and how many units it takes (a lone surrogate: one).
char32_t CodePointAt(const WString& text, std::size_t at, std::size_t* units) {
    const char16_t first = text[at];
    if (first >= 0xD800 && first < 0xDC00 && at + 1 < text.length()) {
        const char16_t second = text[at + 1];
        if (second >= 0xDC00 && second < 0xE000) {
            *units = 2;
            return 0x10000 + ((char32_t(first) - 0xD800) << 10) + (char32_t(second) - 0xDC00);
        }
    }
    *units = 1;
    return first;
}

// A character the locale cannot measure still takes a column.
std::size_t ColumnsOf(char32_t point) {
    const int width = wcwidth(static_cast<wchar_t>(point));
    return width < 0 ? 1 : static_cast<std::size_t>(width);
}

std::size_t WidthOf(const WString& text) {
    std::size_t width = 0;
    for (std::size_t at = 0, units = 0; at < text.length(); at += units) width += ColumnsOf(CodePointAt(text, at, &units));
    return width;
}

// A word wider than a line, cut into pieces of at most `columns` (each at
// least one character, so that the cutting ends).
std::vector<Piece> CutWord(const WString& word, std::size_t columns) {
    std::vector<Piece> pieces(1);
    for (std::size_t at = 0, units = 0; at < word.length(); at += units) {
        const std::size_t width = ColumnsOf(CodePointAt(word, at, &units));
        if (pieces.back().width + width > columns && !pieces.back().text.empty()) pieces.emplace_back();
        pieces.back().text += word.substr(at, units);
        pieces.back().width += width;
    }
    return pieces;
}

void WrapLine(const WString& line, std::size_t columns, WString& out) {
    Piece current;
    bool started = false;
    std::size_t from = 0;
    for (;;) {
        std::size_t blank = line.find(u' ', from);
        if (blank == WString::npos) blank = line.length();
        const WString word = line.substr(from, blank - from);
        const std::size_t width = WidthOf(word);
        if (started && current.width + 1 + width <= columns) {
            current.text += u" " + word;
            current.width += 1 + width;
        } else {
            if (started) out += current.text + u"\n";
            std::vector<Piece> pieces = CutWord(word, columns);
            for (std::size_t i = 0; i + 1 < pieces.size(); ++i) out += pieces[i].text + u"\n";
            current = pieces.back();
            started = true;
        }
        if (blank == line.length()) break;
        from = blank + 1;
    }
    out += current.text;
}

}  // namespace

WString WrapWords(const WString& text, std::size_t columns) {
    if (columns == 0) return text;
    WString out;
    std::size_t from = 0;
    for (;;) {
        std::size_t end = text.find(u'\n', from);
        if (end == WString::npos) end = text.length();
        WrapLine(text.substr(from, end - from), columns, out);
        if (end == text.length()) return out;
        out += u"\n";
        from = end + 1;
    }
}
