#include "text/WordWrap.h"

#include <cwchar>
#include <vector>

#include "text/Convert.h"

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

bool IsBlank(char16_t unit) { return unit == u' '; }

// The end of the run of units from `at` that are blanks (`blanks`) or not.
std::size_t RunEnd(const WString& line, std::size_t at, bool blanks) {
    while (at < line.length() && IsBlank(line[at]) == blanks) ++at;
    return at;
}

void WrapLine(const WString& line, std::size_t columns, WString& out) {
    Piece current;
    bool started = false;
    std::size_t from = 0;
    // A line's own indentation is no blank of a break: it stays with the first word.
    std::size_t wordEnd = RunEnd(line, RunEnd(line, 0, true), false);
    WString gap;
    for (;;) {
        const WString word = line.substr(from, wordEnd - from);
        const std::size_t width = WidthOf(word);
        if (started && current.width + gap.length() + width <= columns) {
            current.text += gap + word;
            current.width += gap.length() + width;
        } else {
            if (started) out += current.text + u"\n";
            std::vector<Piece> pieces = CutWord(word, columns);
            for (std::size_t i = 0; i + 1 < pieces.size(); ++i) out += pieces[i].text + u"\n";
            current = pieces.back();
            started = true;
        }
        from = RunEnd(line, wordEnd, true);
        gap = line.substr(wordEnd, from - wordEnd);
        if (from == line.length()) break;
        wordEnd = RunEnd(line, from, false);
    }
    // Blanks that end a prompt put the answer after them; where they do not
    // fit, the answer belongs on the next line, not in the last column.
    if (gap.empty() || current.width + gap.length() <= columns) {
        out += current.text + gap;
    } else {
        out += current.text + u"\n";
    }
}

// The longest start of `text` within `columns`, without the blanks it ends with.
WString StartWithin(const WString& text, std::size_t columns) {
    std::size_t end = 0;
    for (std::size_t at = 0, units = 0, width = 0; at < text.length(); at += units) {
        width += ColumnsOf(CodePointAt(text, at, &units));
        if (width > columns) break;
        end = at + units;
    }
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

// Where the locale cannot write the ellipsis character, writing it would end the line there.
WString Ellipsis() { return ToAStringWhole(u"\u2026") ? WString(u"\u2026") : WString(u"..."); }

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

WString WrapPrompt(const WString& prompt, const WString& answer, std::size_t columns) {
    WString wrapped = WrapWords(prompt, columns);
    if (columns == 0) return wrapped;
    const std::size_t lastLine = wrapped.rfind(u'\n') + 1;  // npos + 1: the first line
    if (WidthOf(wrapped.substr(lastLine)) + WidthOf(answer) <= columns) return wrapped;
    while (wrapped.length() > lastLine && IsBlank(wrapped.back())) wrapped.erase(wrapped.length() - 1, 1);
    return wrapped.length() == lastLine ? wrapped : wrapped + u"\n";
}

WString ShortenLine(const WString& text, std::size_t kept, std::size_t columns) {
    if (WidthOf(text) <= columns) return text;
    const WString ellipsis = Ellipsis();
    const std::size_t cut = kept < text.length() ? text.length() - kept : 0;
    const WString tail = text.substr(cut);
    const std::size_t ending = WidthOf(ellipsis) + WidthOf(tail);
    if (ending <= columns) return StartWithin(text.substr(0, cut), columns - ending) + ellipsis + tail;
    if (WidthOf(ellipsis) <= columns) return StartWithin(text, columns - WidthOf(ellipsis)) + ellipsis;
    return StartWithin(text, columns);
}
