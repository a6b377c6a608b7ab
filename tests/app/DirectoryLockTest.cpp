// Which runs go side by side: the lock is on the very directory, by its path, whether or not it exists yet.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/InstallFixture.h"
#include "app/InstallTransaction.h"
#include "app/Recovery.h"

namespace {

using namespace scratch;

struct DirectoryLockTest : InstallFixture {
    void SetUp() override {
        InstallFixture::SetUp();
        AddFile("a.tpl", "kit");
        OpenKit();
        MakeDirectories(env_ / "x");  // nothing below it exists yet
    }
};

TEST_F(DirectoryLockTest, RunsOnSiblingsGoSideBySideAndNestedOnesAreRefused) {
    // (the first run's directory, the second's, the second's plan while the first lives)
    const std::tuple<const char*, const char*, ErrorCode> cases[] = {
        {"x/t1", "x/t2", ERR_NONE}, {"x/t1", "x/t10", ERR_NONE}, {"x/t1", "x/t1/", ERR_BUSY}, {"x", "x/../x", ERR_BUSY},
        {"x/t1", "x", ERR_NESTED_BUSY}, {"x", "x/t1", ERR_NESTED_BUSY}, {"x/t1", "x/t1/deep/er", ERR_NESTED_BUSY}};
    for (const auto& [first, second, planned] : cases) {
        SCOPED_TRACE(std::string(first) + " then " + second);
        {
            InstallTransaction run;
            ASSERT_EQ(run.Plan(Wide(env_ / first), kit_.entries), ERR_NONE);
            ASSERT_EQ(run.Begin(), ERR_NONE);  // the new directory is made, and stays locked
            EXPECT_EQ(InstallTransaction().Plan(Wide(env_ / second), kit_.entries), planned);
            run.Rollback();
        }
        EXPECT_EQ(InstallTransaction().Plan(Wide(env_ / second), kit_.entries), ERR_NONE);  // gone with its run
    }
}

// A start's recovery takes the directory's lock as a run does. A run into a dead run's directory, or one inside
// it, waits for a start that holds the dead run's journal; then it undoes the dead run itself, or, inside it,
// refuses: either way it never counts the dead run's files as its own.
TEST_F(DirectoryLockTest, ARunAndARecoveringStartNeverShareADeadRunsDirectory) {
    for (const auto& [below, planned] : {std::pair{"", ERR_NONE}, std::pair{"sub", ERR_BUSY}}) {
        {
            InstallTransaction dead;
            ASSERT_EQ(dead.Plan(Wide(env_ / "x/new"), kit_.entries), ERR_NONE);
            ASSERT_EQ(dead.Begin(), ERR_NONE);
            ImageEntryData data(kit_, {kit_.copyBuffer.get(), kit_.copyBufferSize});
            ASSERT_EQ(dead.Install(data, 0), ERR_NONE);
        }  // killed: its journal stays, unlocked
        const std::vector<std::string> journals = Names(JournalFolderPath());
        ASSERT_EQ(journals.size(), 1u);
        {
            DirectoryLock installing;
            ASSERT_EQ(installing.Acquire(LockFolder(), CanonicalDirectory(env_ / "x", "new")), ERR_NONE);
            EXPECT_TRUE(RecoverDeadRuns(JournalFolderPath(), std::string()).empty());
            EXPECT_EQ(Names(JournalFolderPath()), journals);
        }
        const int held = open((JournalFolderPath() + "/" + journals[0]).c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_EQ(flock(held, LOCK_EX), 0);
        std::thread recovering([held] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            close(held);
        });
        InstallTransaction next;
        EXPECT_EQ(next.Plan(Wide(env_ / "x/new/" + below), kit_.entries), planned) << below;
        recovering.join();
        if (planned == ERR_NONE) {
            EXPECT_EQ(next.ActionOf(0), EntryAction::Create);
            EXPECT_TRUE(Names(JournalFolderPath()).empty());
        }
        RemoveTree(Wide(JournalFolderPath()));
        RemoveTree(Wide(env_ / "x/new"));
    }
}

}  // namespace
