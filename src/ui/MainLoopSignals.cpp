#include "ui/MainLoopSignals.h"

#include <glib-unix.h>

#include <csignal>

#include "app/TerminationSignals.h"

namespace {

constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

}  // namespace

MainLoopSignals::MainLoopSignals(Handler handler, void* data) : handler_(handler), data_(data) {
    TerminationSignals::Reset();
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        sources_[i] = g_unix_signal_add(kSignals[i], &MainLoopSignals::Dispatch, this);
    }
}

MainLoopSignals::~MainLoopSignals() {
    for (const guint source : sources_) g_source_remove(source);
}

gboolean MainLoopSignals::Dispatch(gpointer self) {
    auto* signals = static_cast<MainLoopSignals*>(self);
    TerminationSignals::Raise();
    signals->handler_(signals->data_);
    return G_SOURCE_CONTINUE;
}
