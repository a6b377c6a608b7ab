// The last page after a successful installation: the message page with a
// check box that offers to open the kit's description document.
#pragma once

#include "ui/MessagePage.h"

class SuccessFinalPage : public MessagePage {
public:
    // The message page, then the check box "IDS_SUCCESS_OPENDESCR" at
    // 170, 170, ticked.
    SuccessFinalPage(GtkFixed* container, GdkPixbuf* banner, const WString& text);

    // Whether the check box is there at all (after an uninstallation there
    // is no document to open); it is, unless told otherwise before showing.
    // One not offered is never shown, not even for an instant.
    void OfferDescription(bool offered);
    // Whether the check box is offered and the user left it ticked.
    bool IsOpenDescriptionChecked() const;

    GtkWidget* openDescriptionCheck;

private:
    bool offered_ = true;
};
