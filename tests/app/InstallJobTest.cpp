// The installation job as the worker runs it: a real kit unpacked into a
// scratch temporary directory and installed into a scratch template directory.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/InstallFixture.h"
#include "app/InstallJob.h"
#include "app/InstallTransaction.h"
#include "app/ProgressState.h"
#include "l10n/Messages.h"
#include "platform/File.h"
#include "platform/SystemPath.h"

// Entries' times are set through this test's futimens: a test can hold a
// thread inside an entry, or fail the entry there.
namespace {
std::function<int(bool onTestThread)> gTimeHook;  // nonzero: fail with EIO
const std::thread::id gTestThread = std::this_thread::get_id();
}  // namespace

extern "C" int futimens(int descriptor, const struct timespec times[2]) {
    if (gTimeHook && gTimeHook(std::this_thread::get_id() == gTestThread) != 0) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(syscall(SYS_utimensat, descriptor, nullptr, times, 0));
}

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

// The first run creates, replaces an older file and keeps a newer one; the
// second finds everything up to date and touches nothing.
TEST_F(InstallJobTest, InstallsWithTheKitsTimesAndAgainTouchesNothing) {
    AddFile("Accounting\\invoice.tpl", "invoice v2");
    AddFile("Reports\\monthly\\summary.tpl", "summary");
    AddFile("empty.tpl", "");
    AddFile("dir\\b.tpl", "kit b");
    UserFile("Accounting/invoice.tpl", "invoice v1", kKitSeconds - 100);
    UserFile("dir/b.tpl", "user's newer b", kKitSeconds + 50);
    OpenKit();
    EXPECT_EQ(Run(target_), ERR_NONE);
    EXPECT_EQ(scratch::ReadBytes(target_ + "Accounting/invoice.tpl"), "invoice v2");
    EXPECT_EQ(scratch::ReadBytes(target_ + "Reports/monthly/summary.tpl"), "summary");
    EXPECT_EQ(scratch::ReadBytes(target_ + "empty.tpl"), "");
    EXPECT_EQ(scratch::ReadBytes(target_ + "dir/b.tpl"), "user's newer b");
    struct stat before {};
    ASSERT_EQ(stat((target_ + "Accounting/invoice.tpl").c_str(), &before), 0);
    EXPECT_EQ(before.st_mtim.tv_sec, kKitSeconds);
    EXPECT_EQ(before.st_mtim.tv_nsec, 456789100);  // to the precision the file system keeps
    EXPECT_EQ(before.st_mode & 07777, 0604u);     // the replaced file's permissions stay
    EXPECT_EQ(ModifiedSeconds("Reports/monthly/summary.tpl"), kKitSeconds);
    ProgressReport report = progress_.ReadProgress();
    EXPECT_EQ(report.percent, 100);
    EXPECT_TRUE(report.message == LoadResString("IDS_INSTALL_FINISH"));
    EXPECT_EQ(report.counts.written, 3u);
    EXPECT_EQ(report.counts.replaced, 1u);
    EXPECT_EQ(report.counts.upToDate, 1u);
    ExpectOnlyImageInTemp();

    const scratch::TreeState first = scratch::Snapshot(target_);
    ASSERT_EQ(Run(target_), ERR_NONE);
    report = progress_.ReadProgress();
    EXPECT_EQ(report.percent, 100);
    EXPECT_EQ(report.counts.written, 0u);  // the second run's own counts
    EXPECT_EQ(report.counts.upToDate, 4u);
    struct stat after {};
    ASSERT_EQ(stat((target_ + "Accounting/invoice.tpl").c_str(), &after), 0);
    EXPECT_EQ(scratch::Snapshot(target_), first);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    ExpectOnlyImageInTemp();
}

// A file-size limit cuts the third of ten entries short: an ordinary write
// error, never a truncated file under its name. Into a directory whose
// parents are new, the nearest existing one gets its time back too.
TEST_F(InstallJobTest, FailureOnAMiddleEntryRollsBackToTheExactEarlierTree) {
    for (int i = 0; i < 10; ++i) {
        AddFile("set\\file" + std::to_string(i) + ".tpl", std::string(i == 2 ? 70000 : 100, char('a' + i)));
    }
    UserFile("set/file0.tpl", "old 0", kKitSeconds - 10);
    UserFile("set/file2.tpl", "old 2", kKitSeconds - 10);
    scratch::SetTime(target_, 1100000000, 5);
    const scratch::TreeState before = scratch::Snapshot(target_);
    OpenKit();
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{65536, limit.rlim_max};
    for (const std::string& target : {target_, target_ + "new/deeper/"}) {
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const ErrorCode result = Run(target);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        EXPECT_NE(result, ERR_NONE) << target;
        const ProgressReport report = progress_.ReadProgress();
        EXPECT_EQ(report.status, result);
        EXPECT_EQ(report.percent, 20);
        EXPECT_TRUE(report.message == LoadResString("IDS_INSTALL_ERROR"));
        EXPECT_TRUE(report.keptBackup.empty());
        EXPECT_EQ(scratch::Snapshot(target_), before) << target;
        ExpectOnlyImageInTemp();
    }
    std::signal(SIGXFSZ, previous);
}

