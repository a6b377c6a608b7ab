#include "ui/MessageBox.h"

#include <gtk/gtk.h>

#include "text/Convert.h"
#include "ui/GtkOwners.h"

namespace {

constexpr std::uint32_t kKindError = 0x01;
constexpr std::uint32_t kKindQuestion = 0x02;
constexpr std::uint32_t kButtonsYesNo = 0x02;

std::uint32_t KindOf(std::uint32_t flags) { return flags >> 24; }
std::uint32_t ButtonsOf(std::uint32_t flags) { return flags & 0xFFu; }

GtkMessageType MessageTypeFor(std::uint32_t flags) {
    switch (KindOf(flags)) {
    case kKindError: return GTK_MESSAGE_ERROR;
    case kKindQuestion: return GTK_MESSAGE_QUESTION;
    default: return GTK_MESSAGE_OTHER;
    }
}

bool HasYesNo(std::uint32_t flags) { return ButtonsOf(flags) == kButtonsYesNo; }

GtkButtonsType ButtonsTypeFor(std::uint32_t flags) { return HasYesNo(flags) ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK; }

std::int32_t AnswerFor(gint response) {
    switch (response) {
    case GTK_RESPONSE_YES: return IDYES;
    case GTK_RESPONSE_NO: return IDNO;
    case GTK_RESPONSE_OK: return IDOK;
    default: return IDNONE;
    }
}

AString TitleOf(const CWnd* owner) { return owner != nullptr ? ToAString(owner->GetTitle()) : AString(); }

}  // namespace

std::int32_t MessageBox(const CWnd* owner, const WString& text, std::uint32_t flags) {
    const AString message = ToAString(text);
    ToplevelWidget dialog(gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, MessageTypeFor(flags),
                                                 ButtonsTypeFor(flags), "%s", message.c_str()));
    if (owner != nullptr) {
        gtk_window_set_title(GTK_WINDOW(dialog.get()), TitleOf(owner).c_str());
    }
    return AnswerFor(gtk_dialog_run(GTK_DIALOG(dialog.get())));
}
