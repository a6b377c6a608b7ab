// The flag words of a message to the user and the answers a front end gives:
// the high byte chooses the kind, the low byte the buttons.
#pragma once

#include <cstdint>

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
