// Text fitted to a terminal of a given width, so that a person, or a braille
// display, reads whole words: a terminal left to itself cuts a word at its
// last column, and a line redrawn in place that it wraps is never overwritten.
#pragma once

#include <cstddef>

#include "text/WString.h"

// `text` with each of its lines broken at blanks into lines of at most
// `columns` columns (a character takes the columns the locale gives it); the
// blanks at a break are dropped, so no line starts with one, and only a word
// wider than a whole line is cut. Blanks that end a line and do not fit on
// it are a break too. With `columns` 0 (width unknown) the text comes back
// unchanged.
WString WrapWords(const WString& text, std::size_t columns);

// `prompt` broken as WrapWords breaks it, for `answer` to be shown after it
// as the text to edit: when the answer does not fit after the prompt's last
// line, the prompt ends with a break, so that the answer starts a line of
// its own.
WString WrapPrompt(const WString& prompt, const WString& answer, std::size_t columns);

// `text` on one line of at most `columns` columns: when it is wider, the
// part before its last `kept` units is cut and ends with an ellipsis, so
// that what the line is for (a percentage) stays; when even that does not
// fit, the whole line is cut from its end.
WString ShortenLine(const WString& text, std::size_t kept, std::size_t columns);
