#include "ui/MessagePage.h"

#include "text/Convert.h"
#include "ui/Accessible.h"
#include "ui/TextFit.h"
#include "ui/TextLabel.h"

MessagePage::MessagePage(GtkFixed* fixed, GdkPixbuf* banner, const WString& text)
    : MessagePage(fixed, banner, text, kTextBlockHeight) {}

MessagePage::MessagePage(GtkFixed* fixed, GdkPixbuf* banner, const WString& text, gint textHeight)
    : WizardDialogPage(fixed), textHeight_(textHeight) {
    image = gtk_image_new_from_pixbuf(banner);
    gtk_container_add(GTK_CONTAINER(container), image);
    MarkDecoration(image);
    Track(image);
    label = Track(MakeTextLabel(container));
    SetText(text);
}

void MessagePage::SetText(const WString& text) {
    gtk_label_set_text(GTK_LABEL(label), ToAString(text).c_str());
    FitText(label, kTextBlockWidth, textHeight_);
}

AString MessagePage::Summary() const { return AString(gtk_label_get_text(GTK_LABEL(label))); }
