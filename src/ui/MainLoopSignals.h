// SIGINT, SIGTERM and SIGHUP while the toolkit's main loop runs: each raises
// the flag of TerminationSignals and calls the handler from the main loop
// (GLib's signal sources), where the window may be touched.
#pragma once

#include <glib.h>

#include <array>

class MainLoopSignals {
public:
    using Handler = void (*)(void* data);

    MainLoopSignals(Handler handler, void* data);
    ~MainLoopSignals();
    MainLoopSignals(const MainLoopSignals&) = delete;
    MainLoopSignals& operator=(const MainLoopSignals&) = delete;

private:
    static gboolean Dispatch(gpointer self);

    Handler handler_;
    void* data_;
    std::array<guint, 3> sources_{};
};
