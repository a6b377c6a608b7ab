// The record shared by the user-interface thread and the worker.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/ProgressState.h"
#include "kit/KitReader.h"

namespace {

TEST(ProgressStateTest, ReportsCrossThreadsWholeAndWakeTheReader) {
    ProgressState progress;
    std::atomic<int> wakeUps{0};
    progress.SetWakeUp([&] { ++wakeUps; });
    constexpr int kReports = 2000;
    const auto message = [](int i) { return u"destination path long enough for the heap " + IntToWString(i, 10); };
    std::thread worker([&] {
        for (int i = 1; i <= kReports; ++i) {
            // A second report of the same percentage only changes the message: no wake-up.
            progress.PostProgress(ERR_NONE, message(i), i);
            progress.PostProgress(ERR_NONE, message(i), i);
        }
    });
    for (int last = 0; last < kReports;) {
        const ProgressReport report = progress.ReadProgress();
        ASSERT_GE(report.percent, last);
        // Message and percent always belong to the same report.
        if (report.percent > 0) {
            EXPECT_TRUE(report.message == message(report.percent));
        }
        last = report.percent;
    }
    worker.join();
    EXPECT_EQ(wakeUps.load(), kReports);
}

struct EndCase {
    ErrorCode status;
    std::int32_t percent;
    bool ends;
};

TEST(ProgressStateTest, WaitForEndReturnsOnceAFailureOrTheFullPercentageIsPosted) {
    const EndCase cases[] = {{ERR_NONE, 0, false}, {ERR_NONE, 99, false}, {ERR_NONE, 100, true},
                             {ERR_INVALID_DATA, 20, true}, {ERR_CANCELLED, 0, true}};
    for (const EndCase& test : cases) {
        ProgressState progress;
        KitReader kit;
        progress.StartJob(kit, u"/t");
        progress.PostProgress(test.status, u"", test.percent);
        EXPECT_EQ(progress.WaitForEnd(10), test.ends) << test.status << " " << test.percent;
        EXPECT_EQ(progress.WaitForEnd(10), test.ends) << "asked again: " << test.status << " " << test.percent;
        // A new job forgets the end of the one before.
        progress.StartJob(kit, u"/t");
        EXPECT_FALSE(progress.WaitForEnd(0));
    }
}

}  // namespace
