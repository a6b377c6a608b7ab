// The installation job as the worker runs it, on a real kit and scratch folders.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <functional>
#include <sstream>
#include <thread>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "app/InstallFixture.h"
#include "app/InstallJob.h"
#include "app/InstallRecord.h"
#include "app/KitIdentity.h"
#include "app/InstallTransaction.h"
#include "app/ProgressState.h"
#include "kit/KitDirectoryOpen.h"
#include "l10n/Messages.h"
#include "platform/SystemPath.h"

namespace {

using namespace scratch;

// Entries' times are set through this test's futimens (below): a test can hold a thread inside an entry, or fail the
// entry there.
std::function<int(bool onTestThread)> gTimeHook;  // nonzero: fail with EIO
const std::thread::id gTestThread = std::this_thread::get_id();
std::atomic<int> gFailingReads{-1};  // every pread of this descriptor (this test's, below) fails with EIO
// Called by this test's pread of the kit's image (below), on whichever thread reads: it may throw, or wait.
std::function<void(bool onTestThread)> gImageReadHook;
std::atomic<int> gImageDescriptor{-1};

class InstallJobTest : public InstallFixture {
protected:
    ErrorCode Run(const std::string& target) {
        progress_.StartJob(kit_, Wide(target));
        InstallTransaction transaction;
        return RunInstallJob(transaction, progress_);
    }

    // No backup directory and no journal are left; only the unpacked image remains.
    void ExpectOnlyImageInTemp() {
        EXPECT_EQ(Names(env_.temp()), std::vector<std::string>{Narrow(kit_.tempPath).substr(env_.temp().size() + 1)});
        EXPECT_EQ(Names(JournalFolderPath()), std::vector<std::string>{});
        EXPECT_EQ(Names(env_.root()), (std::vector<std::string>{"Templates", "home", "qorn.efd", "tmp"}));
    }

