#include "ui/SuccessFinalPage.h"

#include "l10n/Messages.h"
#include "text/Convert.h"

SuccessFinalPage::SuccessFinalPage(GtkFixed* fixed, GdkPixbuf* banner, const WString& text)
    : MessagePage(fixed, banner, text) {
    const AString caption = ToAString(LoadResString("IDS_SUCCESS_OPENDESCR"));
    openDescriptionCheck = Place(gtk_check_button_new_with_label(caption.c_str()), 170, 170);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(openDescriptionCheck), TRUE);
}

bool SuccessFinalPage::IsOpenDescriptionChecked() const {
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(openDescriptionCheck)) != FALSE;
}