// Cancel pressed half-way stops after the entry in hand (the bar stays
// there); pressed during the last entry, it still leaves the tree as it was.
TEST_F(InstallJobTest, CancellationStopsAfterTheEntryInHandAndRollsBack) {
    for (int i = 0; i < 20; ++i) AddFile("many\\f" + std::to_string(i) + ".tpl", std::string(1000, 'x'));
    UserFile("many/f3.tpl", "user's f3", kKitSeconds - 10);
    const scratch::TreeState before = scratch::Snapshot(target_);
    OpenKit();
    for (const auto& [pressedAt, endsAt] : {std::pair{50, 55}, std::pair{95, 100}}) {
        SCOPED_TRACE(pressedAt);
        progress_.SetWakeUp([this, at = pressedAt] {
            if (progress_.ReadProgress().percent == at) progress_.RequestCancel();
        });
        EXPECT_EQ(Run(target_), ERR_CANCELLED);
        const ProgressReport report = progress_.ReadProgress();
        EXPECT_EQ(report.status, ERR_CANCELLED);
        EXPECT_EQ(report.percent, endsAt);
        EXPECT_TRUE(report.message == LoadResString("IDS_CANCEL_FINISH"));
        EXPECT_EQ(scratch::Snapshot(target_), before);
        ExpectOnlyImageInTemp();
    }
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

// Waits up to ten seconds for `done`.
bool Await(const std::function<bool()>& done) {
    for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

// Renames into the folders (new files put in place) seen through inotify.
class RenameCounter {
public:
    explicit RenameCounter(std::initializer_list<std::string> folders) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const std::string& folder : folders) EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO), 0);
    }
    ~RenameCounter() { close(fd_); }
    int Count() {
        alignas(inotify_event) char buffer[65536];
        int count = 0;
        for (ssize_t got; (got = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                count += std::string(event->name).rfind(".qorn~", 0) != 0;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return count;
    }

private:
    int fd_;
};

// 64 entries, a chunk of 32 (a/, then b/) for each of the two threads. The
// helper thread is held inside its first entry until the worker (this
// thread, which reports) has stopped the run: by a failure of its second
// entry, or by the user's cancel, after which the helper's entry fails too.
// Either way the helper ends with the entry in hand, and the first stop's
// code is the run's.
TEST_F(InstallJobTest, AfterAStopTheOtherThreadEndsWithItsEntryInHandAndTheFirstStopDecides) {
    for (int i = 0; i < 64; ++i) AddFile((i < 32 ? "a\\t" : "b\\t") + std::to_string(i), "kit");
    scratch::MakeDirectories(target_ + "a");
    scratch::MakeDirectories(target_ + "b");
    OpenKit();
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "failed");
        std::atomic<bool> held{false};
        std::atomic<int> workerEntries{0};
        gTimeHook = [&](bool onTestThread) {
            if (onTestThread) return !cancel && ++workerEntries == 2 ? 1 : 0;
            if (held.exchange(true)) return 0;
            EXPECT_TRUE(Await([this] { return progress_.ReadProgress().counts.written > 0; }));
            return cancel ? 1 : 0;
        };
        progress_.SetWakeUp([&, once = std::make_shared<std::atomic<bool>>(false)] {
            if (once->exchange(true)) return;
            EXPECT_TRUE(Await([&] { return held.load(); }));
            if (cancel) progress_.RequestCancel();
        });
        RenameCounter renames({target_ + "a", target_ + "b"});
        const ErrorCode result = Run(target_);
        gTimeHook = nullptr;
        // The worker's one or two entries, and the helper's one unless it failed.
        EXPECT_EQ(renames.Count(), 2);
        EXPECT_EQ(result, cancel ? ERR_CANCELLED : ErrorFromErrno(EIO));
        EXPECT_EQ(scratch::Names(target_), (std::vector<std::string>{"a", "b"}));
        ExpectOnlyImageInTemp();
    }
}

}  // namespace
