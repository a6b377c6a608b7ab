// The text block of the pages that show a paragraph beside the banner:
// a wrapping label whose text starts at the top left of a fixed area.
#pragma once

#include <gtk/gtk.h>

// Creates an empty label of requested size 330 by 250, wrapping, aligned
// top-left, puts it into `container` at 170, 10 and returns it.
GtkWidget* MakeTextLabel(GtkFixed* container);
