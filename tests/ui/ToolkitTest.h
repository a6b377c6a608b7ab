// Shared set-up of the user-interface tests: the toolkit is initialised once
// per process; without a display every test that needs it is skipped. A
// test window holds a fixed container for pages, as the wizard does.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>

// Whether gtk_init_check succeeded (tried once, on first call).
bool ToolkitReady();

// The toplevel window whose type is `type` (e.g. GTK_TYPE_MESSAGE_DIALOG),
// or null.
GtkWidget* FindToplevel(GType type);

// Runs `act` from the main loop as soon as a toplevel of `type` exists,
// polling every 20 ms; gives up after 5 s. Used to answer modal dialogs
// that the code under test runs with gtk_dialog_run.
void WhenToplevelAppears(GType type, std::function<void(GtkWidget*)> act);

// Runs pending toolkit events until none is left.
void DrainEvents();

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    GtkWidget* window = nullptr;
    GtkFixed* fixed = nullptr;
};

// Position of a child in its fixed container and its requested size.
struct Placement {
    gint x;
    gint y;
    gint width;
    gint height;
};
Placement PlacementOf(GtkWidget* widget);
bool operator==(const Placement& a, const Placement& b);
void PrintTo(const Placement& p, std::ostream* out);
