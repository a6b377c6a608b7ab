// The installation job as the worker runs it: a real kit unpacked into a
// scratch temporary directory and installed into a scratch template directory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/InstallFixture.h"
#include "app/InstallJob.h"
#include "app/InstallTransaction.h"
#include "app/ProgressState.h"
#include "app/WorkerThread.h"
#include "l10n/Messages.h"
#include "platform/File.h"

namespace {

using scratch::kKitSeconds;
using scratch::Narrow;
using scratch::Wide;

class InstallJobTest : public scratch::InstallFixture {
protected:
    ErrorCode Run(const std::string& target) {
        progress_.StartJob(kit_, Wide(target));
        InstallTransaction transaction;
        return RunInstallJob(transaction, progress_);
    }

    // No backup directory and no journal are left; only the unpacked image remains.
    void ExpectOnlyImageInTemp() {
        for (const std::string& name : scratch::Names(env_.temp())) {
            EXPECT_EQ(name.rfind(kImagePrefix, 0), 0u) << name;
        }
        EXPECT_EQ(scratch::Names(JournalFolderPath()), std::vector<std::string>{});
        EXPECT_EQ(scratch::Names(env_.root()), (std::vector<std::string>{"Templates", "home", "qorn.efd", "tmp"}));
    }

    std::int64_t ModifiedSeconds(const std::string& relative) {
        struct stat status {};
        EXPECT_EQ(stat((target_ + relative).c_str(), &status), 0) << relative;
        return status.st_mtim.tv_sec;
    }

