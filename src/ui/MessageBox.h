// The installer's one modal message dialog: a flag word chooses its kind
// (high byte) and buttons (low byte), the answer is a small number. It needs
// a display; without one the console front end says the same on standard error.
#pragma once

#include <cstdint>

#include "app/MessageFlags.h"
#include "text/WString.h"
#include "ui/Wnd.h"

// Shows `text` literally (never as a format) in a modal dialog titled with
// the owner's title (no title without an owner) and waits for the answer:
// IDYES, IDNO, IDOK or IDNONE. The box stands over the owner's window when
// one shows, Enter answers No to a question (OK otherwise), and the owner's
// window has the focus back afterwards.
std::int32_t MessageBox(const CWnd* owner, const WString& text, std::uint32_t flags);
