// The transaction on a real kit and scratch folders: the plan, the backup, rollback, and recovery.
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "app/InstallFixture.h"
#include "app/InstallTransaction.h"
#include "app/Recovery.h"
#include "platform/FolderBeneath.h"

namespace {

using namespace scratch;
using Listing = std::vector<std::string>;
using namespace std::string_view_literals;

class InstallTransactionTest : public InstallFixture {
protected:
    // The kit's data as the single-threaded tests read it: from its image.
    KitEntryData& Data() {
        const std::span<unsigned char> buffer(kit_.copyBuffer.get(), kit_.copyBufferSize);
        if (!data_) data_ = std::make_unique<ImageEntryData>(kit_, buffer);
        return *data_;
    }

    // Plans, begins and installs the first `count` entries.
    void InstallFirst(InstallTransaction& tx, std::size_t count) {
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), ERR_NONE);
        ASSERT_EQ(tx.Begin(), ERR_NONE);
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(tx.Install(Data(), i), ERR_NONE) << i;
    }

    std::vector<RecoveredRun> Recover() { return RecoverDeadRuns(JournalFolderPath(), env_.temp()); }

private:
    std::unique_ptr<ImageEntryData> data_;
};

// The plan changes nothing; the mode comes from the replaced file (never set-id bits), else the umask.
TEST_F(InstallTransactionTest, PlanJudgesEachDestinationAndTheInstalledModeNeverComesFromALink) {
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> make;
        ErrorCode planned;
        EntryAction action = EntryAction::Skip;
        mode_t mode = 0644;  // of the file at the path afterwards
    };
    const auto file = [](const std::string& p, std::int64_t seconds, mode_t mode = 0644, long nanoseconds = 0) {
        WriteBytes(p, "old");
        ASSERT_EQ(chmod(p.c_str(), mode), 0);
        SetTime(p, seconds, nanoseconds);
    };
    const Case cases[] = {
        {"nothing", [](const std::string&) {}, ERR_NONE, EntryAction::Create, 0640},
        {"older set-id file", [&](const std::string& p) { file(p, kKitSeconds - 1, 06755, 999999999); }, ERR_NONE,
         EntryAction::Replace, 0755},
        {"same second, earlier fraction", [&](const std::string& p) { file(p, kKitSeconds); }, ERR_NONE},
        {"link to an older file",
         [&](const std::string& p) {
             file(p + ".real", 1000, 0604);
             ASSERT_EQ(symlink("t.real", p.c_str()), 0);
         },
         ERR_NONE, EntryAction::Replace, 0640},
        {"directory", [](const std::string& p) { MakeDirectories(p + "/inside"); }, ERR_INVALID_PARAMETER},
        {"named pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, ERR_INVALID_PARAMETER},
        {"socket", [](const std::string& p) { ASSERT_EQ(mknod(p.c_str(), S_IFSOCK | 0600, 0), 0); },
         ERR_INVALID_PARAMETER},
        {"a file where a folder two levels up must be",
         [](const std::string& p) {
             const std::string d = p.substr(0, p.size() - 4);
             RemoveTree(Wide(d));
             WriteBytes(d, "a file");
         },
         ERR_INVALID_PARAMETER},
    };
    AddFile("d\\e\\t", "kit's");
    OpenKit();
    const mode_t mask = umask(027);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(target_));
        MakeDirectories(target_ + "d/e");
        c.make(target_ + "d/e/t");
        const TreeState before = Snapshot(target_);
        InstallTransaction tx;
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), c.planned);
        EXPECT_EQ(Snapshot(target_), before);
        if (c.planned != ERR_NONE) continue;
        EXPECT_EQ(tx.ActionOf(0), c.action);
        ASSERT_EQ(tx.Begin(), ERR_NONE);
        ASSERT_EQ(tx.Install(Data(), 0), ERR_NONE);
        ASSERT_EQ(tx.Commit(), ERR_NONE);
        const EntryState after = Snapshot(target_)["d/e/t"];
        EXPECT_EQ(after.mode, S_IFREG | c.mode);
        EXPECT_EQ(after.content, c.action == EntryAction::Skip ? "old" : "kit's");
    }
    umask(mask);
}

