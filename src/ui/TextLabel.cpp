#include "ui/TextLabel.h"

GtkWidget* MakeTextLabel(GtkFixed* container) {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_widget_set_size_request(label, kTextBlockWidth, kTextBlockHeight);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.0f);
    gtk_fixed_put(container, label, kTextBlockX, kTextBlockY);
    return label;
}
