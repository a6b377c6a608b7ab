// The transaction against a real kit and scratch directories: what the plan
// decides for each kind of destination, where the backup goes, what a
// rollback can and cannot give back, and what a later start does with the
// journal of a run that died.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/InstallFixture.h"
#include "app/InstallJournal.h"
#include "app/InstallTransaction.h"
#include "app/Recovery.h"

namespace {

using namespace scratch;
using Listing = std::vector<std::string>;

class InstallTransactionTest : public InstallFixture {
protected:
    // Every folder gets an old time of its own, as a real tree has.
    void AgeFolders() {
        for (const auto& [relative, entry] : Snapshot(target_)) {
            if (S_ISDIR(entry.mode)) SetTime(target_ + relative, 1100000000, 5);
        }
    }

    // Plans, begins and installs the first `count` entries.
    void InstallFirst(InstallTransaction& tx, std::size_t count) {
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), ERR_NONE);
        ASSERT_EQ(tx.Begin(), ERR_NONE);
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(tx.Install(kit_, i, {kit_.copyBuffer.get(), kit_.copyBufferSize}), ERR_NONE) << i;
        }
    }
};

struct Obstacle {
    const char* name;
    std::function<void(const std::string& path)> make;
    ErrorCode planned;
    EntryAction action;
};

TEST_F(InstallTransactionTest, PlanJudgesEachDestinationWithoutChangingOrOpeningIt) {
    const Obstacle cases[] = {
        {"nothing", [](const std::string&) {}, ERR_NONE, EntryAction::Create},
        {"older file", [](const std::string& p) { WriteBytes(p, "old"); SetTime(p, kKitSeconds - 1, 999999999); },
         ERR_NONE, EntryAction::Replace},
        {"same second, earlier fraction", [](const std::string& p) { WriteBytes(p, "x"); SetTime(p, kKitSeconds); },
         ERR_NONE, EntryAction::Skip},
        {"newer file", [](const std::string& p) { WriteBytes(p, "mine"); SetTime(p, kKitSeconds + 60); },
         ERR_NONE, EntryAction::Skip},
        {"link to an older file",
         [](const std::string& p) {
             WriteBytes(p + ".real", "old");
             SetTime(p + ".real", 1000);
             ASSERT_EQ(symlink((p + ".real").c_str(), p.c_str()), 0);
         },
         ERR_NONE, EntryAction::Replace},
        {"directory", [](const std::string& p) { MakeDirectories(p + "/inside"); }, ERR_INVALID_PARAMETER,
         EntryAction::Skip},
        {"named pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, ERR_INVALID_PARAMETER,
         EntryAction::Skip},
        {"socket",
         [](const std::string& p) {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             ASSERT_LT(p.size(), sizeof address.sun_path);
             p.copy(address.sun_path, p.size());
             const int s = socket(AF_UNIX, SOCK_STREAM, 0);
             ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             close(s);
         },
         ERR_INVALID_PARAMETER, EntryAction::Skip},
    };
    AddFile("d\\t", "kit's");
    OpenKit();
    for (const Obstacle& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(target_));
        MakeDirectories(target_ + "d");
        c.make(target_ + "d/t");
        const TreeState before = Snapshot(target_);
        InstallTransaction tx;
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), c.planned);
        if (c.planned == ERR_NONE) {
            EXPECT_EQ(tx.ActionOf(0), c.action);
        }
        EXPECT_EQ(Snapshot(target_), before);
    }
}

TEST_F(InstallTransactionTest, FileWhereAFolderMustBeIsAnObstacleFoundByThePlan) {
    AddFile("a\\b\\c.tpl", "x");
    OpenKit();
    WriteBytes(target_ + "a", "a file");
    InstallTransaction tx;
    EXPECT_EQ(tx.Plan(Wide(target_), kit_.entries), ERR_INVALID_PARAMETER);
}

