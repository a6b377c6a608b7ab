// The record shared by the user-interface thread and the worker (whole across threads: the job tests, under TSan).
#include <gtest/gtest.h>

#include <tuple>

#include "app/ProgressState.h"
#include "kit/KitReader.h"

TEST(ProgressStateTest, WaitersSeeTheEndUntilTheNextJobAndWakeUpsComeOncePerChange) {
    const std::tuple<ErrorCode, std::int32_t, bool, int> cases[] = {{ERR_NONE, 0, false, 0}, {ERR_NONE, 99, false, 1},
        {ERR_NONE, 100, true, 1}, {ERR_INVALID_DATA, 20, true, 1}, {ERR_CANCELLED, 0, true, 1}};
    for (const auto& [status, percent, ends, expectedWakeUps] : cases) {
        SCOPED_TRACE(testing::Message() << status << " " << percent);
        ProgressState progress;
        int wakeUps = 0;
        progress.SetWakeUp([&] { ++wakeUps; });
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

