// The transaction on a real kit and scratch folders: the plan, the backup, rollback, and recovery.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
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
        {"socket", [](const std::string& p) { ASSERT_EQ(mknod(p.c_str(), S_IFSOCK | 0600, 0), 0); },
         ERR_INVALID_PARAMETER, EntryAction::Skip},
        {"a file where a folder two levels up must be",
         [](const std::string& p) {
             const std::string d = p.substr(0, p.size() - 4);
             RemoveTree(Wide(d));
             WriteBytes(d, "a file");
         },
         ERR_INVALID_PARAMETER, EntryAction::Skip},
    };
    AddFile("d\\e\\t", "kit's");
    OpenKit();
    for (const Obstacle& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(target_));
        MakeDirectories(target_ + "d/e");
        c.make(target_ + "d/e/t");
        const TreeState before = Snapshot(target_);
        InstallTransaction tx;
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), c.planned);
        if (c.planned == ERR_NONE) {
            EXPECT_EQ(tx.ActionOf(0), c.action);
        }
        EXPECT_EQ(Snapshot(target_), before);
    }
}

// Never in TMPDIR, which a boot may empty: beside the template directory,
// whatever file system TMPDIR is on.
TEST_F(InstallTransactionTest, BackupLiesBesideTheTemplateDirectoryNeverInTemp) {
    AddFile("old.tpl", "new");
    OpenKit();
    UserFile("old.tpl", "old", 1000);
    const std::string otherTemp = "/dev/shm/qorn-test-backup-" + std::to_string(getpid());
    ASSERT_EQ(mkdir(otherTemp.c_str(), 0700), 0);
    for (const std::string& temp : {env_.temp(), otherTemp}) {
        SCOPED_TRACE(temp);
        setenv("TMPDIR", temp.c_str(), 1);
        InstallTransaction tx;
        InstallFirst(tx, 1);
        EXPECT_EQ(tx.backupFolder(), env_.root() + "/.xorup0/");
        EXPECT_EQ(ReadBytes(tx.backupFolder() + "old.tpl"), "old");
        tx.Rollback();
        EXPECT_EQ(ReadBytes(target_ + "old.tpl"), "old");
        EXPECT_FALSE(Exists(tx.backupFolder()));
    }
    setenv("TMPDIR", env_.temp().c_str(), 1);
    rmdir(otherTemp.c_str());
    EXPECT_EQ(Names(env_.root()), (Listing{"Templates", "home", "qorn.efd", "tmp"}));
}

// The installed file's bits come from the file it replaces (never set-id
// bits) or, for a link or a new file, from the umask; never from a link.
TEST_F(InstallTransactionTest, InstalledModeNeverComesFromALinkNorKeepsSetIdBits) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        mode_t mode;
    };
    const Case cases[] = {
        {"new file", [](const std::string&) {}, 0640},
        {"setuid original", [](const std::string& p) { WriteBytes(p, "old"); ASSERT_EQ(chmod(p.c_str(), 06755), 0); },
         0755},
        {"link",
         [](const std::string& p) {
             WriteBytes(p + ".real", "old");
             SetTime(p + ".real", 1000);
             ASSERT_EQ(symlink("t.real", p.c_str()), 0);
         },
         0640},
    };
    AddFile("t", "kit's");
    OpenKit();
    const mode_t mask = umask(027);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(target_));
        MakeDirectories(target_);
        c.make(target_ + "t");
        if (Exists(target_ + "t")) SetTime(target_ + "t", 1000);
        InstallTransaction tx;
        InstallFirst(tx, 1);
        ASSERT_EQ(tx.Commit(), ERR_NONE);
        struct stat status {};
        ASSERT_EQ(lstat((target_ + "t").c_str(), &status), 0);
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_EQ(status.st_mode & 07777, c.mode);
    }
    umask(mask);
}