    ProgressState progress_;
};

TEST_F(InstallJobTest, EmptyKitCommitsAtOnceAndReportsTheEnd) {
    OpenKit();
    EXPECT_EQ(Run(target_), ERR_NONE);
    const ProgressReport report = progress_.ReadProgress();
    EXPECT_EQ(report.status, ERR_NONE);
    EXPECT_EQ(report.percent, 100);
    EXPECT_TRUE(report.message == LoadResString("IDS_INSTALL_FINISH"));
    ExpectOnlyImageInTemp();
}

TEST_F(InstallJobTest, InstallsNestedEntriesWithTheirTimesAndReplacesOlderFiles) {
    AddFile("Accounting\\invoice.tpl", "invoice v2");
    AddFile("Reports\\monthly\\summary.tpl", "summary");
    AddFile("empty.tpl", "");
    UserFile("Accounting/invoice.tpl", "invoice v1", kKitSeconds - 100);
    OpenKit();

    EXPECT_EQ(Run(target_), ERR_NONE);
    EXPECT_EQ(scratch::ReadBytes(target_ + "Accounting/invoice.tpl"), "invoice v2");
    EXPECT_EQ(scratch::ReadBytes(target_ + "Reports/monthly/summary.tpl"), "summary");
    EXPECT_EQ(scratch::ReadBytes(target_ + "empty.tpl"), "");
    EXPECT_EQ(ModifiedSeconds("Accounting/invoice.tpl"), kKitSeconds);
    struct stat status {};
    ASSERT_EQ(stat((target_ + "Accounting/invoice.tpl").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtim.tv_nsec, 456789100);  // to the precision the file system keeps
    EXPECT_EQ(status.st_mode & 07777, 0604u);     // the replaced file's permissions stay
    EXPECT_EQ(ModifiedSeconds("Reports/monthly/summary.tpl"), kKitSeconds);
    const ProgressReport report = progress_.ReadProgress();
    EXPECT_EQ(report.percent, 100);
    EXPECT_EQ(report.counts.written, 3u);
    EXPECT_EQ(report.counts.replaced, 1u);
    EXPECT_EQ(report.counts.upToDate, 0u);
    ExpectOnlyImageInTemp();
}

TEST_F(InstallJobTest, ReinstallationTouchesNoFileAndNewerFilesKeepTheirContent) {
    AddFile("a.tpl", "kit a");
    AddFile("dir\\b.tpl", "kit b");
    UserFile("dir/b.tpl", "user's newer b", kKitSeconds + 50);
    OpenKit();
    ASSERT_EQ(Run(target_), ERR_NONE);
    EXPECT_EQ(progress_.ReadProgress().counts.written, 1u);
    EXPECT_EQ(progress_.ReadProgress().counts.upToDate, 1u);
    const scratch::TreeState first = scratch::Snapshot(target_);
    struct stat before {};
    ASSERT_EQ(stat((target_ + "a.tpl").c_str(), &before), 0);

    ASSERT_EQ(Run(target_), ERR_NONE);
    // The counts are the second run's own: nothing written, everything up to date.
    EXPECT_EQ(progress_.ReadProgress().counts.written, 0u);
    EXPECT_EQ(progress_.ReadProgress().counts.upToDate, 2u);
    struct stat after {};
    ASSERT_EQ(stat((target_ + "a.tpl").c_str(), &after), 0);
    EXPECT_EQ(scratch::Snapshot(target_), first);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_EQ(scratch::ReadBytes(target_ + "dir/b.tpl"), "user's newer b");
    ExpectOnlyImageInTemp();
}

// A file-size limit cuts the third of ten entries short: an ordinary write
// error, never a truncated file under its name.
TEST_F(InstallJobTest, FailureOnAMiddleEntryRollsBackToTheExactEarlierTree) {
    for (int i = 0; i < 10; ++i) {
        AddFile("set\\file" + std::to_string(i) + ".tpl", std::string(i == 2 ? 70000 : 100, char('a' + i)));
    }
    UserFile("set/file0.tpl", "old 0", kKitSeconds - 10);
    UserFile("set/file2.tpl", "old 2", kKitSeconds - 10);
    const scratch::TreeState before = scratch::Snapshot(target_);
    OpenKit();
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{65536, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const ErrorCode result = Run(target_);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::signal(SIGXFSZ, previous);

    EXPECT_NE(result, ERR_NONE);
    const ProgressReport report = progress_.ReadProgress();
    EXPECT_EQ(report.status, result);
    EXPECT_EQ(report.percent, 20);
    EXPECT_TRUE(report.message == LoadResString("IDS_INSTALL_ERROR"));
    EXPECT_TRUE(report.keptBackup.empty());
    EXPECT_EQ(scratch::Snapshot(target_), before);
    ExpectOnlyImageInTemp();
}

TEST_F(InstallJobTest, CancellationStopsAfterTheEntryInHandAndRollsBack) {
    for (int i = 0; i < 20; ++i) AddFile("many\\f" + std::to_string(i) + ".tpl", std::string(1000, 'x'));
    UserFile("many/f3.tpl", "user's f3", kKitSeconds - 10);
    const scratch::TreeState before = scratch::Snapshot(target_);
    OpenKit();
    // The user presses Cancel once half of the entries are done.
    progress_.SetWakeUp([this] {
        if (progress_.ReadProgress().percent >= 50) progress_.RequestCancel();
    });

    EXPECT_EQ(Run(target_), ERR_CANCELLED);
    const ProgressReport report = progress_.ReadProgress();
    EXPECT_EQ(report.status, ERR_CANCELLED);
    EXPECT_TRUE(report.message == LoadResString("IDS_CANCEL_FINISH"));
    EXPECT_EQ(scratch::Snapshot(target_), before);
    ExpectOnlyImageInTemp();
}

// Enough entries for both installing threads, in ten folders; every seventh
// file exists in an older version, and one name is listed twice.
class ManyEntriesTest : public InstallJobTest {
protected:
    void SetUp() override {
        InstallJobTest::SetUp();
        for (int i = 0; i < 300; ++i) {
            const std::string relative = Relative(i);
            AddFile(Backslashed(relative), "kit " + std::to_string(i));
            if (i % 7 == 0) UserFile(relative, "user " + std::to_string(i), kKitSeconds - 10);
        }
        // The earlier entry is newer: the later one, installed after it, would not replace it.
        const FileTime newer = FileTime::fromValue(source_.files[3].lastWriteTime.value() + 50000000);
        source_.files[3] = {Wide("f0\\twice.tpl"), newer, "first", WString()};
        source_.files[290] = {Wide("f0\\twice.tpl"), source_.files[290].lastWriteTime, "last", WString()};
        UserFile("f0/twice.tpl", "user's twice", kKitSeconds - 10);
    }

    // "f<i mod 10>/t<i>.tpl", built by appending: GCC 12 at -O3 warns falsely
    // (-Wrestrict) about `"f" + std::to_string(...)`.
    static std::string Relative(int i) {
        std::string relative = "f";
        relative += std::to_string(i % 10);
        relative += "/t";
        relative += std::to_string(i);
        relative += ".tpl";
        return relative;
    }

    static std::string Backslashed(std::string name) {
        name[name.find('/')] = '\\';
        return name;
    }
};

TEST_F(ManyEntriesTest, InstallLikeOneThreadInKitOrder) {
    OpenKit();
    ASSERT_EQ(Run(target_), ERR_NONE);
    for (int i = 0; i < 300; ++i) {
        if (i == 3 || i == 290) continue;  // twice.tpl
        const std::string relative = Relative(i);
        EXPECT_EQ(scratch::ReadBytes(target_ + "" + relative), "kit " + std::to_string(i)) << relative;
    }
    EXPECT_EQ(scratch::ReadBytes(target_ + "f0/twice.tpl"), "first");
    const ProgressReport report = progress_.ReadProgress();
    EXPECT_EQ(report.counts.written, 299u);  // the name listed twice is one file
    EXPECT_EQ(report.counts.replaced, 44u);  // the 43 older files and twice.tpl
    ExpectOnlyImageInTemp();
}

// The unpacked image ends inside one entry: whichever thread meets it, the
// run stops and everything either thread did is undone.
TEST_F(ManyEntriesTest, DamageMetByEitherThreadRollsBackEverything) {
    const scratch::TreeState before = scratch::Snapshot(target_);
    OpenKit();
    for (const std::size_t damaged : {std::size_t{5}, std::size_t{40}, std::size_t{299}}) {
        ASSERT_EQ(truncate(Narrow(kit_.tempPath).c_str(), kit_.entries[damaged].offset + 1), 0);
        EXPECT_EQ(Run(target_), ERR_INVALID_DATA) << damaged;
        EXPECT_EQ(scratch::Snapshot(target_), before) << damaged;
        ExpectOnlyImageInTemp();
    }
}

TEST_F(InstallJobTest, WorkerThreadRunsTheJobOnceAndIsJoined) {
    AddFile("t\\one.tpl", "one");
    OpenKit();
    progress_.StartJob(kit_, Wide(target_));
    {
        WorkerThread worker;
        ASSERT_EQ(worker.StartWorker(progress_), 0);
        EXPECT_EQ(worker.createResult(), 0);
    }  // the destructor waits for the job
    EXPECT_EQ(progress_.ReadProgress().percent, 100);
    EXPECT_EQ(scratch::ReadBytes(target_ + "t/one.tpl"), "one");
}

}  // namespace
