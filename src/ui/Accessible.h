// What the wizard's widgets tell assistive technologies: names, descriptions,
// label relations and roles of their ATK objects, which GAIL and the AT-SPI
// bridge hand to a screen reader. Without those modules the calls cost nothing.
#pragma once

#include <gtk/gtk.h>

#include "text/WString.h"

// `widget` is read out as `name` instead of what the toolkit derives from it.
void SetAccessibleName(GtkWidget* widget, const AString& name);
// `text` is read after the name, as what the widget is about; empty: nothing.
void SetAccessibleDescription(GtkWidget* widget, const AString& text);
// `widget` is LABELLED_BY `label` and `label` is LABEL_FOR `widget`; the
// widget's name becomes the label's text without a closing colon.
void LabelWidget(GtkWidget* widget, GtkWidget* label);
// An image that shows nothing a reader needs: a redundant object without a
// name, which screen readers pass over.
void MarkDecoration(GtkWidget* image);
// `caption` without the colon and blanks it ends with ("Template directory").
AString WithoutClosingColon(const AString& caption);
