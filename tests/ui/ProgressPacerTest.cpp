// How often the progress page may change while an installation runs.
#include <gtest/gtest.h>

#include "ui/ProgressPacer.h"

// Times in microseconds since an arbitrary start, one interval of 33 ms.
TEST(ProgressPacerTest, ShowsEachNewValueAtMostOncePerIntervalAndArmsATimerForTheRest) {
    struct Step {
        std::int32_t percent;
        gint64 now;
        bool shown;
        bool timerAfter;
    };
    const Step steps[] = {
        {0, 1000, true, false},    // the first value at once
        {0, 2000, false, false},   // the same value again: nothing to do
        {5, 2000, false, true},    // new, but too soon: a timer will wake the loop
        {7, 20000, false, true},   // still too soon; the one timer serves the newest value
        {7, 34000, true, true},    // due
        {8, 100000, true, true},   // long after: at once
        {8, 100001, false, true},  // unchanged
    };
    ProgressPacer pacer(33000);
    for (const Step& step : steps) {
        EXPECT_EQ(pacer.Admit(step.percent, step.now), step.shown) << step.percent << " at " << step.now;
        EXPECT_EQ(pacer.TimerPending(), step.timerAfter) << step.percent << " at " << step.now;
    }
}

