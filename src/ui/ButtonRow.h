// The wizard's row of buttons under the pages: a separator, then Back and
// Next side by side and Cancel apart at the right edge, each 80 by 30. A
// button whose text needs more grows to the left into the row's free room;
// only what is left over is made up by a smaller font.
#pragma once

#include <gtk/gtk.h>

struct ButtonRow {
    GtkWidget* back = nullptr;
    GtkWidget* next = nullptr;
    GtkWidget* cancel = nullptr;
    gint windowWidth = 0;  // the row ends a margin before the window's right edge
};

// Puts the separator and the three buttons, labelled in the current
// language, into `fixed` of a window `windowWidth` wide, and lays them out.
// Next can be the window's default.
ButtonRow MakeButtonRow(GtkFixed* fixed, gint windowWidth);

// Gives `button`, one of `row`'s, the text of `textId` and lays the row out
// again so that every text stays whole.
void SetButtonText(const ButtonRow& row, GtkWidget* button, const char* textId);