// A plan large enough for two threads judges each half as one thread would: the originals it found reach the journal
// in the kit's order (the install then finds each one it replaces), and an obstacle the helper meets stops the plan.
TEST_F(InstallTransactionTest, APlanSharedByTwoThreadsJudgesEveryEntryAsOneWould) {
    constexpr int kEntries = 1200;
    std::uint64_t written = 0;
    for (int i = 0; i < kEntries; ++i) {
        const std::string name = "d/t" + std::to_string(i);
        AddFile(name, "kit's " + std::to_string(i));
        if (i % 3 != 2) UserFile(name, "old", i % 3 == 0 ? kKitSeconds - 10 - i : kKitSeconds);  // each its own time
        if (i % 3 != 1) written += source_.files.back().data.size();
    }
    OpenKit();
    {
        MakeDirectories(target_ + "d/t1100");  // where the helper looks
        InstallTransaction tx;
        EXPECT_EQ(tx.Plan(Wide(target_), kit_.entries), ERR_INVALID_PARAMETER);
        RemoveTree(Wide(target_ + "d/t1100"));
    }
    const TreeState before = Snapshot(target_);
    const EntryAction expected[] = {EntryAction::Replace, EntryAction::Skip, EntryAction::Create};
    const auto planAndInstall = [&](InstallTransaction& tx) {
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), ERR_NONE);
        EXPECT_EQ(Snapshot(target_), before);
        EXPECT_EQ(tx.bytesToWrite(), written);
        for (int i = 0; i < kEntries; ++i) ASSERT_EQ(tx.ActionOf(static_cast<std::size_t>(i)), expected[i % 3]) << i;
        ASSERT_EQ(tx.Begin(), ERR_NONE);
        for (std::size_t i = 0; i < kit_.entries.size(); ++i) ASSERT_EQ(tx.Install(Data(), i), ERR_NONE) << i;
    };
    {
        InstallTransaction dies;
        planAndInstall(dies);
    }
    // The next start puts back each original only as the journal knows it.
    ASSERT_EQ(Recover().size(), 1u);
    EXPECT_EQ(Snapshot(target_), before);
    InstallTransaction tx;
    planAndInstall(tx);
    ASSERT_EQ(tx.Commit(), ERR_NONE);
    const TreeState after = Snapshot(target_);
    for (int i = 0; i < kEntries; ++i) {
        EXPECT_EQ(after.at("d/t" + std::to_string(i)).content, i % 3 == 1 ? "old" : "kit's " + std::to_string(i)) << i;
    }
    // The commit drops the whole backup, which two threads share, and the journal with it.
    EXPECT_EQ(Names(env_.root()), (std::vector<std::string>{"Templates", "home", "qorn.efd", "tmp"}));
    EXPECT_EQ(Names(JournalFolderPath()), std::vector<std::string>{});
}

// A file the run replaces that the user saves again after the plan, in place
// or as a new file under its name, is never replaced: the run stops, says
// which file, and its undo leaves that file whole with no backup kept. One
// that is already the kit's file (a file system that ignores letter case
// gives two of the kit's names one file) is no edit.
TEST_F(InstallTransactionTest, AFileSavedAgainAfterThePlanIsNeverReplaced) {
    AddFile("a.tpl", "kit a");
    AddFile("b.tpl", "kit b");
    OpenKit();
    enum class After { kSavedInPlace, kSavedAsNewFile, kAlreadyTheKits };
    for (const After after : {After::kSavedInPlace, After::kSavedAsNewFile, After::kAlreadyTheKits}) {
        const int way = static_cast<int>(after);
        UserFile("a.tpl", "old a", kKitSeconds - 10);
        UserFile("b.tpl", "old b", kKitSeconds - 10);
        InstallTransaction tx;
        ASSERT_EQ(tx.Plan(Wide(target_), kit_.entries), ERR_NONE);
        ASSERT_EQ(tx.ActionOf(1), EntryAction::Replace);
        const std::string b = target_ + "b.tpl";
        if (after == After::kSavedInPlace) {
            const int file = open(b.c_str(), O_WRONLY | O_APPEND);
            ASSERT_GE(file, 0);
            ASSERT_EQ(write(file, " edit", 5), 5);
            close(file);
        } else {
            WriteBytes(b + ".new", after == After::kAlreadyTheKits ? "kit b" : "old b edit");
            ASSERT_EQ(rename((b + ".new").c_str(), b.c_str()), 0);
            const timespec kitTime = TimespecFromFileTime(kit_.entries[1].lastWriteTime);
            if (after == After::kAlreadyTheKits) SetTime(b, kitTime.tv_sec, kitTime.tv_nsec);
        }
        ASSERT_EQ(tx.Begin(), ERR_NONE);
        EXPECT_EQ(tx.Install(Data(), 0), ERR_NONE);
        if (after == After::kAlreadyTheKits) {
            EXPECT_EQ(tx.Install(Data(), 1), ERR_NONE);
            EXPECT_EQ(tx.Commit(), ERR_NONE);
            EXPECT_EQ(ReadBytes(b), "kit b");
            continue;
        }
        EXPECT_EQ(tx.Install(Data(), 1), ERR_FILE_CHANGED) << way;
        EXPECT_EQ(tx.appearedFile(), "b.tpl");
        const RollbackOutcome outcome = tx.Rollback();
        EXPECT_FALSE(outcome.unfinished) << way;
        EXPECT_EQ(outcome.keptBackup, "") << way;
        EXPECT_EQ(ReadBytes(target_ + "a.tpl"), "old a");
        EXPECT_EQ(ReadBytes(b), "old b edit") << way;
        EXPECT_EQ(Names(JournalFolderPath()), std::vector<std::string>{});
    }
}

