// The installer's one modal message dialog: a flag word chooses its kind
// (high byte) and buttons (low byte), the answer is a small number. It needs
// a display; without one the console front end says the same on standard error.
#pragma once

#include <cstdint>

#include "text/WString.h"
#include "ui/Wnd.h"

// Flag words in use: error with OK, question with Yes and No, plain with OK.
constexpr std::uint32_t MB_ERROR_OK = 0x01000001;
constexpr std::uint32_t MB_QUESTION_YESNO = 0x02000002;
constexpr std::uint32_t MB_PLAIN_OK = 0x00000001;

// Answers. IDNONE: closed by the window manager, with Escape, or any
// response that is not one of the dialog's buttons.
constexpr std::int32_t IDNONE = 0;
constexpr std::int32_t IDYES = 1;
constexpr std::int32_t IDNO = 2;
constexpr std::int32_t IDOK = 3;

// Shows `text` literally (never as a format) in a modal dialog titled with
// the owner's title (no title without an owner) and waits for the answer:
// IDYES, IDNO, IDOK or IDNONE.
std::int32_t MessageBox(const CWnd* owner, const WString& text, std::uint32_t flags);