    ProgressState progress_;
};

// "f<i mod 10>/<220 x><i>/t<i>.tpl", with either separator.
std::string Numbered(int i, char separator) {
    std::ostringstream name;
    name << 'f' << i % 10 << separator << std::string(220, 'x') << i << separator << 't' << i << ".tpl";
    return name.str();
}

std::string Data(int i) { return i == 2 ? std::string() : "kit " + std::to_string(i); }

// Long-named folders below ten, so that the plan's folder table fills more than one block; every seventh file the
// user's and older, one newer, one empty, one name listed twice. A second run touches nothing.
TEST_F(InstallJobTest, ManyEntriesInstallAsOneThreadInKitOrderAndDamageMetByEitherThreadUndoesAll) {
    for (int i = 0; i < 300; ++i) {
        AddFile(Numbered(i, '\\'), Data(i));
        if (i % 7 == 0) UserFile(Numbered(i, '/'), "user " + std::to_string(i), kKitSeconds - 10);
    }
    UserFile(Numbered(1, '/'), "user's newer", kKitSeconds + 50);
    // The earlier entry is newer: the later one, installed after it, would not replace it.
    const FileTime newer = FileTime::fromValue(source_.files[3].lastWriteTime.value() + 50000000);
    source_.files[3] = {Wide("f0\\twice.tpl"), newer, "first", WString()};
    source_.files[290] = {Wide("f0\\twice.tpl"), source_.files[290].lastWriteTime, "last", WString()};
    UserFile("f0/twice.tpl", "user's twice", kKitSeconds - 10);
    const TreeState before = Snapshot(target_);
    OpenKit();
    const std::string image = ReadBytes(Narrow(kit_.tempPath));
    for (const std::size_t damaged : {std::size_t{5}, std::size_t{40}, std::size_t{299}}) {
        ASSERT_EQ(truncate(Narrow(kit_.tempPath).c_str(), kit_.entries[damaged].offset + 1), 0);
        EXPECT_EQ(Run(target_), ERR_INVALID_DATA) << damaged;
        EXPECT_EQ(Snapshot(target_), before) << damaged;
        ExpectOnlyImageInTemp();
    }
    WriteBytes(Narrow(kit_.tempPath), image);

    ASSERT_EQ(Run(target_), ERR_NONE);
    const TreeState first = Snapshot(target_);
    for (int i = 0; i < 300; ++i) {
        if (i == 1 || i == 3 || i == 290) continue;  // the newer file; twice.tpl
        EXPECT_EQ(first.at(Numbered(i, '/')).content, Data(i)) << i;
    }
    EXPECT_EQ(first.at(Numbered(1, '/')).content, "user's newer");
    EXPECT_EQ(first.at("f0/twice.tpl").content, "first");
    // The kit's time to the precision the file system keeps; the replaced file's permissions stay.
    EXPECT_EQ(first.at(Numbered(0, '/')), (EntryState{S_IFREG | 0604, kKitSeconds, 456789100, Data(0)}));
    EXPECT_EQ(first.at(Numbered(2, '/')).seconds, kKitSeconds);
    ProgressReport report = progress_.ReadProgress();
    EXPECT_EQ(report.percent, 100);
    EXPECT_TRUE(report.message == LoadResString("IDS_INSTALL_FINISH"));
    EXPECT_EQ(report.counts.written, 298u);  // the name listed twice is one file
    EXPECT_EQ(report.counts.replaced, 44u);  // the 43 older files and twice.tpl
    EXPECT_EQ(report.counts.upToDate, 1u);
    ExpectOnlyImageInTemp();

    // Up to date, a file is not even written again in place.
    const auto identity = [this] {
        struct stat status {};
        EXPECT_EQ(stat((target_ + Numbered(0, '/')).c_str(), &status), 0);
        return std::pair(status.st_ino, status.st_ctim.tv_nsec);
    };
    const auto firstIdentity = identity();
    ASSERT_EQ(Run(target_), ERR_NONE);
    report = progress_.ReadProgress();
    EXPECT_EQ(report.percent, 100);
    EXPECT_EQ(report.counts.written, 0u);  // the second run's own counts
    EXPECT_EQ(report.counts.upToDate, 300u);
    EXPECT_EQ(Snapshot(target_), first);
    EXPECT_EQ(identity(), firstIdentity);
    ExpectOnlyImageInTemp();
}

// Waits up to ten seconds for `done`.
bool Await(const std::function<bool()>& done) {
    for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

// Each thread takes 32 entries; the helper is held in its first until the worker (this thread) has stopped, then ends
// with that entry, and the first stop's code wins. Into new parents, the nearest existing folder's time goes back too;
// a cancel during the worker's last entry still counts.
TEST_F(InstallJobTest, AStopEndsBothThreadsAndRollsBackToTheExactEarlierTree) {
    const ErrorCode failed = ErrorFromErrno(EIO);
    // failAt: the worker's entry that fails (0: none); cancelAt: the percentage shown when cancel is pressed (-1: never).
    const std::tuple<const char*, std::string, int, int, bool, ErrorCode, int, const char*, int> cases[] = {
        {"failure", target_, 2, -1, false, failed, 3, "IDS_INSTALL_ERROR", 1},
        {"failure, into new parents", target_ + "new/deeper/", 2, -1, false, failed, 3, "IDS_INSTALL_ERROR", 1},
        {"cancel, then the other thread's failure", target_, 0, 1, true, ERR_CANCELLED, 3, "IDS_CANCEL_FINISH", 1},
        {"cancel during the last entry", target_, 0, 48, false, ERR_CANCELLED, 100, "IDS_CANCEL_FINISH", 32},
    };
    for (int i = 0; i < 64; ++i) AddFile((i < 32 ? "a\\t" : "b\\t") + std::to_string(i), "kit");
    UserFile("a/t0", "old 0", kKitSeconds - 10);
    UserFile("b/t40", "old 40", kKitSeconds - 10);
    SetTime(target_, 1100000000, 5);
    const TreeState before = Snapshot(target_);
    OpenKit();
    for (const auto& [name, target, failAt, cancelAt, helperFails, result, percent, message, helperTook] : cases) {
        SCOPED_TRACE(name);
        std::atomic<int> helperEntries{0};
        std::atomic<int> workerEntries{0};
        gTimeHook = [&, failAt = failAt, helperFails = helperFails](bool onTestThread) {
            if (onTestThread) return ++workerEntries == failAt ? 1 : 0;
            if (++helperEntries > 1) return 0;
            EXPECT_TRUE(Await([this] { return progress_.ReadProgress().counts.written > 0; }));
            return helperFails ? 1 : 0;
        };
        progress_.SetWakeUp([&, held = false, cancelAt = cancelAt](bool) mutable {  // at the first, the helper holds its entry
            EXPECT_TRUE(std::exchange(held, true) || Await([&] { return helperEntries > 0; }));
            if (progress_.ReadProgress().percent == cancelAt) progress_.RequestCancel();
        });
        EXPECT_EQ(Run(target), result);
        gTimeHook = nullptr;
        EXPECT_EQ(helperEntries, helperTook);
        const ProgressReport report = progress_.ReadProgress();
        EXPECT_EQ(report.status, result);
        EXPECT_EQ(report.percent, percent);
        EXPECT_TRUE(report.message == LoadResString(message));
        EXPECT_TRUE(report.keptBackup.empty());
        EXPECT_EQ(Snapshot(target_), before);
        ExpectOnlyImageInTemp();
    }
}

// The record's checksums come from the kit: a read that fails there must fail the run and undo it, not leave a
// record of wrong ones. A file the run writes has its checksum taken on the way; one it finds up to date (here) is
// read for it alone.
TEST_F(InstallJobTest, AKitReadFailingForTheRecordFailsTheRunAndLeavesTheTreeAsItWas) {
    AddFile("a.tpl", "kit a");
    UserFile("a.tpl", "user a", kKitSeconds + 10);
    const TreeState before = Snapshot(target_);
    OpenKit();
    gFailingReads = static_cast<int>(kit_.handle);
    EXPECT_EQ(Run(target_), ERR_INVALID_DATA);
    gFailingReads = -1;
    EXPECT_EQ(Snapshot(target_), before);
    ExpectOnlyImageInTemp();
}

// A name the kit lists twice is recorded as the file the run leaves there, whichever entry comes first: here the
// later one, which is newer than the user's file where the earlier one is not.
TEST_F(InstallJobTest, ANameListedTwiceIsRecordedAsTheEntryThatWritesIt) {
    AddFile("t.tpl", "first, older", kKitSeconds);
    AddFile("t.tpl", "second", kKitSeconds + 20);
    UserFile("t.tpl", "the user's", kKitSeconds + 10);
    OpenKit();
    ASSERT_EQ(Run(target_), ERR_NONE);
    const FolderDescriptor target(open(target_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    InstallRecord record;
    ASSERT_EQ(ReadRecord(target.get(), IdentityOfKit(kit_.descriptions), &record), RecordState::Found);
    ASSERT_EQ(record.files.size(), 1u);
    EXPECT_EQ(record.files[0].size, 6u);
    EXPECT_TRUE(record.files[0].checksum == ChecksumOfBytes("second"));
    EXPECT_EQ(ReadBytes(target_ + "t.tpl"), "second");
}

// The record is written again whenever it would change, even with no file written (a file dropped, the kit's order
// changed); one that would repeat itself line for line is left as it is.
TEST_F(InstallJobTest, TheRecordIsLeftAsItIsOnlyWhenItWouldRepeatItself) {
    for (const char* name : {"a.tpl", "b.tpl", "c.tpl"}) AddFile(name, std::string("kit ") + name);
    OpenKit();
    ASSERT_EQ(Run(target_), ERR_NONE);
    const std::string recordPath = target_ + RecordPath(IdentityOfKit(kit_.descriptions));
    const auto recorded = [this] {
        const FolderDescriptor target(open(target_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        InstallRecord record;
        EXPECT_EQ(ReadRecord(target.get(), IdentityOfKit(kit_.descriptions), &record), RecordState::Found);
        std::vector<std::string> paths;
        for (const RecordedFile& file : record.files) paths.push_back(file.path);
        return paths;
    };
    const auto inode = [&recordPath] {
        struct stat status {};
        EXPECT_EQ(stat(recordPath.c_str(), &status), 0);
        return status.st_ino;
    };
    const ino_t first = inode();
    ASSERT_EQ(Run(target_), ERR_NONE);
    EXPECT_EQ(inode(), first);

    const auto reinstall = [this](std::vector<KitFileSource> files) {
        KitClose(kit_);
        source_.files = std::move(files);
        OpenKit();
        ASSERT_EQ(Run(target_), ERR_NONE);
        EXPECT_EQ(progress_.ReadProgress().counts.written, 0u);
    };
    const KitFileSource a = source_.files[0], b = source_.files[1], c = source_.files[2];
    reinstall({c, b, a});
    EXPECT_EQ(recorded(), (std::vector<std::string>{"c.tpl", "b.tpl", "a.tpl"}));
    reinstall({a});
    EXPECT_EQ(recorded(), std::vector<std::string>{"a.tpl"});
}

// A kit read for its directory first (as a silent run reads it) is unpacked only when the run needs its files: damaged
// past its directory, it then stops the run before any change, as a kit that cannot be opened does.
TEST_F(InstallJobTest, AKitReadForItsDirectoryFirstIsUnpackedOnlyForFilesItWrites) {
    AddFile("a.tpl", std::string(200000, 'a'));
    AddFile("b.tpl", "kit b");
    OpenKit();
    ASSERT_EQ(Run(target_), ERR_NONE);  // the record now describes both
    KitClose(kit_);
    const std::string kitFile = env_ / "qorn.efd";
    const std::string whole = ReadBytes(kitFile);
    WriteBytes(kitFile, whole.substr(0, whole.size() - 8));
    const TreeState installed = Snapshot(target_);
    ASSERT_EQ(KitOpenDirectoryFirst(kit_, Wide(kitFile)), ERR_NONE);
    EXPECT_EQ(Run(target_), ERR_NONE);
    EXPECT_EQ(progress_.ReadProgress().counts.upToDate, 2u);
    EXPECT_TRUE(Names(env_.temp()).empty());
    SetTime(target_ + "b.tpl", kKitSeconds - 10);  // now older than the kit's
    const TreeState older = Snapshot(target_);
    EXPECT_EQ(Run(target_), ERR_KIT_NOT_UNPACKED);
    EXPECT_TRUE(progress_.ReadProgress().message == LoadResString("IDS_ERROR_DAMAGEDSOURCE"));
    EXPECT_EQ(Snapshot(target_), older);
    EXPECT_TRUE(Names(env_.temp()).empty());
    EXPECT_NE(older, installed);
}

// Out of memory on either installing thread (here thrown where it reads the kit) stops the run and undoes it: an
// installation error, where the exception used to end the process. The other thread goes slowly meanwhile, so that
// the throwing one surely has entries of its own.
TEST_F(InstallJobTest, AnExceptionOnEitherThreadIsAFailureUndoneNotTheEndOfTheProcess) {
    for (int i = 0; i < 100; ++i) AddFile("folder" + std::to_string(i % 5) + "/template" + std::to_string(i), "kit");
    UserFile("folder0/template0", "older", kKitSeconds - 10);
    const TreeState before = Snapshot(target_);
    OpenKit();
    gImageDescriptor = static_cast<int>(kit_.handle);
    for (const bool onTestThread : {false, true}) {
        gImageReadHook = [onTestThread](bool testThread) {
            if (testThread == onTestThread) throw std::bad_alloc();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        EXPECT_EQ(Run(target_), ErrorFromErrno(ENOMEM)) << onTestThread;
        gImageReadHook = nullptr;
        EXPECT_TRUE(progress_.ReadProgress().message == LoadResString("IDS_INSTALL_ERROR")) << onTestThread;
        EXPECT_EQ(Snapshot(target_), before) << onTestThread;
        ExpectOnlyImageInTemp();
    }
    gImageDescriptor = -1;
}

// Read for its directory first, a kit is installed by both threads straight from its stream, and nothing is
// unpacked into TMPDIR; a kit cut short midway is found damaged by whichever thread reads there, and one cut in the
// last file, which the run leaves as it is, at the stream's end: either way the run undoes what both had written.
TEST_F(InstallJobTest, BothThreadsInstallFromTheStreamAndItsDamageUndoesWhatTheyWrote) {
    for (std::size_t i = 0; i < 200; ++i) AddFile("d" + std::to_string(i % 7) + "/f" + std::to_string(i), Noise(i, 20000));
    UserFile("d0/f0", "older", kKitSeconds - 10);
    UserFile("d3/f199", "newer", kKitSeconds + 10);
    const WString kitPath = Wide(env_ / "qorn.efd");
    ASSERT_EQ(WriteKit(source_, kitPath), ERR_NONE);
    const std::string whole = ReadBytes(Narrow(kitPath));
    const TreeState before = Snapshot(target_);
    for (const std::size_t cut : {whole.size() / 3, whole.size() - 100}) {
        WriteBytes(Narrow(kitPath), whole.substr(0, cut));
        ASSERT_EQ(KitOpenDirectoryFirst(kit_, kitPath), ERR_NONE) << cut;
        EXPECT_EQ(Run(target_), ERR_KIT_NOT_UNPACKED) << cut;
        EXPECT_TRUE(progress_.ReadProgress().message == LoadResString("IDS_ERROR_DAMAGEDSOURCE"));
        EXPECT_EQ(Snapshot(target_), before) << cut;
        EXPECT_TRUE(Names(env_.temp()).empty());
        EXPECT_EQ(Names(JournalFolderPath()), std::vector<std::string>{});
    }
    WriteBytes(Narrow(kitPath), whole);
    ASSERT_EQ(KitOpenDirectoryFirst(kit_, kitPath), ERR_NONE);
    ASSERT_EQ(Run(target_), ERR_NONE);
    const TreeState installed = Snapshot(target_);
    for (std::size_t i = 0; i < 199; ++i) {
        EXPECT_TRUE(installed.at("d" + std::to_string(i % 7) + "/f" + std::to_string(i)).content == Noise(i, 20000)) << i;
    }
    EXPECT_EQ(installed.at("d3/f199").content, "newer");
    EXPECT_EQ(progress_.ReadProgress().counts.written, 199u);
    EXPECT_TRUE(Names(env_.temp()).empty());
}

// An edit of a file whose name leaves no room for the kept copy's suffix is
// kept all the same, under the name cut short at a character's start; two
// such names cut alike get two kept names.
TEST_F(InstallJobTest, EditsOfFilesWithTheLongestNamesAreKeptUnderShortenedNames) {
    std::string accents;
    for (int i = 0; i < 124; ++i) accents += "\u00e9";
    const std::vector<std::string> names = {std::string(246, 'x') + "a.tpl", std::string(246, 'x') + "b.tpl",
                                            "d/x" + accents + ".tpl"};
    const auto kit = [&](const char* version, std::int64_t seconds) {
        KitClose(kit_);
        source_.files.clear();
        for (const std::string& name : names) AddFile(name, version + name.substr(name.size() - 5), seconds);
        OpenKit();
    };
    kit("v1 ", kKitSeconds);
    ASSERT_EQ(Run(target_), ERR_NONE);
    for (const std::string& name : names) UserFile(name, "edited " + name.substr(name.size() - 5), kKitSeconds + 50);
    kit("v2 ", kKitSeconds + 100);
    ASSERT_EQ(Run(target_), ERR_NONE);
    const TreeState tree = Snapshot(target_);
    std::set<std::string> kept;
    for (const auto& [path, state] : tree) {
        if (path.find(".qorn-old") == std::string::npos) continue;
        kept.insert(path);
        EXPECT_LE(path.size() - (path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1), std::size_t{NAME_MAX});
        // The kept copy of the edit of the file whose name it begins with, cut between two characters.
        const std::string base = path.substr(0, path.find(".qorn-old"));
        const auto original = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
            return name.compare(0, base.size(), base) == 0 && state.content == "edited " + name.substr(name.size() - 5);
        });
        ASSERT_NE(original, names.end()) << path;
        EXPECT_TRUE(base.size() == original->size() || (static_cast<unsigned char>((*original)[base.size()]) & 0xC0) != 0x80)
            << path << " cuts a character";
    }
    EXPECT_EQ(kept.size(), 3u);
    for (const std::string& name : names) EXPECT_EQ(tree.at(name).content.substr(0, 3), "v2 ") << name;
}

// What a removal takes is only the leaving kit's own: a file another kit
// installed too stays for it (also when an update stops shipping it), and one
// the user saves again after the plan, or one in a folder the user made a
// link, stays and is named kept, not removed.
TEST_F(InstallJobTest, ARemovalLeavesWhatAnotherKitOrTheUserStillHas) {
    const auto kit = [&](const char* product, const std::vector<std::string>& names) {
        KitClose(kit_);
        source_.files.clear();
        source_.descriptions = {{u"en", Wide(product), u"Provider", WString()}};
        for (const std::string& name : names) AddFile(name, "same bytes in both kits");
        OpenKit();
    };
    kit("B", {"shared/common.tpl", "shared/b.tpl"});
    ASSERT_EQ(Run(target_), ERR_NONE);
    kit("A", {"shared/common.tpl", "a/only.tpl", "a/dropped.tpl"});
    ASSERT_EQ(Run(target_), ERR_NONE);
    kit("A", {"a/only.tpl", "a/edited.tpl", "linked/c.tpl"});  // the update no longer ships the shared file
    ASSERT_EQ(Run(target_), ERR_NONE);
    const std::string moved = env_ / "moved";  // the user moves a folder elsewhere and links it back
    ASSERT_EQ(rename((target_ + "linked").c_str(), moved.c_str()), 0);
    ASSERT_EQ(symlink(moved.c_str(), (target_ + "linked").c_str()), 0);
    EXPECT_EQ(Snapshot(target_).count("shared/common.tpl"), 1u);
    EXPECT_EQ(Snapshot(target_).count("a/dropped.tpl"), 0u);
    InstallTransaction uninstall;
    ASSERT_EQ(uninstall.Plan(Wide(target_), kit_.entries, {RecordOptions::Kind::Uninstall, IdentityOfKit(kit_.descriptions)}),
              ERR_NONE);
    UserFile("a/edited.tpl", "saved again", kKitSeconds + 10);
    ASSERT_EQ(uninstall.Begin(), ERR_NONE);
    ASSERT_EQ(uninstall.FinishRecord(), ERR_NONE);
    ASSERT_EQ(uninstall.Commit(), ERR_NONE);
    RunSummary summary;
    uninstall.Describe(summary);
    ASSERT_EQ(summary.removed.size(), 1u);
    EXPECT_EQ(summary.removed[0], "a/only.tpl");
    ASSERT_EQ(summary.keptEdits.size(), 2u);
    EXPECT_EQ(summary.keptEdits[0].path, "linked/c.tpl");
    EXPECT_EQ(summary.keptEdits[1].path, "a/edited.tpl");
    EXPECT_EQ(ReadBytes(moved + "/c.tpl"), "same bytes in both kits");
    std::vector<std::string> files;
    for (const auto& [path, state] : Snapshot(target_)) {
        if (S_ISREG(state.mode) && path.rfind(kRecordFolder, 0) != 0) files.push_back(path);
    }
    EXPECT_EQ(files, (std::vector<std::string>{"a/edited.tpl", "shared/b.tpl", "shared/common.tpl"}));
}

// Hundreds of recorded files are looked at by two threads, each keeping its folder open while it can: an edit is found
// wherever it lies, in either half and any folder, on an update (kept aside) and on an uninstallation (left in place),
// and only files still as installed are removed. A file untouched since the record was written is not even read; one
// edited and given back its size and time is, and its edit is kept too.
TEST_F(InstallJobTest, EditsAmongManyRecordedFilesAreFoundWhereverTheyLie) {
    constexpr int kFiles = 600;
    const auto name = [](int i) { return "f" + std::to_string(i / 100) + "/t" + std::to_string(i) + ".tpl"; };
    const auto kit = [&](const char* version, int files, std::int64_t seconds) {
        KitClose(kit_);
        source_.files.clear();
        for (int i = 0; i < files; ++i) AddFile(name(i), version + std::to_string(i), seconds);
        OpenKit();
    };
    kit("v1 ", kFiles, kKitSeconds);
    ASSERT_EQ(Run(target_), ERR_NONE);
    // The user's changes, each older than the next kit: same size, another size, gone; among the files the next kit
    // drops, one edited and one turned into a folder.
    for (const int i : {5, 450, 595}) UserFile(name(i), "V1 " + std::to_string(i), kKitSeconds + 50);
    UserFile(name(451), "a longer edit", kKitSeconds + 50);
    ASSERT_EQ(unlink((target_ + name(300)).c_str()), 0);
    ASSERT_EQ(unlink((target_ + name(597)).c_str()), 0);
    MakeDirectories(target_ + name(597));
    UserFile(name(150), "V1 150", kKitSeconds);
    // The record's own status changes after that edit (as a rollback that puts it back would change it): it still
    // tells when it was written.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::string record = target_ + RecordPath(IdentityOfKit(kit_.descriptions));
    struct stat recordStatus {};
    ASSERT_EQ(stat(record.c_str(), &recordStatus), 0);
    ASSERT_EQ(chmod(record.c_str(), recordStatus.st_mode & 07777), 0);

    kit("v2 ", 590, kKitSeconds + 100);
    // Read, a file installed with the kit's old time gets the present as its access time (relatime); where the file
    // system keeps no access times, only the edit is checked.
    const auto accessed = [&](int i) {
        struct stat status {};
        EXPECT_EQ(stat((target_ + name(i)).c_str(), &status), 0);
        return status.st_atim.tv_sec;
    };
    const std::int64_t before = accessed(7);
    InstallTransaction dryRun;
    ASSERT_EQ(dryRun.Plan(Wide(target_), kit_.entries, {RecordOptions::Kind::DryRun, IdentityOfKit(kit_.descriptions)}),
              ERR_NONE);
    RunSummary planned;
    dryRun.Describe(planned);
    EXPECT_TRUE(std::any_of(planned.keptEdits.begin(), planned.keptEdits.end(),
                            [&](const RunSummary::KeptEdit& kept) { return kept.path == name(150); }));
    const std::int64_t after = accessed(7);
    (void)ReadBytes(target_ + name(8));  // as untouched as the first, and surely read
    if (accessed(8) != before) {
        EXPECT_EQ(after, before) << "read, though unchanged since the record";
    }

    ASSERT_EQ(Run(target_), ERR_NONE);
    TreeState tree = Snapshot(target_);
    EXPECT_EQ(tree.at(name(150) + ".qorn-old").content, "V1 150");
    for (const int i : {5, 450}) {
        EXPECT_EQ(tree.at(name(i)).content, "v2 " + std::to_string(i));
        EXPECT_EQ(tree.at(name(i) + ".qorn-old").content, "V1 " + std::to_string(i));
    }
    EXPECT_EQ(tree.at(name(451)).content, "v2 451");
    EXPECT_EQ(tree.at(name(451) + ".qorn-old").content, "a longer edit");
    EXPECT_EQ(tree.at(name(300)).content, "v2 300");
    EXPECT_EQ(tree.count(name(300) + ".qorn-old"), 0u);
    EXPECT_EQ(tree.at(name(595)).content, "V1 595");
    EXPECT_TRUE(S_ISDIR(tree.at(name(597)).mode));
    for (const int i : {590, 591, 596, 599}) EXPECT_EQ(tree.count(name(i)), 0u) << i;

    // Uninstalled with two more edits, one in each half: they and the user's files are all that is left.
    for (const int i : {10, 500}) UserFile(name(i), "V2 " + std::to_string(i), kKitSeconds + 200);
    progress_.StartJob(kit_, Wide(target_), RunSummary::Kind::Uninstall);
    InstallTransaction uninstall;
    ASSERT_EQ(RunInstallJob(uninstall, progress_), ERR_NONE);
    std::vector<std::string> files;
    for (const auto& [path, state] : Snapshot(target_)) {
        if (S_ISREG(state.mode)) files.push_back(path);
    }
    std::vector<std::string> expected{name(10),  name(150) + ".qorn-old", name(450) + ".qorn-old", name(451) + ".qorn-old",
                                      name(5) + ".qorn-old", name(500), name(595)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(files, expected);
}

}  // namespace

extern "C" int futimens(int descriptor, const struct timespec times[2]) {
    if (gTimeHook && gTimeHook(std::this_thread::get_id() == gTestThread) != 0) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(syscall(SYS_utimensat, descriptor, nullptr, times, 0));
}

extern "C" ssize_t pread(int descriptor, void* buffer, size_t count, off_t offset) {
    if (gImageReadHook && descriptor == gImageDescriptor) gImageReadHook(std::this_thread::get_id() == gTestThread);
    if (descriptor == gFailingReads) {
        errno = EIO;
        return -1;
    }
    return static_cast<ssize_t>(syscall(SYS_pread64, descriptor, buffer, count, offset));
}
