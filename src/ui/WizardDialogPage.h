// A wizard page: widgets placed at fixed coordinates in the wizard's shared
// absolute-position container. Switching pages hides the widgets of one
// page and shows those of the next, in the order this list holds them.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "text/WString.h"

class WizardDialogPage {
public:
    explicit WizardDialogPage(GtkFixed* container);
    WizardDialogPage(const WizardDialogPage&) = delete;
    WizardDialogPage& operator=(const WizardDialogPage&) = delete;
    virtual ~WizardDialogPage();

    // Called after the page's widgets were shown; pages need no work there.
    virtual void OnShow();
    // The control a person uses first on this page; null: the window's
    // default button.
    virtual GtkWidget* FirstControl() const;
    // What the page says, read out with the first control when the page
    // appears; empty on a page without text.
    virtual AString Summary() const;

    GtkFixed* container;                // the wizard's container; not owned
    std::vector<GtkWidget*> widgets;    // the page's widgets; the container owns them

protected:
    // Puts `widget` into the container at x, y and appends it to `widgets`.
    GtkWidget* Place(GtkWidget* widget, gint x, gint y);
    // Appends a widget already in the container to `widgets`. It stays hidden
    // until the page is shown, even if someone shows the whole window.
    GtkWidget* Track(GtkWidget* widget);
};
