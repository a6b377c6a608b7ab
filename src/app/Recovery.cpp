#include "app/Recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/RunRollback.h"
#include "kit/KitReader.h"
#include "platform/File.h"
#include "platform/FolderBeneath.h"
#include "platform/Retried.h"
#include "platform/TempSpace.h"
#include "launcher/WholeFileRead.h"

namespace {

// A start that holds a journal only reads it before it tries the lock of
// its directory; thirty seconds are enough for the largest.
constexpr int kSettlerWaits = 3000;
constexpr useconds_t kSettlerPause = 10000;

struct DirectoryCloser {
    void operator()(DIR* stream) const { closedir(stream); }
};

std::vector<std::string> NamesIn(const std::string& folder, const std::string& prefix, const std::string& suffix) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, DirectoryCloser> stream(opendir(folder.c_str()));
    if (!stream) return names;
    while (const dirent* entry = readdir(stream.get())) {
        const std::string name = entry->d_name;
        if (name.size() < prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) names.push_back(name);
    }
    return names;
}

// Opens a file of ours and takes its lock; -1 when it is held (a live run)
// or the file is not a plain file of this user.
int OpenUnlocked(const std::string& path, int mode) {
    const int descriptor = open(path.c_str(), mode | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return -1;
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != geteuid() ||
        flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}

// Every byte of the journal, or kUnreadable: a read that fails half way is
// never taken for a journal that ends there.
WholeFileRead ReadWhole(int descriptor, std::string& bytes) {
    bytes.clear();
    char chunk[65536];
    for (;;) {
        const ssize_t got = Retried([&] { return read(descriptor, chunk, sizeof chunk); });
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) return WholeFileRead::kRead;
        if (got < 0) return WholeFileRead::kUnreadable;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

// A dead run left for another start to settle.
RecoveredRun BusyRun(const std::string& target) {
    RecoveredRun run;
    run.target = target;
    run.busy = true;
    return run;
}

// A journal another process holds, of the held directory, one inside it or
// one around it: no live run can be there, so a start is settling it and
// lets go soon, either done or because the caller's lock keeps it out. Then
// it is the caller's: its descriptor, locked; -1 when it is settled, or
// belongs elsewhere.
int WaitForSettler(const std::string& path, const DirectoryLock& held, std::vector<RecoveredRun>& recovered) {
    FileHandleGuard journal(open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (journal.get() == INVALID_FILE_HANDLE || fstat(static_cast<int>(journal.get()), &status) != 0 ||
        !S_ISREG(status.st_mode) || status.st_uid != geteuid()) {
        return -1;
    }
    const int descriptor = static_cast<int>(journal.get());
    std::string bytes;
    // Unread, it names no directory: whoever settles it will say so.
    if (ReadWhole(descriptor, bytes) != WholeFileRead::kRead) return -1;
    const JournalContent content = ParseJournal(bytes);
    const std::string directory = CanonicalDirectory(content.anchor, content.TargetBelowAnchor());
    if (content.target.empty() || !(held.Covers(directory) || held.IsInside(directory))) return -1;
    for (int waited = 0; flock(descriptor, LOCK_EX | LOCK_NB) != 0; ++waited) {
        if (waited == kSettlerWaits) {
            recovered.push_back(BusyRun(content.target));
            return -1;
        }
        usleep(kSettlerPause);
    }
    // Removed meanwhile: settled by the one that held it.
    if (fstat(descriptor, &status) != 0 || status.st_nlink == 0 || lseek(descriptor, 0, SEEK_SET) != 0) return -1;
    return static_cast<int>(journal.release());
}

void RemoveDeadImages(const std::string& tempFolder) {
    for (const std::string& name : NamesIn(tempFolder, kImagePrefix, "")) {
        // Only a name this installer makes: a user's file that starts alike stays.
        if (!IsTempFileName(name, kImagePrefix)) continue;
        const std::string path = tempFolder + "/" + name;
        const FileHandleGuard image(OpenUnlocked(path, O_RDONLY));
        // Removed while the lock is held, so no new run can claim it in between.
        if (image.get() != INVALID_FILE_HANDLE) (void)unlink(path.c_str());  // a second start may have removed it first
    }
}

// A run killed between naming its backup folder in the journal and recording
// the folder it made may have left that folder, empty. It goes unless another
// run's journal names it: that run made it since.
void RemoveUnrecordedBackup(const JournalContent& content, const std::string& path, const std::string& journalFolder) {
    for (const std::string& name : NamesIn(journalFolder, "run-", ".journal")) {
        const std::string other = journalFolder + "/" + name;
        if (other == path) continue;
        const FileHandleGuard journal(open(other.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (journal.get() == INVALID_FILE_HANDLE) continue;
        std::string bytes;
        // One that cannot be read may name it: the folder stays.
        if (ReadWhole(static_cast<int>(journal.get()), bytes) != WholeFileRead::kRead) return;
        if (ParseJournal(bytes).backup == content.backup) return;
    }
    // Only an empty folder goes: nothing of anybody's can be lost with it.
    (void)rmdir(content.backup.c_str());
}

// False when the run had made its target and it is not there now, or
// another folder is: its files went with it, and an undo would find nothing
// to undo where it looks.
bool MadeTargetThere(const JournalContent& content, int anchor) {
    if (content.madeTarget == FolderIdentity{}) return true;
    const FolderDescriptor target(Retried([&] { return OpenFolderBeneath(anchor, content.TargetBelowAnchor()); }));
    struct stat status {};
    return target.valid() && fstat(target.get(), &status) == 0 &&
           FolderIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)} ==
               content.madeTarget;
}

// Settles one dead run's journal, already locked at `journal`; false when
// it was left for another time (its directory is busy).
bool SettleJournal(const std::string& path, int journal, const std::string& journalFolder, const DirectoryLock* held,
                   std::vector<RecoveredRun>& recovered) {
    std::string bytes;
    if (ReadWhole(journal, bytes) != WholeFileRead::kRead) {
        // Unread, it tells nothing: kept as it is for a start that can read it.
        RecoveredRun unread;
        unread.keptJournal = path;
        recovered.push_back(unread);
        return true;
    }
    const JournalContent content = ParseJournal(bytes);
    if (!JournalIsSound(content, journalFolder)) {
        // Never followed: damaged, or not this installer's. Kept for whoever wants to look.
        const std::string aside = path + ".bad";
        RecoveredRun setAside;
        setAside.target = content.target;
        setAside.setAside = aside;
        if (rename(path.c_str(), aside.c_str()) == 0) recovered.push_back(setAside);
        return true;
    }
    if (content.target.empty()) return unlink(path.c_str()) == 0;  // cut short before anything was claimed
    const FolderDescriptor anchor(OpenAnchor(content));
    if (!anchor.valid() || (!content.committed && !content.undone && !MadeTargetThere(content, anchor.get()))) {
        // Not where the journal says (moved, renamed, not mounted), or
        // another folder at its path: the journal waits for it to come back.
        RecoveredRun waiting;
        waiting.target = content.target;
        waiting.keptJournal = path;
        waiting.waiting = true;
        waiting.backup = content.backup;
        recovered.push_back(waiting);
        return true;
    }
    // One run per directory: a live one holds it, and settles this journal before it plans.
    const std::string directory = CanonicalDirectory(content.anchor, content.TargetBelowAnchor());
    DirectoryLock lock;
    if (held == nullptr || !held->Covers(directory)) {
        if (directory.empty() || lock.Acquire(LockFolder(), directory) != ERR_NONE) {
            // Around the caller's directory: its files may lie where the caller plans.
            if (held != nullptr && held->IsInside(directory)) recovered.push_back(BusyRun(content.target));
            return false;
        }
    }
    const FolderDescriptor backup(OpenBackupFolder(content));
    bool settled = true;
    if (content.committed || content.undone) {
        settled = FinishCommittedRun(content, backup.get());
    } else {
        if (!content.backup.empty() && content.backupIdentity == FolderIdentity{}) {
            RemoveUnrecordedBackup(content, path, journalFolder);
        }
        const RollbackOutcome outcome = RollBackRun(content, anchor.get(), backup.get());
        if (content.planned) {
            RecoveredRun undone;
            undone.target = content.target;
            undone.keptBackup = outcome.keptBackup;
            undone.unfinished = outcome.unfinished;
            if (outcome.unfinished) undone.keptJournal = path;
            recovered.push_back(undone);
        }
        // Every original back, the backup not yet gone: the next start only removes it.
        settled = !outcome.unfinished &&
                  (outcome.settled || !outcome.originalsRestored || !AppendUndoneMark(journal));
    }
    if (settled) (void)unlink(path.c_str());  // settled: a journal that stays would only be settled again
    return true;
}

}  // namespace

std::vector<RecoveredRun> RecoverDeadRuns(const std::string& journalFolder, const std::string& tempFolder,
                                          const DirectoryLock* held) {
    std::vector<RecoveredRun> recovered;
    if (!journalFolder.empty()) {
        for (const std::string& name : NamesIn(journalFolder, "run-", ".journal")) {
            const std::string path = journalFolder + "/" + name;
            FileHandleGuard journal(OpenUnlocked(path, O_RDWR));
            if (journal.get() == INVALID_FILE_HANDLE && held != nullptr) {
                journal.reset(WaitForSettler(path, *held, recovered));
            }
            if (journal.get() == INVALID_FILE_HANDLE) continue;
            try {
                (void)SettleJournal(path, static_cast<int>(journal.get()), journalFolder, held, recovered);
            } catch (const std::exception&) {  // out of memory on a huge journal: left for the next start
            }
        }
    }
    if (!tempFolder.empty()) RemoveDeadImages(tempFolder);
    return recovered;
}

std::vector<std::string> UnsettledTargets(const std::string& journalFolder) {
    std::vector<std::string> targets;
    if (journalFolder.empty()) return targets;
    for (const std::string& name : NamesIn(journalFolder, "run-", ".journal")) {
        const std::string path = journalFolder + "/" + name;
        FileHandleGuard journal(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        const int descriptor = static_cast<int>(journal.get());
        struct stat status {};
        // A live run holds its journal: a shared lock is refused then, and dropped at once otherwise.
        if (journal.get() == INVALID_FILE_HANDLE || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != geteuid() || flock(descriptor, LOCK_SH | LOCK_NB) != 0) {
            continue;
        }
        std::string bytes;
        const bool read = ReadWhole(descriptor, bytes) == WholeFileRead::kRead;
        (void)flock(descriptor, LOCK_UN);
        if (!read) continue;
        const JournalContent content = ParseJournal(bytes);
        if (JournalIsSound(content, journalFolder) && content.planned && !content.committed && !content.undone &&
            !content.target.empty()) {
            targets.push_back(content.target);
        }
    }
    return targets;
}
