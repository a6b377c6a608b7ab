// The last page after a successful installation: the message page with a
// check box that offers to open the kit's description document.
#pragma once

#include "ui/MessagePage.h"

class SuccessFinalPage : public MessagePage {
public:
    // The message page, then the check box "IDS_SUCCESS_OPENDESCR" at
    // 170, 170, ticked.
    SuccessFinalPage(GtkFixed* container, GdkPixbuf* banner, const WString& text);

    // Whether the user left the check box ticked.
    bool IsOpenDescriptionChecked() const;

    GtkWidget* openDescriptionCheck;
};