// A linked subfolder that was there at the plan is the user's and is
// followed; a folder swapped for a link afterwards stops the run, and
// nothing is written where the link leads.
TEST_F(InstallTransactionTest, OnlyLinksThePlanFoundAreFollowed) {
    AddFile("sub\\a.tpl", "kit's");
    OpenKit();
    const std::string elsewhere = env_ / "elsewhere";
    for (const bool linkedAtPlan : {true, false}) {
        SCOPED_TRACE(linkedAtPlan);
        RemoveTree(Wide(target_));
        RemoveTree(Wide(elsewhere));
        MakeDirectories(elsewhere);
        MakeDirectories(target_ + (linkedAtPlan ? "" : "sub"));
        if (linkedAtPlan) {
            ASSERT_EQ(symlink(elsewhere.c_str(), (target_ + "sub").c_str()), 0);
        }
        InstallTransaction tx;
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), ERR_NONE);
        ASSERT_EQ(tx.Begin(), ERR_NONE);
        if (!linkedAtPlan) {
            ASSERT_EQ(rmdir((target_ + "sub").c_str()), 0);
            ASSERT_EQ(symlink(elsewhere.c_str(), (target_ + "sub").c_str()), 0);
        }
        const ErrorCode code = tx.Install(kit_, 0, {kit_.copyBuffer.get(), kit_.copyBufferSize});
        EXPECT_EQ(code, linkedAtPlan ? ERR_NONE : ERR_PATH_NOT_FOUND);
        EXPECT_EQ(Names(elsewhere), linkedAtPlan ? Listing{"a.tpl"} : Listing{});
        if (linkedAtPlan) {
            tx.Rollback();
            EXPECT_EQ(Names(elsewhere), Listing{});
        }
    }
}

// One run per template directory: a second waits for none and refuses;
// another directory goes ahead; a dead run's journal for the directory is
// undone before the next run plans, so its files never count as the next run's.
TEST_F(InstallTransactionTest, OneRunPerDirectoryAndADeadOnesUndoFirst) {
    AddFile("set\\a.tpl", "new a");
    AddFile("b.tpl", "new b");
    OpenKit();
    UserFile("b.tpl", "old b", 1000);
    const TreeState before = Snapshot(target_);
    {
        InstallTransaction first;
        InstallFirst(first, 2);
        InstallTransaction second;
        EXPECT_EQ(second.Plan(Wide(target_), kit_.entries), ERR_BUSY);
        InstallTransaction elsewhere;
        EXPECT_EQ(elsewhere.Plan(Wide(env_ / "Other"), kit_.entries), ERR_NONE);
    }  // the first dies here
    std::string backup;
    {
        InstallTransaction next;
        ASSERT_EQ(next.Plan(Wide(target_), kit_.entries), ERR_NONE);
        EXPECT_EQ(Snapshot(target_), before);
        EXPECT_EQ(next.ActionOf(0), EntryAction::Create);
        EXPECT_EQ(Names(JournalFolderPath()), Listing{});
        ASSERT_EQ(next.Begin(), ERR_NONE);
        ASSERT_EQ(next.Install(kit_, 1, {kit_.copyBuffer.get(), kit_.copyBufferSize}), ERR_NONE);
        backup = next.backupFolder();
    }  // dies too; then the user edits the file it had replaced
    WriteBytes(target_ + "b.tpl", "edited");
    InstallTransaction last;
    EXPECT_EQ(last.Plan(Wide(target_), kit_.entries), ERR_EARLIER_RUN_KEPT);
    EXPECT_EQ(last.keptByEarlierRun(), backup);
    EXPECT_EQ(ReadBytes(backup + "b.tpl"), "old b");
    EXPECT_EQ(ReadBytes(target_ + "b.tpl"), "edited");
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
        // Only images this installer names so: a user's files that look alike stay.
        for (const char* name : {"qorn-setup-image-dead00", "edf_notes.txt", "recording.edf", "qorn-setup-image-x"}) {
            WriteBytes(env_.temp() + "/" + name, "nobody holds it");
        }
        const std::vector<RecoveredRun> runs = RecoverDeadRuns(JournalFolderPath(), env_.temp());
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].target, target_);
        EXPECT_EQ(runs[0].keptBackup, "");
        EXPECT_EQ(Snapshot(target_), before);
        EXPECT_EQ(Names(JournalFolderPath()), Listing{});
        Listing kept = {"edf_notes.txt", Narrow(kit_.tempPath).substr(env_.temp().size() + 1), "qorn-setup-image-x",
                        "recording.edf"};
        std::sort(kept.begin(), kept.end());  // the live image's name is random
        EXPECT_EQ(Names(env_.temp()), kept);
    }
}