// A folder swapped for a link after the plan stops the run; nothing is written where the link leads.
TEST_F(InstallTransactionTest, OnlyLinksThePlanFoundAreFollowed) {
    AddFile("sub\\a.tpl", "kit's");
    OpenKit();
    const std::string elsewhere = env_ / "elsewhere";
    for (const bool linkedAtPlan : {true, false}) {
        SCOPED_TRACE(linkedAtPlan);
        RemoveTree(Wide(target_));
        RemoveTree(Wide(elsewhere));
        MakeDirectories(elsewhere);
        MakeDirectories(target_ + "sub");
        const auto link = [&] {
            ASSERT_EQ(rmdir((target_ + "sub").c_str()), 0);
            ASSERT_EQ(symlink(elsewhere.c_str(), (target_ + "sub").c_str()), 0);
        };
        if (linkedAtPlan) link();
        InstallTransaction tx;
        InstallFirst(tx, 0);
        if (!linkedAtPlan) link();
        EXPECT_EQ(tx.Install(Data(), 0), linkedAtPlan ? ERR_NONE : ERR_PATH_NOT_FOUND);
        EXPECT_EQ(Names(elsewhere), linkedAtPlan ? Listing{"a.tpl"} : Listing{});
        tx.Rollback();
        EXPECT_EQ(Names(elsewhere), Listing{});
    }
}

// A file made at a path after the plan found none there (by the user, by a folder-sync client) is never overwritten:
// the run stops and names it, and neither its own rollback nor the next start's removes it.
TEST_F(InstallTransactionTest, AFileThatAppearsAfterThePlanIsTheUsersAndStays) {
    AddFile("a.tpl", "kit a");
    AddFile("sub\\b.tpl", "kit b");
    OpenKit();
    for (const bool dies : {false, true}) {
        SCOPED_TRACE(dies ? "the run dies" : "the run rolls back");
        RemoveTree(Wide(target_));
        MakeDirectories(target_);
        {
            InstallTransaction run;
            InstallFirst(run, 1);
            WriteBytes(target_ + "sub/b.tpl", "the user's");
            EXPECT_EQ(run.Install(Data(), 1), ERR_FILE_APPEARED);
            EXPECT_EQ(run.appearedFile(), "sub/b.tpl");
            if (!dies) run.Rollback();
        }
        if (dies) {
            EXPECT_EQ(Recover().size(), 1u);
        }
        EXPECT_EQ(Names(target_), Listing{"sub"});
        EXPECT_EQ(ReadBytes(target_ + "sub/b.tpl"), "the user's");
        EXPECT_TRUE(Names(JournalFolderPath()).empty());
    }
}

// A HOME that does not exist yet: the journal's folder makes it before the plan looks, so the run does not try to
// make it again; a dry run of the same plan makes nothing.
TEST_F(InstallTransactionTest, AHomeThatDoesNotExistYetIsMadeOnceForTheJournalAndTheTarget) {
    AddFile("a.tpl", "kit a");
    OpenKit();
    const std::string home = env_ / "new-home";
    ASSERT_EQ(setenv("HOME", home.c_str(), 1), 0);
    // A dry run first: it plans the same run and makes nothing, not even the journal's folder.
    InstallTransaction dryRun;
    EXPECT_EQ(dryRun.Plan(Wide(home + "/Templates/"), kit_.entries, {RecordOptions::Kind::DryRun, {}}), ERR_NONE);
    EXPECT_FALSE(Exists(home));
    InstallTransaction run;
    EXPECT_EQ(run.Plan(Wide(home + "/Templates/"), kit_.entries), ERR_NONE);
    EXPECT_EQ(run.Begin(), ERR_NONE);
    EXPECT_EQ(run.Install(Data(), 0), ERR_NONE);
    EXPECT_EQ(run.Commit(), ERR_NONE);
    EXPECT_EQ(ReadBytes(home + "/Templates/a.tpl"), "kit a");
    ASSERT_EQ(setenv("HOME", env_.home().c_str(), 1), 0);
}

