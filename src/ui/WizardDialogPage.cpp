#include "ui/WizardDialogPage.h"

WizardDialogPage::WizardDialogPage(GtkFixed* fixed) : container(fixed) {}

WizardDialogPage::~WizardDialogPage() = default;

void WizardDialogPage::OnShow() {}

GtkWidget* WizardDialogPage::FirstControl() const { return nullptr; }

AString WizardDialogPage::Summary() const { return AString(); }

GtkWidget* WizardDialogPage::Place(GtkWidget* widget, gint x, gint y) {
    gtk_fixed_put(container, widget, x, y);
    return Track(widget);
}

GtkWidget* WizardDialogPage::Track(GtkWidget* widget) {
    // Only page switching may reveal a page; a gtk_widget_show_all on the
    // window must not show every page at once.
    gtk_widget_set_no_show_all(widget, TRUE);
    widgets.push_back(widget);
    return widget;
}
