#include "app/RunRollback.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cerrno>
#include <set>

#include "platform/FileCopy.h"
#include "platform/FolderBeneath.h"
#include "platform/FolderCursor.h"
#include "platform/Retried.h"

namespace {

// Gone already counts as removed.
bool Unlink(int folder, const std::string& name, int flags = 0) {
    return Retried([&] { return unlinkat(folder, name.c_str(), flags); }) == 0 || errno == ENOENT;
}

bool StatEntry(int folder, const std::string& name, struct stat& status) {
    return folder >= 0 &&
           Retried([&] { return fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW); }) == 0;
}

// The file the run wrote: its kind, the kit entry's size and time as the file
// system keeps it (one that keeps whole seconds or microseconds drops the
// rest), and the very file where the journal knows which (`inodes`). A
// journal that records them and has none for the file: the run never put it
// in place.
bool IsWritten(int folder, const std::string& name, const struct stat& status, const JournalFile& file, bool inodes) {
    const FileIdentity& written = file.written;
    if (!S_ISREG(status.st_mode) || status.st_size != written.size || status.st_mtim.tv_sec != written.seconds) {
        return false;
    }
    if (inodes && !file.writtenInstance.Matches(InstanceAt(folder, name.c_str()))) return false;
    const std::int64_t found = status.st_mtim.tv_nsec;
    return found == written.nanoseconds || found == written.nanoseconds / 1000 * 1000 || found == 0;
}

// The original itself: its size and exact time, and the very file where known.
bool IsOriginal(int folder, const std::string& name, const struct stat& status, const JournalFile& file) {
    return IdentityOfStatus(status) == file.original &&
           (!file.originalInstance.known() || file.originalInstance.Matches(InstanceAt(folder, name.c_str())));
}

