// Owning handles for the toolkit objects that our code creates outside any
// container and therefore has to release itself: top-level dialogs and the
// g_malloc'ed strings the toolkit hands back.
#pragma once

#include <gtk/gtk.h>

#include <memory>

struct ToplevelDestroyer {
    void operator()(GtkWidget* widget) const noexcept { gtk_widget_destroy(widget); }
};
// A top-level widget destroyed (gtk_widget_destroy) when the handle dies.
using ToplevelWidget = std::unique_ptr<GtkWidget, ToplevelDestroyer>;

struct GFreeDeleter {
    void operator()(gchar* text) const noexcept { g_free(text); }
};
// A string allocated by GLib, released with g_free.
using GCharString = std::unique_ptr<gchar, GFreeDeleter>;
