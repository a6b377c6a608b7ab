// Keeps a widget's text whole in the fixed space the widget has: a text that
// does not fit at the toolkit's font is drawn smaller, down to a floor below
// which it would be hard to read, rather than cut at the widget's edge.
#pragma once

#include <gtk/gtk.h>

// The smallest share of the toolkit's font a text is drawn at.
constexpr double kSmallestTextScale = 0.75;

// The width `widget` (a label, or a button or check box around one) needs
// to show its text whole at the toolkit's font: the text plus the widget's
// own borders, focus line and indicator. 0 for a widget without a label.
gint TextWidthNeeded(GtkWidget* widget);

// Shows the text of `widget` within `width` by `height` pixels of the widget
// (-1: no limit in that direction): at the toolkit's font when it fits, else
// at the largest smaller scale down to kSmallestTextScale. A wrapping label
// keeps its wrap width and is measured by its lines' height. Call it again
// whenever the text changes. False when the text does not fit even at the
// floor: it is then left at the floor, and the cut is shown rather than
// silent: a one-line label ends in "…", and the whole text is the widget's
// tooltip.
bool FitText(GtkWidget* widget, gint width, gint height);
