// How often the progress page may change while an installation runs: a new
// percentage is shown at once when the last one was shown at least an
// interval ago (about 30 times a second), otherwise a one-shot timer wakes
// the main loop when it may be, so that the last value is never left behind.
#pragma once

#include <glib.h>

#include <cstdint>

class ProgressPacer {
public:
    static constexpr gint64 kIntervalMicroseconds = 33000;

    explicit ProgressPacer(gint64 intervalMicroseconds = kIntervalMicroseconds);
    ~ProgressPacer();  // removes a pending timer
    ProgressPacer(const ProgressPacer&) = delete;
    ProgressPacer& operator=(const ProgressPacer&) = delete;

    // True when `percent` differs from the last value shown and may be shown
    // at `now` (monotonic microseconds); it then counts as shown. A changed
    // value that is not due yet arms the timer of the default main context.
    bool Admit(std::int32_t percent, gint64 now);
    bool TimerPending() const { return timer_ != 0; }

private:
    static gboolean OnTimer(gpointer self);

    gint64 interval_;
    std::int32_t shown_ = -1;
    gint64 shownAt_ = 0;
    guint timer_ = 0;
};
