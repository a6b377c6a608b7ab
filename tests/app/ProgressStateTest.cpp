// The record shared by the user-interface thread and the worker (whole across threads: the job tests, under TSan).
#include <gtest/gtest.h>

#include "app/ProgressState.h"
#include "kit/KitReader.h"

TEST(ProgressStateTest, WaitersSeeTheEndUntilTheNextJobAndWakeUpsComeOncePerChange) {
    struct Case {
        ErrorCode status;
        std::int32_t percent;
        bool ends;
        int wakeUps;
    };
    const Case cases[] = {{ERR_NONE, 0, false, 0}, {ERR_NONE, 99, false, 1}, {ERR_NONE, 100, true, 1},
                          {ERR_INVALID_DATA, 20, true, 1}, {ERR_CANCELLED, 0, true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << " " << c.percent);
        ProgressState progress;
        int wakeUps = 0;
        progress.SetWakeUp([&] { ++wakeUps; });
        KitReader kit;
        progress.StartJob(kit, u"/t");
        progress.PostProgress(c.status, u"first", c.percent);
        progress.PostProgress(c.status, u"again", c.percent);
        EXPECT_EQ(wakeUps, c.wakeUps);
        EXPECT_TRUE(progress.ReadProgress().message == u"again");
        EXPECT_EQ(progress.WaitForEnd(10), c.ends);
        EXPECT_EQ(progress.WaitForEnd(10), c.ends);  // asked again
        progress.StartJob(kit, u"/t");
        EXPECT_FALSE(progress.WaitForEnd(0));
    }
}

