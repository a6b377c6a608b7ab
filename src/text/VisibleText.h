// Text that comes from a kit or a file name, shown on a terminal: a control
// character in it (C0, DEL, C1) would act on the terminal (move the cursor,
// set the title, clear the screen) instead of being shown.
#pragma once

#include "text/WString.h"

// Whether the character is a control character: U+0000-U+001F, U+007F, U+0080-U+009F.
bool IsControlCharacter(char16_t unit);
// `text` with each control character shown as cat -v shows it: "^[" for
// ESC, "^?" for DEL, "M-^[" for U+009B; line breaks kept when
// `keepLineBreaks` (for a message of several lines). Anything else unchanged.
WString Visible(const WString& text, bool keepLineBreaks = false);
// Whether Visible would change `text`.
bool HasControlCharacter(const WString& text);
