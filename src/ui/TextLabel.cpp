#include "ui/TextLabel.h"

GtkWidget* MakeTextLabel(GtkFixed* container) {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_widget_set_size_request(label, 330, 250);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.0f);
    gtk_fixed_put(container, label, 170, 10);
    return label;
}