// Recovery may come days after the crash: whatever changed since stays, and
// an original it would otherwise lose stays in the backup folder, named.
TEST_F(InstallTransactionTest, RecoveryUndoesOnlyWhatIsStillAsTheRunLeftIt) {
    struct Case {
        const char* name;
        std::function<void(const std::string& target, const std::string& backup)> change;
        const char* made;  // what "made.tpl" holds afterwards, "" for none
        const char* kept;  // what "kept.tpl" holds afterwards
        bool backupKept;
        bool settled = true;  // else the journal stays for the next start to finish
    };
    const Case cases[] = {
        {"nothing changed", [](const std::string&, const std::string&) {}, "", "old", false},
        {"the user wrote a file where the run made one",
         [](const std::string& t, const std::string&) { WriteBytes(t + "made.tpl", "user's"); }, "user's", "old", false},
        {"the user edited a replaced file",
         [](const std::string& t, const std::string&) { WriteBytes(t + "kept.tpl", "edited"); }, "", "edited", true},
        {"the backup is gone", [](const std::string&, const std::string& b) { ASSERT_EQ(unlink((b + "kept.tpl").c_str()), 0); },
         "", "kit kept", true},
        {"the backup is not whole",
         [](const std::string&, const std::string& b) { ASSERT_EQ(truncate((b + "kept.tpl").c_str(), 1), 0); }, "",
         "kit kept", true},
        {"something unforeseen in the backup",
         [](const std::string&, const std::string& b) { WriteBytes(b + "unforeseen", "x"); }, "", "old", false, false},
    };
    AddFile("made.tpl", "kit made");
    AddFile("kept.tpl", "kit kept");
    OpenKit();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(target_));
        UserFile("kept.tpl", "old", 1000);
        std::string backup;
        {
            InstallTransaction dead;
            InstallFirst(dead, 2);
            backup = dead.backupFolder();
        }
        c.change(target_, backup);
        const std::vector<RecoveredRun> runs = RecoverDeadRuns(JournalFolderPath(), env_.temp());
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(Exists(target_ + "made.tpl") ? ReadBytes(target_ + "made.tpl") : "", c.made);
        EXPECT_EQ(ReadBytes(target_ + "kept.tpl"), c.kept);
        EXPECT_EQ(runs[0].keptBackup, c.backupKept ? backup : "");
        EXPECT_EQ(Exists(backup), c.backupKept || !c.settled);
        RemoveTree(Wide(backup));
        EXPECT_EQ(Names(JournalFolderPath()).size(), c.settled ? 0u : 1u);
        RemoveTree(Wide(JournalFolderPath()));
    }
}

