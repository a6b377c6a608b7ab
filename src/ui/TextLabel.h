// The text block of the pages that show a paragraph beside the banner:
// a wrapping label whose text starts at the top left of a fixed area.
#pragma once

#include <gtk/gtk.h>

inline constexpr gint kTextBlockX = 170;
inline constexpr gint kTextBlockY = 10;
inline constexpr gint kTextBlockWidth = 330;
inline constexpr gint kTextBlockHeight = 250;

// Creates an empty label of requested size 330 by 250, wrapping (a word too
// long for a line, such as a path, between its characters), aligned
// top-left, puts it into `container` at 170, 10 and returns it.
GtkWidget* MakeTextLabel(GtkFixed* container);
