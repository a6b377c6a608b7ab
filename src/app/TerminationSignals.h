// SIGINT, SIGTERM and SIGHUP (Ctrl+C, a logout, `kill`) become a request to
// stop instead of an abrupt end, so that a running installation is rolled
// back and the unpacked kit removed like after Cancel.
#pragma once

#include <glib.h>

#include <array>

class TerminationSignals {
public:
    using Handler = void (*)(void* data);

    // With a main loop the handler runs there (GLib's signal sources); without
    // one the signals only raise the flag that Requested() reports.
    TerminationSignals(bool withMainLoop, Handler handler, void* data);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether one of the signals has arrived since construction.
    static bool Requested();

private:
    static gboolean Dispatch(gpointer self);

    Handler handler_;
    void* data_;
    std::array<guint, 3> sources_{};
    bool withMainLoop_;
};
