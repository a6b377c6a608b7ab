// Shared set-up of the user-interface tests: a window with a fixed container
// for pages, as the wizard has; every test is skipped without a display.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>

// Tearing down fails the test if one of its dialogs outlived it.
class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    GtkWidget* window = nullptr;
    GtkFixed* fixed = nullptr;
};

// Answers dialogs run with gtk_dialog_run: every 20 ms calls `act` on the running
// dialog of `type` until it returns true; after 5 s dismisses it so a failing test ends.
void WhenDialogRuns(GType type, std::function<bool(GtkWidget*)> act);
