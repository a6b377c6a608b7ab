// How often the progress page may change while an installation runs.
#include <gtest/gtest.h>

#include <tuple>

#include "ui/ProgressPacer.h"

// Times in microseconds since an arbitrary start, one interval of 33 ms.
TEST(ProgressPacerTest, ShowsEachNewValueAtMostOncePerIntervalAndArmsATimerForTheRest) {
    // (percent, now, shown, a timer pending after)
    const std::tuple<std::int32_t, gint64, bool, bool> steps[] = {
        {0, 1000, true, false},    // the first value at once
        {0, 2000, false, false},   // the same value again: nothing to do
        {5, 2000, false, true},    // new, but too soon: a timer will wake the loop
        {7, 20000, false, true},   // still too soon; the one timer serves the newest value
        {7, 34000, true, true},    // due
        {8, 100000, true, true},   // long after: at once
        {8, 100001, false, true},  // unchanged
    };
    ProgressPacer pacer(33000);
    for (const auto& [percent, now, shown, timerAfter] : steps) {
        EXPECT_EQ(pacer.Admit(percent, now), shown) << percent << " at " << now;
        EXPECT_EQ(pacer.TimerPending(), timerAfter) << percent << " at " << now;
    }
}

