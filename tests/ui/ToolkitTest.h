// The user-interface tests' set-up: a window with a fixed container for pages; skipped without a display.
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

// Every 20 ms calls `act` on the running dialog of `type` until it returns true; after 5 s dismisses it.
void WhenDialogRuns(GType type, std::function<bool(GtkWidget*)> act);
