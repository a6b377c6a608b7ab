#include "app/TerminationSignals.h"

#include <array>
#include <csignal>

namespace {

constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t gRequested = 0;

void RaiseFlag(int) { gRequested = 1; }

}  // namespace

TerminationSignals::TerminationSignals() {
    gRequested = 0;
    for (const int signal : kSignals) {
        struct sigaction action {};
        action.sa_handler = &RaiseFlag;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    for (const int signal : kSignals) std::signal(signal, SIG_DFL);
}

bool TerminationSignals::Requested() { return gRequested != 0; }

void TerminationSignals::Raise() { gRequested = 1; }

void TerminationSignals::Reset() { gRequested = 0; }
