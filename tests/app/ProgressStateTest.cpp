// The record shared by the user-interface thread and the worker.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CaseName.h"

#include "app/ProgressState.h"
#include "kit/KitReader.h"

namespace {

struct TargetCase {
    const char* name;
    const char16_t* target;
    const char16_t* jobTarget;
    friend void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.name; }
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
                         testing::Values(TargetCase{"without_separator", u"/home/u/t", u"/home/u/t/"},
                                         TargetCase{"with_separator", u"/home/u/t/", u"/home/u/t/"},
                                         TargetCase{"with_backslash", u"C:\\t\\", u"C:\\t\\"},
                                         TargetCase{"empty", u"", u""}),
                         CaseName<TargetCase>);

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
            // A second report of the same percentage only changes the message: no wake-up.
            progress.PostProgress(ERR_NONE, u"destination path long enough for the heap " + IntToWString(i, 10), i);
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

TEST(ProgressStateTest, WaitForEndWakesWhenTheWorkerEndsTheJob) {
    ProgressState progress;
    KitReader kit;
    progress.StartJob(kit, u"/t");
    std::thread worker([&] {
        for (int i = 0; i <= 100; ++i) progress.PostProgress(ERR_NONE, u"", i);
    });
    // A generous limit: the test fails by its answer, never by being slow.
    EXPECT_TRUE(progress.WaitForEnd(30000));
    EXPECT_EQ(progress.ReadProgress().percent, 100);
    worker.join();
}

}  // namespace
