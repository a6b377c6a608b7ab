// The record shared by the user-interface thread and the worker (whole across threads: the job tests, under TSan).
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/ProgressState.h"
#include "kit/KitReader.h"

// The window sleeps through the steps of a job but not through its end: the wake-up says which report ended it.
TEST(ProgressStateTest, WaitersSeeTheEndUntilTheNextJobAndWakeUpsComeOncePerChangeNamingTheEnd) {
    const std::tuple<ErrorCode, std::int32_t, bool, std::vector<bool>> cases[] = {{ERR_NONE, 0, false, {}},
        {ERR_NONE, 99, false, {false}}, {ERR_NONE, 100, true, {true}}, {ERR_INVALID_DATA, 20, true, {true}},
        {ERR_CANCELLED, 0, true, {true}}};
    for (const auto& [status, percent, ends, expectedWakeUps] : cases) {
        SCOPED_TRACE(testing::Message() << status << " " << percent);
        ProgressState progress;
        std::vector<bool> wakeUps;
        progress.SetWakeUp([&](bool endsTheJob) { wakeUps.push_back(endsTheJob); });
        KitReader kit;
        progress.StartJob(kit, u"/t");
        progress.PostProgress(status, u"first", percent);
        progress.PostProgress(status, u"again", percent);
        EXPECT_EQ(wakeUps, expectedWakeUps);
        EXPECT_TRUE(progress.ReadProgress().message == u"again");
        EXPECT_EQ(progress.WaitForEnd(10), ends);
        EXPECT_EQ(progress.WaitForEnd(10), ends);  // asked again
        progress.StartJob(kit, u"/t");
        EXPECT_FALSE(progress.WaitForEnd(0));
    }
}

