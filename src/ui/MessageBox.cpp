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

// The owner's window on the screen (the visible one with its title), which
// the box stands over and which gets the focus back; null when none shows.
GtkWindow* ShownWindowTitled(const AString& title) {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* found = nullptr;
    for (GList* item = windows; item != nullptr && found == nullptr; item = item->next) {
        auto* window = GTK_WINDOW(item->data);
        const gchar* shown = gtk_window_get_title(window);
        if (GTK_WIDGET_VISIBLE(GTK_WIDGET(window)) && shown != nullptr && title == AString(shown)) found = window;
    }
    g_list_free(windows);
    return found;
}

// Enter answers what changes nothing: No to a question, otherwise OK.
gint DefaultResponseFor(std::uint32_t flags) { return HasYesNo(flags) ? GTK_RESPONSE_NO : GTK_RESPONSE_OK; }

}  // namespace

std::int32_t MessageBox(const CWnd* owner, const WString& text, std::uint32_t flags) {
    const AString message = ToAString(text);
    GtkWindow* parent = owner != nullptr ? ShownWindowTitled(TitleOf(owner)) : nullptr;
    // Cleared if the window goes away while the box waits (a signal ends the run).
    if (parent != nullptr) g_object_add_weak_pointer(G_OBJECT(parent), reinterpret_cast<gpointer*>(&parent));
    gint response = GTK_RESPONSE_NONE;
    {
        ToplevelWidget dialog(gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, MessageTypeFor(flags),
                                                     ButtonsTypeFor(flags), "%s", message.c_str()));
        if (owner != nullptr) {
            gtk_window_set_title(GTK_WINDOW(dialog.get()), TitleOf(owner).c_str());
        }
        gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), DefaultResponseFor(flags));
        response = gtk_dialog_run(GTK_DIALOG(dialog.get()));
    }
    // The keyboard's focus returns to the control of the window that had it.
    if (parent != nullptr) {
        g_object_remove_weak_pointer(G_OBJECT(parent), reinterpret_cast<gpointer*>(&parent));
        gtk_window_present(parent);
    }
    return AnswerFor(response);
}
