#include "app/RunRollback.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileCopy.h"
#include "platform/FileTree.h"

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Gone already counts as removed.
bool Unlink(const std::string& path, int flags = 0) {
    return unlinkat(AT_FDCWD, path.c_str(), flags) == 0 || errno == ENOENT;
}

void RemoveCreated(const JournalContent& journal) {
    for (const JournalFile& file : journal.files) {
        // Left-overs of a write cut short; a failure leaves only a hidden
        // temporary file behind, nothing of the user's.
        (void)Unlink(FolderOf(file.path) + TemporaryName(journal.tag, file.index));
        if (!file.replaces) (void)Unlink(file.path);
    }
    // Inner before outer; one that holds something the run did not put there stays.
    for (auto it = journal.createdDirs.rbegin(); it != journal.createdDirs.rend(); ++it) {
        (void)Unlink(*it, AT_REMOVEDIR);
    }
}

// Across file systems the copy goes to a temporary name first, so the
// destination always holds one whole version.
bool CopyBack(const std::string& from, const std::string& to, const std::string& temporary) {
    const int folder = open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return false;
    const std::string name = NameOf(temporary);
    (void)unlinkat(folder, name.c_str(), 0);  // a copy cut short by an earlier attempt
    bool copied = CopyFileSynced(AT_FDCWD, from.c_str(), folder, name.c_str()) == 0 &&
                  renameat(folder, name.c_str(), folder, NameOf(to).c_str()) == 0;
    close(folder);
    return copied && Unlink(from);
}

// One original back in place; true also when it never left.
bool RestoreOriginal(const JournalContent& journal, const JournalFile& file) {
    const std::string saved = journal.backup + file.path.substr(journal.target.size());
    if (rename(saved.c_str(), file.path.c_str()) == 0) {
        // A hard link of the file still in place is left by the rename; it goes now.
        return Unlink(saved);
    }
    const int error = errno;
    struct stat status {};
    // Never saved: the original never moved. (Across file systems the rename
    // fails before it looks for the source at all.)
    if ((error == ENOENT || error == EXDEV) && lstat(saved.c_str(), &status) != 0 && errno == ENOENT) return true;
    if (error != EXDEV) return false;
    return CopyBack(saved, file.path, FolderOf(file.path) + TemporaryName(journal.tag, file.index));
}

void RestoreFolderTimes(const JournalContent& journal) {
    for (const JournalFolderTime& saved : journal.folderTimes) {
        const timespec times[2] = {{0, UTIME_OMIT}, {saved.seconds, saved.nanoseconds}};
        // A folder that is gone or refuses its time changes nothing of the user's files.
        (void)utimensat(AT_FDCWD, saved.path.c_str(), times, 0);
    }
}

}  // namespace

RollbackOutcome RollBackRun(const JournalContent& journal) {
    RollbackOutcome outcome;
    if (journal.planned) {
        RemoveCreated(journal);
        if (!journal.backup.empty()) {
            for (const JournalFile& file : journal.files) {
                if (file.replaces && !RestoreOriginal(journal, file)) outcome.originalsRestored = false;
            }
        }
        RestoreFolderTimes(journal);
    }
    if (journal.backup.empty()) return outcome;
    if (outcome.originalsRestored) {
        RemoveSystemTree(journal.backup);
    } else {
        outcome.keptBackup = journal.backup;
    }
    return outcome;
}

void FinishCommittedRun(const JournalContent& journal) {
    if (!journal.backup.empty()) RemoveSystemTree(journal.backup);
}