// A journal that fails a check is never acted on: set aside as "*.bad",
// reported once, and the next start goes on as if it were not there.
TEST_F(InstallTransactionTest, RecoverySetsAsideAJournalItCannotTrust) {
    const std::string victim = env_ / "victim";
    struct Case {
        const char* name;
        std::function<void(InstallJournal&)> write;
    };
    MakeDirectories(victim);
    // Each journal names real folders by their true identity: only the check of its case can refuse it.
    struct stat found {};
    const auto identity = [&found](const std::string& path) {
        EXPECT_EQ(stat(path.c_str(), &found), 0);
        return FolderIdentity{found.st_dev, found.st_ino};
    };
    const FolderIdentity target = identity(target_);
    const FolderIdentity victimFolder = identity(victim);
    const std::string anchor = target_.substr(0, target_.size() - 1);
    const Case cases[] = {
        {"an older kind of journal", [](InstallJournal&) {}},
        {"a backup that is not the installer's",
         [&](InstallJournal& j) {
             j.Target(target_, "1", anchor, target);
             j.Backup(victim + "/", victimFolder);
             j.File({"f", 0, true, {}, {}});
         }},
        {"a path leading out", [&](InstallJournal& j) {
             j.Target(target_, "1", anchor, target);
             j.File({"../victim/f", 0, false, {}, {}});
         }},
        {"a target that is not below its anchor", [&](InstallJournal& j) { j.Target(target_, "1", victim, victimFolder); }},
        {"a directory that is not the one it names", [&](InstallJournal& j) {
             j.Target(target_, "1", anchor, {target.device, target.inode + 1});
             j.File({"f", 0, false, {}, {}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeDirectories(victim);
        WriteBytes(victim + "/f", "keep me");
        const TreeState before = Snapshot(victim);
        const TreeState targetBefore = Snapshot(target_);
        std::string path;
        {
            InstallJournal journal;
            ASSERT_TRUE(journal.Create(JournalFolderPath()));
            c.write(journal);
            journal.PlanComplete();
            ASSERT_TRUE(journal.Sync());
            path = journal.path();
        }
        if (std::string(c.name) == "an older kind of journal") {
            WriteBytes(path, std::string("qorn-setup-journal 1\0T/t/\0tag\0P", 31));
        }
        const std::vector<RecoveredRun> runs = RecoverDeadRuns(JournalFolderPath(), env_.temp());
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].setAside, path + ".bad");
        EXPECT_EQ(Snapshot(victim), before);
        EXPECT_EQ(Snapshot(target_), targetBefore);
        EXPECT_TRUE(RecoverDeadRuns(JournalFolderPath(), env_.temp()).empty());
        ASSERT_EQ(unlink((path + ".bad").c_str()), 0);
    }
}

// An undo that put every original back but could not remove the backup
// folder keeps its journal: the next start removes the folder, and says
// nothing, since nothing was lost.
TEST_F(InstallTransactionTest, CleanupLeftUndoneIsFinishedByTheNextStartWithoutAlarm) {
    AddFile("old.tpl", "new");
    OpenKit();
    UserFile("old.tpl", "old", 1000);
    const TreeState before = Snapshot(target_);
    std::string backup;
    {
        InstallTransaction tx;
        InstallFirst(tx, 1);
        backup = tx.backupFolder();
        WriteBytes(backup + "unforeseen", "x");
        const RollbackOutcome outcome = tx.Rollback();
        EXPECT_TRUE(outcome.originalsRestored);
        EXPECT_FALSE(outcome.settled);
        EXPECT_EQ(outcome.keptBackup, "");
        EXPECT_EQ(Snapshot(target_), before);
    }
    ASSERT_EQ(unlink((backup + "unforeseen").c_str()), 0);
    EXPECT_TRUE(RecoverDeadRuns(JournalFolderPath(), env_.temp()).empty());
    EXPECT_FALSE(Exists(backup));
    EXPECT_EQ(Names(JournalFolderPath()), Listing{});
}

// A run that committed but could not drop its backup (or died before it
// did) is done: the next start keeps what it installed, removes the backup
// and says nothing.
TEST_F(InstallTransactionTest, ACommittedRunStaysInstalledAndTheNextStartDropsItsBackup) {
    AddFile("old.tpl", "new");
    OpenKit();
    UserFile("old.tpl", "old", 1000);
    std::string backup;
    {
        InstallTransaction tx;
        InstallFirst(tx, 1);
        backup = tx.backupFolder();
        WriteBytes(backup + "unforeseen", "x");  // keeps the backup folder from going
        ASSERT_EQ(tx.Commit(), ERR_NONE);
    }
    ASSERT_EQ(unlink((backup + "unforeseen").c_str()), 0);
    const TreeState installed = Snapshot(target_);
    EXPECT_EQ(ReadBytes(target_ + "old.tpl"), "new");
    EXPECT_TRUE(RecoverDeadRuns(JournalFolderPath(), env_.temp()).empty());
    EXPECT_EQ(Snapshot(target_), installed);
    EXPECT_FALSE(Exists(backup));
    EXPECT_EQ(Names(JournalFolderPath()), Listing{});
}

// A run killed before its journal names anything it made, or between naming
// its backup folder and recording the folder it made: the next start removes
// the journal and that folder, if made and empty, and raises no alarm.
TEST_F(InstallTransactionTest, RunKilledWhileClaimingItsBackupLeavesNothingBehind) {
    struct Case {
        const char* name;
        bool named;        // the journal names the backup folder
        bool made;         // the folder was made
        bool filled;       // something is in it: the run never got that far, so it is somebody else's
        bool liveClaims;   // a live run's journal names it since
        bool folderStays;
    };
    const Case cases[] = {
        {"killed before the journal's first write", false, false, false, false, false},
        {"the folder named, not made", true, false, false, false, false},
        {"the folder named and made", true, true, false, false, false},
        {"the folder named, made, and not empty", true, true, true, false, true},
        {"the folder made, and named by a live run since", true, true, false, true, true},
    };
    const std::string backup = env_ / ".xorup0/";
    struct stat status {};
    ASSERT_EQ(stat(target_.c_str(), &status), 0);
    const FolderIdentity anchor{status.st_dev, status.st_ino};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            InstallJournal dead;
            ASSERT_TRUE(dead.Create(JournalFolderPath()));
            if (c.named) {
                dead.Target(target_, "1-2", target_.substr(0, target_.size() - 1), anchor);
                dead.Backup(backup, {});
                ASSERT_TRUE(dead.Flush());
            }
        }
        if (c.made) {
            ASSERT_EQ(mkdir(backup.c_str(), 0700), 0);
        }
        if (c.filled) WriteBytes(backup + "kept.tpl", "somebody's");
        InstallJournal live;
        if (c.liveClaims) {
            ASSERT_TRUE(live.Create(JournalFolderPath()));
            live.Target(env_ / "Other/", "3-4", env_ / "Other", {anchor.device, anchor.inode + 1});
            live.Backup(backup, {1, 2});
            ASSERT_TRUE(live.Flush());
        }
        EXPECT_TRUE(RecoverDeadRuns(JournalFolderPath(), env_.temp()).empty());
        EXPECT_EQ(Names(JournalFolderPath()).size(), c.liveClaims ? 1u : 0u);
        EXPECT_EQ(Exists(backup), c.folderStays);
        live.Remove();
        (void)unlink((backup + "kept.tpl").c_str());
        (void)rmdir(backup.c_str());
    }
}

