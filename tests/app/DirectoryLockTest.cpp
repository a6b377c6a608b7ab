// Which runs go side by side: the lock is on the very directory, by its path, whether or not it exists yet.
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/InstallFixture.h"
#include "app/InstallTransaction.h"
#include "app/Recovery.h"

namespace {

using namespace scratch;

class DirectoryLockTest : public InstallFixture {
protected:
    void SetUp() override {
        InstallFixture::SetUp();
        AddFile("a.tpl", "kit");
        OpenKit();
        MakeDirectories(env_ / "x");
    }
};

TEST_F(DirectoryLockTest, RunsOnSiblingsGoSideBySideAndNestedOnesAreRefused) {
    const struct Case {
        const char* first;  // below the scratch root; only "x" exists
        const char* second;
        ErrorCode planned;  // the second run's plan while the first lives
    } cases[] = {
        {"x/t1", "x/t2", ERR_NONE},
        {"x/t1", "x/t1/", ERR_BUSY},
        {"x/t1", "x", ERR_NESTED_BUSY},
        {"x", "x/t1", ERR_NESTED_BUSY},
        {"x/t1", "x/t1/deep/er", ERR_NESTED_BUSY},
        {"x", "x/../x", ERR_BUSY},
        {"x/t1", "x/t10", ERR_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " then " + c.second);
        {
            InstallTransaction first;
            ASSERT_EQ(first.Plan(Wide(env_ / c.first), kit_.entries), ERR_NONE);
            ASSERT_EQ(first.Begin(), ERR_NONE);  // the new directory is made, and stays locked
            InstallTransaction second;
            EXPECT_EQ(second.Plan(Wide(env_ / c.second), kit_.entries), c.planned);
            first.Rollback();
        }
        // Gone with its run: the next one goes.
        EXPECT_EQ(InstallTransaction().Plan(Wide(env_ / c.second), kit_.entries), ERR_NONE);
    }
}

// A dead run's journal that another start holds (it settles it, or gives up on it) is waited for: the run into
// the same new directory undoes the dead run first and never counts the dead run's files as its own.
TEST_F(DirectoryLockTest, ARunWaitsForTheStartThatHoldsADeadRunsJournal) {
    const std::string target = env_ / "x/new/";
    {
        InstallTransaction dead;
        ASSERT_EQ(dead.Plan(Wide(target), kit_.entries), ERR_NONE);
        ASSERT_EQ(dead.Begin(), ERR_NONE);
        ASSERT_EQ(dead.Install(kit_, 0, {kit_.copyBuffer.get(), kit_.copyBufferSize}), ERR_NONE);
    }  // killed: its journal stays, unlocked
    const std::vector<std::string> journals = Names(JournalFolderPath());
    ASSERT_EQ(journals.size(), 1u);
    {
        // A start's recovery takes the directory's lock as a run does: held elsewhere, the journal waits.
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
    EXPECT_EQ(next.Plan(Wide(target), kit_.entries), ERR_NONE);
    recovering.join();
    EXPECT_EQ(next.ActionOf(0), EntryAction::Create);
    EXPECT_TRUE(Names(JournalFolderPath()).empty());
}

}  // namespace
