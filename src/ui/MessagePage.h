// A page that shows the banner and one block of text: the welcome page, the
// error page and, extended, the success page.
#pragma once

#include "text/WString.h"
#include "ui/WizardDialogPage.h"

class MessagePage : public WizardDialogPage {
public:
    // Creates the banner image (at 0, 0) and the text block, hidden, and
    // sets `text`. `banner` is not taken over; it may be null (no picture).
    MessagePage(GtkFixed* container, GdkPixbuf* banner, const WString& text);

    // Replaces the text of the text block.
    void SetText(const WString& text);

    GtkWidget* image;
    GtkWidget* label;
};