// An undo that fails at a step (here a folder that refuses every change) is not complete: it says so, keeps the
// journal, and a later start finishes it.
TEST_F(InstallTransactionTest, AnUndoThatFailsAtAStepKeepsItsJournalForALaterStart) {
    AddFile("sub\\made.tpl", "kit made");
    OpenKit();
    MakeDirectories(target_ + "sub");
    const TreeState before = Snapshot(target_);
    {
        InstallTransaction run;
        InstallFirst(run, 1);
    }
    const FolderDescriptor sub(open((target_ + "sub").c_str(), O_RDONLY | O_DIRECTORY));
    int flags = 0;
    if (ioctl(sub.get(), FS_IOC_GETFLAGS, &flags) != 0 || (flags |= FS_IMMUTABLE_FL, ioctl(sub.get(), FS_IOC_SETFLAGS, &flags)) != 0) {
        GTEST_SKIP() << "no immutable folders here";
    }
    const std::vector<RecoveredRun> refused = Recover();
    flags &= ~FS_IMMUTABLE_FL;
    ASSERT_EQ(ioctl(sub.get(), FS_IOC_SETFLAGS, &flags), 0);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(refused[0].unfinished);
    EXPECT_EQ(refused[0].keptJournal.empty(), false);
    EXPECT_EQ(Names(target_ + "sub"), Listing{"made.tpl"});
    const std::vector<RecoveredRun> finished = Recover();
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_FALSE(finished[0].unfinished);
    EXPECT_EQ(Snapshot(target_), before);
    EXPECT_TRUE(Names(JournalFolderPath()).empty());
}

