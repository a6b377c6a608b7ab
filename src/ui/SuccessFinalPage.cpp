#include "ui/SuccessFinalPage.h"

#include <algorithm>

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/TextFit.h"
#include "ui/TextLabel.h"

namespace {

constexpr gint kCheckX = kTextBlockX;
constexpr gint kCheckY = 170;
// The text block's text ends this far above the check box, which lies on the
// block; the box's line may reach the window's margin.
constexpr gint kTextToCheck = 5;
constexpr gint kCheckWidth = 320;

}  // namespace

SuccessFinalPage::SuccessFinalPage(GtkFixed* fixed, GdkPixbuf* banner, const WString& text)
    : MessagePage(fixed, banner, text, kCheckY - kTextToCheck - kTextBlockY) {
    const AString caption = ToAString(LoadResString("IDS_SUCCESS_OPENDESCR"));
    openDescriptionCheck = Place(gtk_check_button_new_with_label(caption.c_str()), kCheckX, kCheckY);
    FitText(openDescriptionCheck, kCheckWidth, -1);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(openDescriptionCheck), TRUE);
}

void SuccessFinalPage::OfferDescription(bool offered) {
    const auto listed = std::find(widgets.begin(), widgets.end(), openDescriptionCheck);
    if (!offered && listed != widgets.end()) {
        widgets.erase(listed);
        gtk_widget_hide(openDescriptionCheck);
    } else if (offered && listed == widgets.end()) {
        widgets.push_back(openDescriptionCheck);  // placed last, listed last
    }
    offered_ = offered;
}

bool SuccessFinalPage::IsOpenDescriptionChecked() const {
    return offered_ && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(openDescriptionCheck)) != FALSE;
}
