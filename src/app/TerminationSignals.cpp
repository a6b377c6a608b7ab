#include "app/TerminationSignals.h"

#include <glib-unix.h>

#include <csignal>

namespace {

constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t gRequested = 0;

void RaiseFlag(int) { gRequested = 1; }

}  // namespace

TerminationSignals::TerminationSignals(bool withMainLoop, Handler handler, void* data)
    : handler_(handler), data_(data), withMainLoop_(withMainLoop) {
    gRequested = 0;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (withMainLoop_) {
            sources_[i] = g_unix_signal_add(kSignals[i], &TerminationSignals::Dispatch, this);
        } else {
            struct sigaction action {};
            action.sa_handler = &RaiseFlag;
            sigemptyset(&action.sa_mask);
            sigaction(kSignals[i], &action, nullptr);
        }
    }
}

TerminationSignals::~TerminationSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (withMainLoop_) {
            g_source_remove(sources_[i]);
        } else {
            std::signal(kSignals[i], SIG_DFL);
        }
    }
}

bool TerminationSignals::Requested() { return gRequested != 0; }

gboolean TerminationSignals::Dispatch(gpointer self) {
    auto* signals = static_cast<TerminationSignals*>(self);
    gRequested = 1;
    signals->handler_(signals->data_);
    return G_SOURCE_CONTINUE;
}
