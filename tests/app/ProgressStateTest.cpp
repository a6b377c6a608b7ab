// The record shared by the user-interface thread and the worker.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/ProgressState.h"
#include "kit/KitReader.h"

namespace {

struct TargetCase {
    const char16_t* target;
    const char16_t* jobTarget;
};

class JobTargetTest : public testing::TestWithParam<TargetCase> {};

TEST_P(JobTargetTest, EndsInExactlyOneSeparatorUnlessEmpty) {
    ProgressState progress;
    KitReader kit;
    progress.StartJob(kit, GetParam().target);
    const JobParameters job = progress.ReadJob();
    EXPECT_EQ(job.job, &kit);
    EXPECT_TRUE(job.target == WString(GetParam().jobTarget));
}

INSTANTIATE_TEST_SUITE_P(Targets, JobTargetTest,
                         testing::Values(TargetCase{u"/home/u/t", u"/home/u/t/"}, TargetCase{u"/home/u/t/", u"/home/u/t/"},
                                         TargetCase{u"C:\\t\\", u"C:\\t\\"}, TargetCase{u"", u""}));

TEST(ProgressStateTest, StartJobResetsStatusPercentAndCancelButKeepsMessage) {
    ProgressState progress;
    KitReader kit;
    progress.PostProgress(13, u"old message", 40);
    progress.RequestCancel();
    progress.StartJob(kit, u"/t");
    const ProgressReport report = progress.ReadProgress();
    EXPECT_EQ(report.status, ERR_NONE);
    EXPECT_EQ(report.percent, 0);
    EXPECT_TRUE(report.message == WString(u"old message"));
    EXPECT_FALSE(progress.IsCancelRequested());
}

TEST(ProgressStateTest, ReportsCrossThreadsWholeAndWakeTheReader) {
    ProgressState progress;
    std::atomic<int> wakeUps{0};
    progress.SetWakeUp([&] { ++wakeUps; });
    constexpr int kReports = 2000;
    std::thread worker([&] {
        for (int i = 1; i <= kReports; ++i) {
            progress.PostProgress(ERR_NONE, u"destination path long enough for the heap " + IntToWString(i, 10), i);
        }
    });
    int last = 0;
    while (last < kReports) {
        const ProgressReport report = progress.ReadProgress();
        ASSERT_GE(report.percent, last);
        if (report.percent > 0) {
            // Message and percent always belong to the same report.
            EXPECT_TRUE(report.message == u"destination path long enough for the heap " + IntToWString(report.percent, 10));
        }
        last = report.percent;
    }
    worker.join();
    EXPECT_EQ(wakeUps.load(), kReports);
}

}  // namespace
