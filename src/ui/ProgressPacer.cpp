#include "ui/ProgressPacer.h"

ProgressPacer::ProgressPacer(gint64 intervalMicroseconds) : interval_(intervalMicroseconds) {}

ProgressPacer::~ProgressPacer() {
    if (timer_ != 0) g_source_remove(timer_);
}

bool ProgressPacer::Admit(std::int32_t percent, gint64 now) {
    if (percent == shown_) return false;
    const gint64 wait = shown_ < 0 ? 0 : shownAt_ + interval_ - now;
    if (wait <= 0) {
        shown_ = percent;
        shownAt_ = now;
        return true;
    }
    if (timer_ == 0) {
        // Rounded up, so that the woken loop finds the value due.
        timer_ = g_timeout_add(static_cast<guint>((wait + 999) / 1000), &ProgressPacer::OnTimer, this);
    }
    return false;
}

gboolean ProgressPacer::OnTimer(gpointer self) {
    static_cast<ProgressPacer*>(self)->timer_ = 0;
    return G_SOURCE_REMOVE;
}
