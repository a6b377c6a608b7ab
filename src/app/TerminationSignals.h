// SIGINT, SIGTERM and SIGHUP (Ctrl+C, a logout, `kill`) become a request to
// stop instead of an abrupt end, so that a running installation is rolled
// back and the unpacked kit removed like after Cancel.
#pragma once

class TerminationSignals {
public:
    // The signals only raise the flag that Requested() reports; a blocking
    // read or wait they interrupt returns early (no automatic restart).
    TerminationSignals();
    // Gives the signals back their default action.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether one of the signals has arrived since the last Reset().
    static bool Requested();
    // Raises the flag, for a front end that receives the signals its own way.
    static void Raise();
    // Lowers the flag: a new run has not been asked to stop yet.
    static void Reset();
};