// A dead run (object and lock gone) is undone, by the next start or the next run before it plans, as far as the tree is
// still as it left it; a backup folder an original stays in is named.
TEST_F(InstallTransactionTest, ADeadRunIsUndoneAsFarAsTheTreeIsStillAsItLeftIt) {
    using Change = std::function<void(const std::string& backup)>;
    enum End { kDies, kRollsBack, kCommits };  // a run that dies is reported by the next start
    struct Case {
        const char* name;
        std::size_t done;  // entries installed
        Change before;     // while the run lives
        End end;
        Change after;      // once it is gone
        Listing names;     // in the template directory afterwards
        const char* kept;  // what "kept.tpl" holds afterwards
        bool backupKept = false;
        bool settled = true;  // else the journal stays for the next start to finish
        bool byNextRun = false;
    };
    const Change nothing = [](const std::string&) {};
    const Change block = [](const std::string& b) { WriteBytes(b + "unforeseen", "x"); };
    const Change unblock = [](const std::string& b) { ASSERT_EQ(unlink((b + "unforeseen").c_str()), 0); };
    const Change userMade = [this](const std::string&) { WriteBytes(target_ + "made.tpl", "user's"); };
    const Change edit = [this](const std::string&) { WriteBytes(target_ + "kept.tpl", "edited"); };
    // "kept.tpl" is the kit's first entry: its original lies in the backup as BackupName(0, ...).
    const std::string saved = BackupName(0, "kept.tpl");
    const Change drop = [&saved](const std::string& b) { ASSERT_EQ(unlink((b + saved).c_str()), 0); };
    const Change cut = [&saved](const std::string& b) { ASSERT_EQ(truncate((b + saved).c_str(), 1), 0); };
    const Change inTheWay = [this](const std::string&) {
        ASSERT_EQ(unlink((target_ + "kept.tpl").c_str()), 0);
        MakeDirectories(target_ + "kept.tpl/in-the-way");
    };
    const Change clearWay = [this](const std::string&) { RemoveTree(Wide(target_ + "kept.tpl")); };
    // Another file (maybe under a freed inode number, made a moment later) with the size and exact time of the run's,
    // or of the original.
    const Change lookAlikeMade = [this](const std::string&) {
        ASSERT_EQ(unlink((target_ + "made.tpl").c_str()), 0);
        usleep(20000);
        WriteBytes(target_ + "made.tpl", "kit MADE");
        SetTime(target_ + "made.tpl", kKitSeconds, 456789100);
    };
    const Change lookAlikeOriginal = [this](const std::string&) {
        ASSERT_EQ(unlink((target_ + "kept.tpl").c_str()), 0);
        usleep(20000);
        UserFile("kept.tpl", "odd", 1000);
    };
    const Listing onlyKept{"kept.tpl"};
    const Case cases[] = {
        {"died before its first entry", 0, nothing, kDies, nothing, onlyKept, "old"},
        {"died after its last entry", 3, nothing, kDies, nothing, onlyKept, "old"},
        {"undone by the next run before it plans", 3, nothing, kDies, nothing, onlyKept, "old", false, true, true},
        {"the user wrote a file where the run made one", 3, nothing, kDies, userMade, {"kept.tpl", "made.tpl"}, "old"},
        {"the user edited a replaced file", 3, nothing, kDies, edit, onlyKept, "edited", true},
        {"the user made a file of the run's size and time", 3, nothing, kDies, lookAlikeMade, {"kept.tpl", "made.tpl"},
         "old"},
        {"the user put a file of the original's size and time in its place", 3, nothing, kDies, lookAlikeOriginal,
         onlyKept, "odd", true},
        {"the user edited a replaced file, then ran again", 3, nothing, kDies, edit, onlyKept, "edited", true, true,
         true},
        {"the backup is gone", 3, nothing, kDies, drop, onlyKept, "kit kept", true},
        {"the backup is not whole", 3, nothing, kDies, cut, onlyKept, "kit kept", true},
        {"something unforeseen in the backup", 3, block, kDies, nothing, onlyKept, "old", false, false},
        {"rolled back, the backup folder blocked", 3, block, kRollsBack, unblock, onlyKept, "old"},
        {"committed, the backup folder blocked", 3, block, kCommits, unblock, {"fresh", "kept.tpl", "made.tpl"},
         "kit kept"},
        {"rolled back, a folder where an original goes", 3, inTheWay, kRollsBack, clearWay, {}, "", true},
    };
    AddFile("kept.tpl", "kit kept");
    AddFile("made.tpl", "kit made");
    AddFile("fresh\\deep\\g.tpl", "kit made");
    OpenKit();
    // Only images this installer names so, and no live run holds, go: a user's files that look alike stay.
    for (const char* name : {"qorn-setup-image-dead00", "edf_notes.txt", "recording.edf", "qorn-setup-image-x"}) {
        WriteBytes(env_.temp() + "/" + name, "nobody holds it");
    }
    EXPECT_TRUE(Recover().empty());
    Listing images = {"edf_notes.txt", Narrow(kit_.tempPath).substr(env_.temp().size() + 1), "qorn-setup-image-x",
                      "recording.edf"};
    std::sort(images.begin(), images.end());  // the live image's name is random
    EXPECT_EQ(Names(env_.temp()), images);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(target_));
        UserFile("kept.tpl", "old", 1000);
        SetTime(target_, 1100000000, 5);
        const TreeState before = Snapshot(target_);
        std::string backup;
        {
            InstallTransaction run;
            InstallFirst(run, c.done);
            backup = run.backupFolder();
            EXPECT_EQ(backup, env_.root() + "/.xorup0/");  // beside the template directory, never in TMPDIR
            EXPECT_EQ(InstallTransaction().Plan(Wide(target_), kit_.entries), ERR_BUSY);  // one run per directory
            EXPECT_EQ(InstallTransaction().Plan(Wide(env_ / "Other"), kit_.entries), ERR_NONE);
            EXPECT_TRUE(Recover().empty());  // a live run is left alone
            c.before(backup);
            if (c.end == kRollsBack) run.Rollback();
            if (c.end == kCommits) {
                ASSERT_EQ(run.Commit(), ERR_NONE);
            }
        }
        c.after(backup);
        if (c.byNextRun) {
            InstallTransaction next;
            ASSERT_EQ(next.Plan(Wide(target_), kit_.entries), c.backupKept ? ERR_EARLIER_RUN_KEPT : ERR_NONE);
            EXPECT_EQ(next.keptByEarlierRun(), c.backupKept ? backup : "");
            // Undone before the plan: the dead run's file never counts as the next one's.
            if (!c.backupKept) {
                EXPECT_EQ(next.ActionOf(1), EntryAction::Create);
            }
        } else {
            const std::vector<RecoveredRun> runs = Recover();
            ASSERT_EQ(runs.size(), c.end == kDies ? 1u : 0u);
            if (c.end == kDies) {
                EXPECT_EQ(runs[0].target, target_);
                EXPECT_EQ(runs[0].keptBackup, c.backupKept ? backup : "");
            }
        }
        EXPECT_EQ(Names(target_), c.names);
        EXPECT_EQ(ReadBytes(target_ + "kept.tpl"), c.kept);
        // All undone: the very tree of before, the folders' times too.
        if (c.names == onlyKept && c.kept == std::string("old")) {
            EXPECT_EQ(Snapshot(target_), before);
        }
        EXPECT_EQ(Exists(backup), c.backupKept || !c.settled);
        // A kept backup reads like the template directory: the original under its own path, as a person restores it.
        if (c.backupKept) {
            EXPECT_FALSE(Exists(backup + saved));
            EXPECT_EQ(Exists(backup + "kept.tpl"), std::string(c.name) != "the backup is gone");
        }
        EXPECT_EQ(Names(JournalFolderPath()).size(), c.settled ? 0u : 1u);
        RemoveTree(Wide(backup));
        RemoveTree(Wide(JournalFolderPath()));
    }
}