TEST_F(InstallTransactionTest, RollbackKeepsTheBackupWhenAnOriginalCannotGoBack) {
    AddFile("blocked.tpl", "new");
    AddFile("created\\file.tpl", "created");
    OpenKit();
    UserFile("blocked.tpl", "user's", 1000);
    InstallTransaction tx;
    InstallFirst(tx, 2);
    ASSERT_EQ(unlink((target_ + "blocked.tpl").c_str()), 0);
    MakeDirectories(target_ + "blocked.tpl/in-the-way");  // something else took the file's place
    const RollbackOutcome outcome = tx.Rollback();
    EXPECT_FALSE(outcome.originalsRestored);
    EXPECT_EQ(outcome.keptBackup, tx.backupFolder());
    EXPECT_EQ(ReadBytes(outcome.keptBackup + "blocked.tpl"), "user's");
    EXPECT_FALSE(Exists(target_ + "created"));
    EXPECT_EQ(Names(JournalFolderPath()), Listing{});
}

// A run that ends without commit or rollback (its object gone, its lock with
// it) is a dead run: the next start puts everything back.
TEST_F(InstallTransactionTest, NextStartUndoesADeadRunAtAnyPointAndLeavesLiveRunsAlone) {
    for (int i = 0; i < 6; ++i) AddFile("set\\f" + std::to_string(i) + ".tpl", "new " + std::to_string(i));
    AddFile("fresh\\deep\\g.tpl", "created");
    OpenKit();
    UserFile("set/f1.tpl", "old 1", 1000);
    UserFile("set/f4.tpl", "old 4", 1000);
    AgeFolders();
    const TreeState before = Snapshot(target_);
    for (std::size_t done : {std::size_t{0}, std::size_t{3}, kit_.entries.size()}) {
        SCOPED_TRACE(done);
        {
            InstallTransaction live;
            InstallFirst(live, done);
            EXPECT_TRUE(RecoverDeadRuns(JournalFolderPath(), env_.temp()).empty());
            EXPECT_EQ(Names(JournalFolderPath()).size(), 1u);
        }  // dies here
        WriteBytes(env_.temp() + "/edf-dead", "an image nobody holds");
        const std::vector<RecoveredRun> runs = RecoverDeadRuns(JournalFolderPath(), env_.temp());
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].target, target_);
        EXPECT_EQ(runs[0].keptBackup, "");
        EXPECT_EQ(Snapshot(target_), before);
        EXPECT_EQ(Names(JournalFolderPath()), Listing{});
        EXPECT_EQ(Names(env_.temp()), Listing{Narrow(kit_.tempPath).substr(env_.temp().size() + 1)});
    }
}

// A journal cut short anywhere reads as a prefix of its records. A run that
// died after its commit mark, before its backup went, is done: the next start
// keeps what it installed, drops the backup and says nothing.
TEST_F(InstallTransactionTest, JournalCutShortIsAPrefixAndACommittedDeadRunStaysInstalled) {
    const std::string backup = env_.temp() + "/xorup0/";
    UserFile("a\nb", "installed", kKitSeconds);
    MakeDirectories(backup);
    WriteBytes(backup + "a\nb", "original");
    const TreeState installed = Snapshot(target_);
    std::string bytes;
    {
        InstallJournal journal;
        ASSERT_TRUE(journal.Create(JournalFolderPath()));
        journal.Target(target_, "tag");
        journal.Backup(backup);
        journal.CreatedDir(target_ + "new");
        journal.File({target_ + "a\nb", 7, true});
        journal.FolderTime({target_, 5, 6});
        journal.PlanComplete();
        ASSERT_TRUE(journal.MarkCommitted());
        bytes = ReadBytes(journal.path());
    }
    const JournalContent whole = ParseJournal(bytes);
    ASSERT_TRUE(whole.committed);
    ASSERT_EQ(whole.files.size(), 1u);
    EXPECT_EQ(whole.files[0].path, target_ + "a\nb");
    EXPECT_EQ(whole.files[0].index, 7u);
    EXPECT_EQ(whole.folderTimes[0].nanoseconds, 6);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const JournalContent cut = ParseJournal(bytes.substr(0, length));
        EXPECT_FALSE(cut.committed) << length;
        EXPECT_LE(cut.files.size(), 1u);
        if (cut.planned) {
            EXPECT_EQ(cut.files.size(), 1u) << length;
        }
    }
    EXPECT_TRUE(RecoverDeadRuns(JournalFolderPath(), env_.temp()).empty());
    EXPECT_EQ(Snapshot(target_), installed);
    EXPECT_FALSE(Exists(backup));
    EXPECT_EQ(Names(JournalFolderPath()), Listing{});
}

}  // namespace
