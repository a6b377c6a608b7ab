#include "ui/ToolkitTest.h"

namespace {

GtkWidget* FindToplevel(GType type) {
    GList* toplevels = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* item = toplevels; item != nullptr && found == nullptr; item = item->next) {
        found = G_TYPE_CHECK_INSTANCE_TYPE(item->data, type) ? GTK_WIDGET(item->data) : nullptr;
    }
    g_list_free(toplevels);
    return found;
}

struct Watch {
    GType type;
    std::function<bool(GtkWidget*)> act;
    int triesLeft = 250;
};

gboolean Poll(gpointer data) {
    auto* watch = static_cast<Watch*>(data);
    GtkWidget* found = FindToplevel(watch->type);
    const bool visible = found != nullptr && gtk_widget_get_visible(found);
    if (visible && watch->act(found)) return FALSE;
    if (--watch->triesLeft > 0) return TRUE;
    if (visible && GTK_IS_DIALOG(found)) {  // so that gtk_dialog_run returns
        gtk_dialog_response(GTK_DIALOG(found), GTK_RESPONSE_NONE);
    }
    return FALSE;
}

}  // namespace

void WhenToplevelAppears(GType type, std::function<bool(GtkWidget*)> act) {
    g_timeout_add_full(G_PRIORITY_DEFAULT, 20, Poll, new Watch{type, std::move(act)},
                       [](gpointer watch) { delete static_cast<Watch*>(watch); });
}

void ToolkitTest::SetUp() {
    static const bool ready = gtk_init_check(nullptr, nullptr) != FALSE;
    if (!ready) {
        GTEST_SKIP() << "no display";
    }
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    fixed = GTK_FIXED(gtk_fixed_new());
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(fixed));
}

void ToolkitTest::TearDown() {
    if (window == nullptr) return;  // skipped
    gtk_widget_destroy(window);
    EXPECT_EQ(FindToplevel(GTK_TYPE_DIALOG), nullptr) << "a dialog outlived its test";
}
