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

    // Replaces the text of the text block, drawn smaller where it would
    // not fit whole.
    void SetText(const WString& text);
    // The text block's text.
    AString Summary() const override;

    GtkWidget* image;
    GtkWidget* label;

protected:
    // The same with the text kept within the top `textHeight` pixels of the
    // text block, where a widget of a subclass lies below it.
    MessagePage(GtkFixed* container, GdkPixbuf* banner, const WString& text, gint textHeight);

private:
    gint textHeight_;
};