TEST_F(InstallTransactionTest, JournalCutShortAnywhereReadsAsAPrefixOfItsRecords) {
    InstallJournal journal;
    ASSERT_TRUE(journal.Create(env_ / "journals"));
    journal.Target("/t/", "1-2", "/t", {1, 2});
    journal.Backup("/.xorup0/", {1, 3});
    journal.CreatedDir("new");
    journal.File({"a\nb", 7, true, {1, 2, 3}, {4, 5, 6}});
    journal.FolderTime({"", 5, 6});
    journal.PlanComplete();
    ASSERT_TRUE(journal.MarkCommitted());
    const std::string bytes = ReadBytes(journal.path());
    const JournalContent whole = ParseJournal(bytes);
    ASSERT_TRUE(whole.committed);
    ASSERT_EQ(whole.files.size(), 1u);
    EXPECT_EQ(whole.files[0].path, "a\nb");
    EXPECT_EQ(whole.files[0].index, 7u);
    EXPECT_EQ(whole.files[0].original, (FileIdentity{4, 5, 6}));
    EXPECT_TRUE(JournalIsSound(whole, "/j"));
    EXPECT_EQ(whole.folderTimes[0].nanoseconds, 6);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const JournalContent cut = ParseJournal(bytes.substr(0, length));
        EXPECT_FALSE(cut.committed) << length;
        EXPECT_LE(cut.files.size(), 1u);
        if (cut.planned) {
            EXPECT_EQ(cut.files.size(), 1u) << length;
        }
    }
    journal.Remove();
    EXPECT_EQ(Names(env_ / "journals"), Listing{});
}

}  // namespace