// A dead run that made its template directory: moved away with the run's files in it, or another folder at its path,
// the directory is waited for, and undone once it is back. A journal that names the directory but never saw it made
// (killed between its sync and the mkdir) is settled at once: nothing will ever come back.
TEST_F(InstallTransactionTest, ADirectoryTheDeadRunMadeIsWaitedForWhileItIsAway) {
    AddFile("a.tpl", "kit a");
    AddFile("sub\\b.tpl", "kit b");
    OpenKit();
    RemoveTree(Wide(target_));
    const std::string target = target_.substr(0, target_.size() - 1);
    const std::string away = target + ".away";
    {
        InstallTransaction run;
        InstallFirst(run, 2);
    }
    ASSERT_EQ(rename(target.c_str(), away.c_str()), 0);
    const Listing left = Names(away);
    for (const bool otherFolderThere : {false, true}) {
        SCOPED_TRACE(otherFolderThere ? "another folder at its path" : "nothing at its path");
        if (otherFolderThere) MakeDirectories(target_);
        const std::vector<RecoveredRun> runs = Recover();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_TRUE(runs[0].waiting);
        EXPECT_EQ(Names(JournalFolderPath()).size(), 1u);
        EXPECT_EQ(Names(away), left);
    }
    ASSERT_EQ(rmdir(target.c_str()), 0);
    ASSERT_EQ(rename(away.c_str(), target.c_str()), 0);
    const std::vector<RecoveredRun> runs = Recover();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(runs[0].waiting);
    EXPECT_FALSE(Exists(target_));
    EXPECT_EQ(Names(JournalFolderPath()), Listing{});

    {
        InstallJournal dead;
        ASSERT_TRUE(dead.Create(JournalFolderPath()));
        const std::string anchor = target.substr(0, target.rfind('/'));
        struct stat parent {};
        ASSERT_EQ(stat(anchor.c_str(), &parent), 0);
        dead.Target(target_, "1-2", anchor, {parent.st_dev, parent.st_ino});
        dead.CreatedDir(std::string(NamePart(target)));
        dead.File({"a.tpl", 0, false, {}, {}, {}, {}});
        dead.PlanComplete();
        ASSERT_TRUE(dead.Sync());
    }
    const std::vector<RecoveredRun> settled = Recover();
    ASSERT_EQ(settled.size(), 1u);
    EXPECT_FALSE(settled[0].waiting);
    EXPECT_EQ(Names(JournalFolderPath()), Listing{});
}

