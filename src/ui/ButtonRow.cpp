#include "ui/ButtonRow.h"

#include <algorithm>

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/TextFit.h"

namespace {

constexpr gint kMargin = 10;         // between the row and the window's edges
constexpr gint kSeparatorY = 310;
constexpr gint kRowY = 320;
constexpr gint kButtonWidth = 80;
constexpr gint kButtonHeight = 30;
constexpr gint kCancelGap = 20;      // keeps Cancel apart from Back and Next
constexpr gint kCancelGrowth = kCancelGap / 2;

GtkWidget* AddButton(GtkFixed* fixed, const char* textId) {
    GtkWidget* button = gtk_button_new_with_label(ToAString(LoadResString(textId)).c_str());
    gtk_fixed_put(fixed, button, 0, kRowY);
    return button;
}

// Sets the button's width, keeping its right edge where the row wants it,
// and fits its text into that width.
gint PlaceFromRight(GtkWidget* button, gint right, gint width) {
    gtk_widget_set_size_request(button, width, kButtonHeight);
    gtk_fixed_move(GTK_FIXED(gtk_widget_get_parent(button)), button, right - width, kRowY);
    FitText(button, width, kButtonHeight);
    return right - width;
}

// The width a button takes: its text's, at least the usual 80, at most `room`.
gint WidthFor(GtkWidget* button, gint room) {
    return std::min(std::max(TextWidthNeeded(button), kButtonWidth), room);
}

// Cancel may take half the gap before it; Next and Back stand together, so
// a wider Next moves Back to the left into the row's free room.
void LayOutRow(const ButtonRow& row) {
    const gint cancelRight = row.windowWidth - kMargin;
    PlaceFromRight(row.cancel, cancelRight, WidthFor(row.cancel, kButtonWidth + kCancelGrowth));
    const gint nextRight = cancelRight - kButtonWidth - kCancelGap;
    const gint pairRoom = nextRight - kMargin;
    const gint nextLeft = PlaceFromRight(row.next, nextRight, WidthFor(row.next, pairRoom - kButtonWidth));
    PlaceFromRight(row.back, nextLeft, WidthFor(row.back, nextLeft - kMargin));
}

}  // namespace

ButtonRow MakeButtonRow(GtkFixed* fixed, gint windowWidth) {
    GtkWidget* separator = gtk_hseparator_new();
    gtk_widget_set_size_request(separator, windowWidth - 2 * kMargin, 5);
    gtk_fixed_put(fixed, separator, kMargin, kSeparatorY);
    ButtonRow row;
    row.windowWidth = windowWidth;
    row.back = AddButton(fixed, "IDS_WIZARD_BACK");
    row.next = AddButton(fixed, "IDS_WIZARD_NEXT");
    row.cancel = AddButton(fixed, "IDS_WIZARD_CANCEL");
    // The default's frame is wider: it is set before the texts are fitted.
    GTK_WIDGET_SET_FLAGS(row.next, GTK_CAN_DEFAULT);
    LayOutRow(row);
    return row;
}

void SetButtonText(const ButtonRow& row, GtkWidget* button, const char* textId) {
    gtk_button_set_label(GTK_BUTTON(button), ToAString(LoadResString(textId)).c_str());
    LayOutRow(row);
}