// Two files with the same bytes: dropping one of them loses nothing.
bool SameBytes(int folderA, const std::string& nameA, int folderB, const std::string& nameB) {
    const FolderDescriptor a(openat(folderA, nameA.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    const FolderDescriptor b(openat(folderB, nameB.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!a.valid() || !b.valid()) return false;
    char left[65536];
    char right[sizeof left];
    for (off_t offset = 0;;) {
        const ssize_t got = pread(a.get(), left, sizeof left, offset);
        if (got < 0 || pread(b.get(), right, sizeof right, offset) != got) return false;
        if (got == 0) return true;
        if (std::memcmp(left, right, static_cast<std::size_t>(got)) != 0) return false;
        offset += got;
    }
}

// A failed call counts against the undo unless it tells about the tree.
void Note(bool done, RollbackOutcome& outcome) {
    if (!done && !IsAnswer(errno)) outcome.unfinished = true;
}

void RemoveCreated(const JournalContent& journal, int target, RollbackOutcome& outcome) {
    FolderCursor folders(target, journal.links);
    for (const JournalFile& file : journal.files) {
        const int folder = folders.At(FolderPart(file.path));
        // Never made, or no longer reachable below the target: not touched.
        if (folder < 0) {
            errno = folders.error();
            Note(false, outcome);
            continue;
        }
        // Left-overs of a write cut short (asked first: a read-only folder refuses even what is not there).
        const std::string temporary = TemporaryName(journal.tag, file.index);
        struct stat status {};
        if (StatEntry(folder, temporary, status)) Note(Unlink(folder, temporary), outcome);
        const std::string name(NamePart(file.path));
        // Only the file the run wrote: one made since by somebody else stays.
        if (!file.replaces && StatEntry(folder, name, status) && IsWritten(folder, name, status, file, journal.inodes)) {
            const bool removed = Unlink(folder, name);
            Note(removed, outcome);
            if (!removed) outcome.createdLeft.push_back(file.path);
        }
    }
}

void RemoveCreatedFolders(const JournalContent& journal, int anchor) {
    // Inner before outer; one that holds something the run did not put there stays.
    for (auto it = journal.createdDirs.rbegin(); it != journal.createdDirs.rend(); ++it) {
        const FolderDescriptor parent(
            Retried([&] { return OpenFolderBeneath(anchor, FolderPart(*it), journal.links); }));
        if (parent.valid()) (void)Unlink(parent.get(), std::string(NamePart(*it)), AT_REMOVEDIR);
    }
}

// Across file systems the copy goes to a temporary name first, so the
// destination always holds one whole version, and the backup copy goes only
// once the rename that replaces it is on disk.
bool CopyBack(int from, const std::string& saved, int to, const std::string& name, const std::string& temporary) {
    (void)unlinkat(to, temporary.c_str(), 0);  // a copy cut short by an earlier attempt
    const auto copy = [&] {
        errno = CopyFileSynced(from, saved.c_str(), to, temporary.c_str());
        return errno == 0 ? 0 : -1;
    };
    return Retried(copy) == 0 &&
           Retried([&] { return renameat(to, temporary.c_str(), to, name.c_str()); }) == 0 &&
           Retried([&] { return fsync(to); }) == 0 && Unlink(from, saved);
}

// Where the backup keeps the original of `file`: in the backup folder itself
// under its BackupName, or (older journals) in a copy of its folder under its own name.
std::string_view SavedFolder(const JournalContent& journal, const JournalFile& file) {
    return journal.flatBackup ? std::string_view() : FolderPart(file.path);
}
std::string SavedName(const JournalContent& journal, const JournalFile& file) {
    return journal.flatBackup ? BackupName(file.index, file.path) : std::string(NamePart(file.path));
}

// One original back in place; true also when it never left. False when it
// stays in the backup, with errno telling whether that was a failure.
bool RestoreOriginal(const JournalContent& journal, const JournalFile& file, int folder, int saved) {
    if (folder < 0) return false;  // its folder is no longer reachable below the target
    const std::string name(NamePart(file.path));
    const std::string savedName = SavedName(journal, file);
    struct stat current {};
    struct stat backup {};
    const bool present = StatEntry(folder, name, current);
    // A backup that is not whole (or not the original) is never put back.
    const bool backedUp = StatEntry(saved, savedName, backup);
    const bool whole = backedUp && IdentityOfStatus(backup) == file.original;
    // Never moved, or already back (a copy put back is another inode with the same bytes): the backup's name goes.
    if (present && (IsOriginal(folder, name, current, file) ||
                    (whole && IdentityOfStatus(current) == file.original && SameBytes(folder, name, saved, savedName)))) {
        return !whole || Unlink(saved, savedName);
    }
    // The backup's name is a second name of the very file in place, which an
    // edit saved into it changed: nothing is lost with that name.
    if (present && backedUp && backup.st_ino == current.st_ino && backup.st_dev == current.st_dev) {
        return Unlink(saved, savedName);
    }
    errno = ENOENT;  // what follows keeps the original by choice, not by a fault
    // Changed since the run by somebody else: theirs stays, the original stays
    // in the backup. Where the run removed the original, anything there now is somebody else's.
    if (present && (file.removes || !IsWritten(folder, name, current, file, journal.inodes))) return false;
    if (!whole) return false;  // replaced, and the original is not there to go back
    if (Retried([&] { return renameat(saved, savedName.c_str(), folder, name.c_str()); }) == 0) return true;
    return errno == EXDEV && CopyBack(saved, savedName, folder, name, TemporaryName(journal.tag, file.index));
}

// The folders the run removed, outer first, so that their files can go back.
void RecreateRemovedFolders(const JournalContent& journal, int anchor) {
    for (auto it = journal.removedDirs.rbegin(); it != journal.removedDirs.rend(); ++it) {
        const FolderDescriptor parent(
            Retried([&] { return OpenFolderBeneath(anchor, FolderPart(*it), journal.links); }));
        // One that is there (never removed) is left as it is.
        if (parent.valid()) (void)mkdirat(parent.get(), std::string(NamePart(*it)).c_str(), 0777);
    }
}

void RestoreOriginals(const JournalContent& journal, int target, int backup, RollbackOutcome& outcome) {
    FolderCursor folders(target, journal.links);
    const std::vector<AllowedLink> none;
    FolderCursor saved(backup, none);
    for (const JournalFile& file : journal.files) {
        if (!file.replaces) continue;
        const int at = folders.At(FolderPart(file.path));
        const int from = saved.At(SavedFolder(journal, file));
        if (RestoreOriginal(journal, file, at, from)) continue;
        if (at < 0) errno = folders.error();
        outcome.originalsRestored = false;
        Note(false, outcome);
        if (from < 0) {
            errno = saved.error();
            Note(false, outcome);
        }
    }
}

void RestoreFolderTimes(const JournalContent& journal, int anchor) {
    for (const JournalFolderTime& saved : journal.folderTimes) {
        const timespec times[2] = {{0, UTIME_OMIT}, {saved.seconds, saved.nanoseconds}};
        const FolderDescriptor folder(Retried([&] { return OpenFolderBeneath(anchor, saved.path, journal.links); }));
        // A folder that is gone or refuses its time changes nothing of the user's files.
        if (folder.valid()) (void)Retried([&] { return futimens(folder.get(), times); });
    }
}

// Empties the backup folder of what the run put there, by name, and removes
// it; anything else found in it keeps it. True when it is gone.
bool RemoveBackup(const JournalContent& journal, int backup) {
    if (journal.backup.empty()) return true;
    // Gone; or a folder of that name that is not the run's: not ours to remove.
    if (backup < 0) return true;
    std::set<std::string> folders;
    bool removed = true;
    const std::vector<AllowedLink> none;
    FolderCursor saved(backup, none);
    for (const JournalFile& file : journal.files) {
        if (!file.replaces) continue;
        const std::string_view folder = SavedFolder(journal, file);
        // Its outer folders may have been made before the run died, the inner one not yet.
        for (std::string_view up = folder; !up.empty(); up = FolderPart(up)) folders.emplace(up);
        const int at = saved.At(folder);
        if (at < 0) continue;  // never made
        removed = Unlink(at, SavedName(journal, file)) && removed;
        removed = Unlink(at, TemporaryName(journal.tag, file.index)) && removed;
    }
    std::vector<std::string> deepestFirst(folders.begin(), folders.end());
    std::sort(deepestFirst.begin(), deepestFirst.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& folder : deepestFirst) removed = Unlink(backup, folder, AT_REMOVEDIR) && removed;
    // Only an empty folder goes: whatever a swapped name might lead to loses nothing.
    const std::string path = journal.backup.substr(0, journal.backup.size() - 1);
    return removed && Unlink(AT_FDCWD, path, AT_REMOVEDIR);
}

// A backup kept for a person to restore from reads like the template
// directory: each original still in it moves to its path below the backup
// folder (its folders made private, as the backup is), as earlier versions
// kept them all along. Done only once no start will read the journal again:
// its names are then those of the folder. A name that cannot move keeps its
// backup name; nothing leaves the backup folder.
void LayOutKeptBackup(const JournalContent& journal, int backup) {
    if (!journal.flatBackup || backup < 0) return;
    for (const JournalFile& file : journal.files) {
        if (!file.replaces) continue;
        const std::string saved = BackupName(file.index, file.path);
        struct stat status {};
        if (!StatEntry(backup, saved, status)) continue;  // put back, or never kept
        // One folder at a time, never through a link.
        FolderDescriptor into(OpenFolderBeneath(backup, ""));
        for (std::string_view rest = FolderPart(file.path); into.valid() && !rest.empty();) {
            const std::size_t slash = rest.find('/');
            const std::string name(rest.substr(0, slash));
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
            (void)mkdirat(into.get(), name.c_str(), 0700);
            into.reset(OpenFolderBeneath(into.get(), name));
        }
        if (!into.valid()) continue;
        (void)renameat2(backup, saved.c_str(), into.get(), std::string(NamePart(file.path)).c_str(), RENAME_NOREPLACE);
    }
}

}  // namespace

int OpenAnchor(const JournalContent& journal) {
    FolderDescriptor anchor(Retried([&] { return open(journal.anchor.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    struct stat status {};
    if (!anchor.valid() || fstat(anchor.get(), &status) != 0) return -1;
    const FolderIdentity found{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
    return found == journal.anchorIdentity ? anchor.release() : -1;
}

int OpenBackupFolder(const JournalContent& journal) {
    if (journal.backup.size() < 2) return -1;
    const std::string path = journal.backup.substr(0, journal.backup.size() - 1);
    const std::size_t slash = path.rfind('/');
    const std::string parentPath = slash == 0 ? "/" : path.substr(0, slash);
    const FolderDescriptor parent(
        Retried([&] { return open(parentPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (!parent.valid()) return -1;
    FolderDescriptor backup(Retried([&] {
        return openat(parent.get(), path.c_str() + slash + 1, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }));
    struct stat status {};
    if (!backup.valid() || fstat(backup.get(), &status) != 0) return -1;
    const FolderIdentity found{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
    return found == journal.backupIdentity ? backup.release() : -1;
}

RollbackOutcome RollBackRun(const JournalContent& journal, int anchor, int backup) {
    RollbackOutcome outcome;
    if (journal.planned && anchor >= 0) {
        // The folders the run made above its target are plain folders: no link is followed there.
        // A target that is the anchor is reached through it: one descriptor fewer.
        const std::string below = journal.TargetBelowAnchor();
        const FolderDescriptor created(below.empty() ? -1 : Retried([&] { return OpenFolderBeneath(anchor, below); }));
        const int target = below.empty() ? anchor : created.get();
        RemoveCreated(journal, target, outcome);
        RemoveCreatedFolders(journal, anchor);
        RecreateRemovedFolders(journal, anchor);
        RestoreOriginals(journal, target, backup, outcome);
        RestoreFolderTimes(journal, anchor);
        // What was put back is on disk before anything that records it may go.
        Note(Retried([&] { return syncfs(anchor); }) == 0, outcome);
    } else if (journal.planned) {
        outcome.originalsRestored = std::none_of(journal.files.begin(), journal.files.end(),
                                                 [](const JournalFile& file) { return file.replaces; });
    }
    if (!outcome.originalsRestored) {
        outcome.keptBackup = journal.backup;
        if (!outcome.unfinished) LayOutKeptBackup(journal, backup);
        return outcome;
    }
    outcome.settled = RemoveBackup(journal, backup);
    return outcome;
}

bool FinishCommittedRun(const JournalContent& journal, int backup) { return RemoveBackup(journal, backup); }
