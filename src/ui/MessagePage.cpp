#include "ui/MessagePage.h"

#include "text/Convert.h"
#include "ui/TextLabel.h"

MessagePage::MessagePage(GtkFixed* fixed, GdkPixbuf* banner, const WString& text) : WizardDialogPage(fixed) {
    image = gtk_image_new_from_pixbuf(banner);
    gtk_container_add(GTK_CONTAINER(container), image);
    Track(image);
    label = Track(MakeTextLabel(container));
    SetText(text);
}

void MessagePage::SetText(const WString& text) { gtk_label_set_text(GTK_LABEL(label), ToAString(text).c_str()); }
