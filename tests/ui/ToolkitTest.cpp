#include "ui/ToolkitTest.h"

#include <memory>
#include <ostream>

bool ToolkitReady() {
    static const bool ready = gtk_init_check(nullptr, nullptr) != FALSE;
    return ready;
}

GtkWidget* FindToplevel(GType type) {
    GList* toplevels = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* item = toplevels; item != nullptr && found == nullptr; item = item->next) {
        if (G_TYPE_CHECK_INSTANCE_TYPE(item->data, type)) {
            found = GTK_WIDGET(item->data);
        }
    }
    g_list_free(toplevels);
    return found;
}

namespace {

struct Watch {
    GType type;
    std::function<void(GtkWidget*)> act;
    int triesLeft;
};

gboolean PollForToplevel(gpointer data) {
    auto* watch = static_cast<Watch*>(data);
    GtkWidget* found = FindToplevel(watch->type);
    if (found != nullptr && gtk_widget_get_visible(found)) {
        watch->act(found);
        return FALSE;
    }
    return --watch->triesLeft > 0 ? TRUE : FALSE;
}

void DeleteWatch(gpointer data) { delete static_cast<Watch*>(data); }

}  // namespace

void WhenToplevelAppears(GType type, std::function<void(GtkWidget*)> act) {
    auto watch = std::make_unique<Watch>(Watch{type, std::move(act), 250});
    g_timeout_add_full(G_PRIORITY_DEFAULT, 20, PollForToplevel, watch.release(), DeleteWatch);
}

void DrainEvents() {
    while (gtk_events_pending()) {
        gtk_main_iteration();
    }
}

void ToolkitTest::SetUp() {
    if (!ToolkitReady()) {
        GTEST_SKIP() << "no display";
    }
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    fixed = GTK_FIXED(gtk_fixed_new());
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(fixed));
    gtk_widget_set_size_request(window, 500, 360);
    gtk_widget_show_all(window);
}

void ToolkitTest::TearDown() {
    if (window != nullptr) {
        gtk_widget_destroy(window);
        DrainEvents();
    }
}

Placement PlacementOf(GtkWidget* widget) {
    Placement p{};
    gtk_container_child_get(GTK_CONTAINER(gtk_widget_get_parent(widget)), widget, "x", &p.x, "y", &p.y, nullptr);
    gtk_widget_get_size_request(widget, &p.width, &p.height);
    return p;
}

bool operator==(const Placement& a, const Placement& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

void PrintTo(const Placement& p, std::ostream* out) {
    *out << "at " << p.x << "," << p.y << " size " << p.width << "x" << p.height;
}