// The backup keeps its originals side by side: two of the same name from different folders are two backups, and a dead
// run's undo puts each back where it came from. A backup kept for the user (an original edited after the run died)
// holds what is left in it under its path, folders and all. A run of an earlier version kept each original in a copy
// of its folders in the backup, under its own name, and said so by its journal's version: such a run is still undone,
// its mirrored folders removed. A run of the version before this one (no made directory journaled) is undone as today's.
TEST_F(InstallTransactionTest, OriginalsLieSideBySideAndAnOlderRunsMirroredBackupIsStillUndone) {
    AddFile("a\\x.tpl", "kit a");
    AddFile("b\\c\\x.tpl", "kit b");
    AddFile("made.tpl", "kit made");
    OpenKit();
    const std::pair<int, std::string> originals[] = {{0, "a/x.tpl"}, {1, "b/c/x.tpl"}};
    enum Kind { kSideBySide, kKeptForTheUser, kMirrored, kVersion4 };
    for (const Kind kind : {kSideBySide, kKeptForTheUser, kMirrored, kVersion4}) {
        SCOPED_TRACE(kind);
        RemoveTree(Wide(target_));
        for (const auto& [index, path] : originals) UserFile(path, "old " + path, 1000);
        const TreeState before = Snapshot(target_);
        std::string backup;
        {
            InstallTransaction dies;
            InstallFirst(dies, 3);
            backup = dies.backupFolder();
        }
        if (kind == kKeptForTheUser) WriteBytes(target_ + "b/c/x.tpl", "the user's");
        if (kind == kMirrored || kind == kVersion4) {
            const Listing journals = Names(JournalFolderPath());
            ASSERT_EQ(journals.size(), 1u);
            const std::string journal = JournalFolderPath() + "/" + journals[0];
            std::string bytes = ReadBytes(journal);
            ASSERT_EQ(bytes.rfind("qorn-setup-journal 5", 0), 0u);
            bytes[19] = kind == kMirrored ? '3' : '4';
            WriteBytes(journal, bytes);
        }
        if (kind == kMirrored) {
            for (const auto& [index, path] : originals) {
                MakeDirectories(backup + std::string(FolderPart(path)));
                ASSERT_EQ(rename((backup + BackupName(index, path)).c_str(), (backup + path).c_str()), 0) << path;
            }
        }
        const std::vector<RecoveredRun> runs = Recover();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(Names(JournalFolderPath()), Listing{});
        if (kind == kKeptForTheUser) {
            EXPECT_EQ(runs[0].keptBackup, backup);
            EXPECT_EQ(ReadBytes(target_ + "a/x.tpl"), "old a/x.tpl");
            EXPECT_EQ(ReadBytes(target_ + "b/c/x.tpl"), "the user's");
            EXPECT_EQ(Names(backup), Listing{"b"});
            EXPECT_EQ(ReadBytes(backup + "b/c/x.tpl"), "old b/c/x.tpl");
            RemoveTree(Wide(backup));
            continue;
        }
        EXPECT_EQ(runs[0].keptBackup, "");
        EXPECT_EQ(Snapshot(target_), before);
        EXPECT_FALSE(Exists(backup));
    }
}

