#include "ui/ToolkitTest.h"

namespace {

struct Watch {
    GType type;
    std::function<bool(GtkWidget*)> act;
    int triesLeft = 250;
};

// gtk_dialog_run makes its dialog modal: the running one holds the grab, a leftover one does not.
gboolean Poll(gpointer data) {
    auto* watch = static_cast<Watch*>(data);
    GtkWidget* running = gtk_grab_get_current();
    const bool found = running != nullptr && G_TYPE_CHECK_INSTANCE_TYPE(running, watch->type);
    if (found && watch->act(running)) return FALSE;
    if (--watch->triesLeft > 0) return TRUE;
    if (found && GTK_IS_DIALOG(running)) gtk_dialog_response(GTK_DIALOG(running), GTK_RESPONSE_NONE);
    return FALSE;
}

// A named but busy display (the end-to-end scripts share it) gets a few seconds; only no display at all skips.
bool OpenDisplay() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (gtk_init_check(nullptr, nullptr)) return true;
        g_usleep(G_USEC_PER_SEC / 4);
    }
    return false;
}

}  // namespace

void WhenDialogRuns(GType type, std::function<bool(GtkWidget*)> act) {
    g_timeout_add_full(G_PRIORITY_DEFAULT, 20, Poll, new Watch{type, std::move(act)},
                       [](gpointer watch) { delete static_cast<Watch*>(watch); });
}

void ToolkitTest::SetUp() {
    const char* display = g_getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display";
    static const bool ready = OpenDisplay();
    ASSERT_TRUE(ready) << "cannot open the display " << display;
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    fixed = GTK_FIXED(gtk_fixed_new());
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(fixed));
}

void ToolkitTest::TearDown() {
    if (window == nullptr) return;  // skipped
    gtk_widget_destroy(window);
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item != nullptr; item = item->next) {
        EXPECT_FALSE(GTK_IS_DIALOG(item->data)) << "a dialog outlived its test";
    }
    g_list_free(toplevels);
}
