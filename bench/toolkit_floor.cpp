// The floor under the wizard's cost: what GTK+ 2 alone takes to open a
// window on the display, with one labelled button, draw it once and close
// it. The wizard does all of that and more (its pictures, its pages, the
// progress), so the CPU this takes is the least a run with the window can
// cost over the same run headless.
//
//   toolkit_floor
//
// Exits 0 once the window was drawn, 1 when the display never drew it, 2
// when there is no display.
#include <gtk/gtk.h>

#include <cstdio>

namespace {

bool drawn = false;

gboolean Drawn(GtkWidget*, GdkEventExpose*, gpointer) {
    drawn = true;
    gtk_main_quit();
    return FALSE;
}

gboolean NeverDrawn(gpointer) {
    gtk_main_quit();
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "toolkit_floor: cannot open the display\n");
        return 2;
    }
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_container_add(GTK_CONTAINER(window), gtk_button_new_with_label("Next >"));
    // After the window's own handler, which draws the button.
    g_signal_connect_after(window, "expose-event", G_CALLBACK(&Drawn), nullptr);
    const guint limit = g_timeout_add_seconds(20, &NeverDrawn, nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    if (drawn) g_source_remove(limit);
    gtk_widget_destroy(window);
    return drawn ? 0 : 1;
}