// A journal that fails a check is set aside as "*.bad", reported once; one whose directory is not found where it was
// waits for it, kept; one cut short while claiming a backup folder goes silently, with the folder if made and empty
// and not claimed by a live run since.
TEST_F(InstallTransactionTest, RecoveryTrustsAJournalOnlyAsFarAsItCan) {
    const std::string victim = env_ / "victim";
    const std::string backup = env_ / ".xorup0/";
    MakeDirectories(victim);
    WriteBytes(victim + "/f", "keep me");
    const TreeState victimBefore = Snapshot(victim);
    const TreeState targetBefore = Snapshot(target_);
    // Each journal names real folders by their true identity: only the check of its case can refuse it.
    const auto identity = [](const std::string& path) {
        struct stat found {};
        EXPECT_EQ(stat(path.c_str(), &found), 0);
        return FolderIdentity{found.st_dev, found.st_ino};
    };
    const FolderIdentity target = identity(target_);
    const FolderIdentity victimFolder = identity(victim);
    const std::string anchor = target_.substr(0, target_.size() - 1);
    enum Folder { kNone, kMade, kFilled, kClaimedSince };  // what stands at `backup` when the next start comes
    // What the dead run's journal names: an anchor folder for its target, a backup folder, one file.
    struct Case {
        const char* name;
        std::string anchor;  // "": no target
        FolderIdentity anchorIdentity;
        std::string backup;  // "": none
        FolderIdentity backupIdentity;
        const char* file;  // nullptr: none; it replaces an original when there is a backup
        bool planned;
        bool setAside;
        Folder folder = kNone;
        bool waits = false;         // kept for a later start, reported as waiting for its directory
        std::string_view junk = {};  // a record that is not whole, written before the commit mark
    };
    const FolderIdentity other{target.device, target.inode + 1};
    const Case cases[] = {
        {"an older kind of journal", "", {}, "", {}, nullptr, true, true},
        {"a backup that is not the installer's", anchor, target, victim + "/", victimFolder, "f", true, true},
        {"a path leading out", anchor, target, "", {}, "../victim/f", true, true},
        {"a target that is not below its anchor", victim, victimFolder, "", {}, nullptr, true, true},
        {"a directory that is not the one it names (not mounted)", anchor, other, "", {}, "f", true, false, kNone, true},
        {"a record damaged before the commit mark", anchor, target, "", {}, "f", true, true, kNone, false, "Nf\0x\0"sv},
        {"a record of an unknown kind before the commit mark", anchor, target, "", {}, "f", true, true, kNone, false,
         "Zf\0"sv},
        {"killed before the journal's first write", "", {}, "", {}, nullptr, false, false},
        {"the backup folder named, not made", anchor, target, backup, {}, nullptr, false, false},
        {"the backup folder named and made", anchor, target, backup, {}, nullptr, false, false, kMade},
        {"the backup folder named, made, and not empty", anchor, target, backup, {}, nullptr, false, false, kFilled},
        {"the backup folder made, and named by a live run since", anchor, target, backup, {}, nullptr, false, false,
         kClaimedSince},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path;
        {
            InstallJournal dead;
            ASSERT_TRUE(dead.Create(JournalFolderPath()));
            path = dead.path();
            if (!c.anchor.empty()) dead.Target(target_, "1-2", c.anchor, c.anchorIdentity);
            if (!c.backup.empty()) dead.Backup(c.backup, c.backupIdentity);
            if (c.file != nullptr) dead.File({c.file, 0, !c.backup.empty(), {}, {}, {}, {}});
            if (c.planned) dead.PlanComplete();
            if (!c.anchor.empty() || c.planned) {
                ASSERT_TRUE(dead.Sync());
            }
            if (!c.junk.empty()) WriteBytes(path, ReadBytes(path) + std::string(c.junk) + "C");
        }
        if (std::string(c.name) == "an older kind of journal") {
            WriteBytes(path, std::string("qorn-setup-journal 1\0T/t/\0tag\0P", 31));
        }
        if (c.folder != kNone) {
            ASSERT_EQ(mkdir(backup.c_str(), 0700), 0);
        }
        if (c.folder == kFilled) WriteBytes(backup + "kept.tpl", "somebody's");
        InstallJournal live;
        if (c.folder == kClaimedSince) {
            ASSERT_TRUE(live.Create(JournalFolderPath()));
            live.Target(env_ / "Other/", "3-4", env_ / "Other", other);
            live.Backup(backup, {1, 2});
            ASSERT_TRUE(live.Flush());
        }
        const std::vector<RecoveredRun> runs = Recover();
        ASSERT_EQ(runs.size(), c.setAside || c.waits ? 1u : 0u);
        if (c.setAside) {
            EXPECT_EQ(runs[0].setAside, path + ".bad");
        }
        if (c.waits) {
            EXPECT_TRUE(runs[0].waiting);
            EXPECT_EQ(runs[0].keptJournal, path);
            EXPECT_EQ(Exists(path), true);
        }
        EXPECT_EQ(Recover().size(), c.waits ? 1u : 0u);
        EXPECT_EQ(Snapshot(victim), victimBefore);
        EXPECT_EQ(Snapshot(target_), targetBefore);
        EXPECT_EQ(Exists(backup), c.folder == kFilled || c.folder == kClaimedSince);
        EXPECT_EQ(Names(JournalFolderPath()).size(), c.setAside || c.waits || c.folder == kClaimedSince ? 1u : 0u);
        live.Remove();
        RemoveTree(Wide(JournalFolderPath()));
        RemoveTree(Wide(backup));
    }
}

TEST_F(InstallTransactionTest, JournalCutShortAnywhereReadsAsAPrefixOfItsRecords) {
    InstallJournal journal;
    ASSERT_TRUE(journal.Create(env_ / "journals"));
    journal.Target("/t/", "1-2", "/t", {1, 2});
    journal.Backup("/.xorup0/", {1, 3});
    journal.CreatedDir("new");
    journal.File({"a\nb", 7, true, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}});
    journal.FolderTime({"", 5, 6});
    journal.PlanComplete();
    ASSERT_TRUE(journal.MarkCommitted());
    const std::string bytes = ReadBytes(journal.path());
    const JournalContent whole = ParseJournal(bytes);
    ASSERT_TRUE(whole.committed);
    ASSERT_EQ(whole.files.size(), 1u);
    EXPECT_EQ(whole.files[0].path, "a\nb");
    EXPECT_EQ(whole.files[0].index, 7u);
    EXPECT_EQ(whole.files[0].originalInstance, (FileInstance{10, 11, 12}));
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const JournalContent cut = ParseJournal(bytes.substr(0, length));
        EXPECT_FALSE(cut.committed) << length;
        EXPECT_LE(cut.files.size(), 1u);
        if (cut.planned) {
            EXPECT_EQ(cut.files.size(), 1u) << length;
        }
    }
}

}  // namespace
