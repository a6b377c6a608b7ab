#include "app/InstallTransaction.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/FileTree.h"
#include "platform/FindData.h"
#include "platform/SystemPath.h"
#include "platform/TempSpace.h"
#include "text/Convert.h"

namespace {

constexpr std::int32_t kMaxBackupNumber = 1000000;

struct DirectoryEntry {
    WString name;
    bool isDirectory = false;  // a link to a directory is not one
};

struct DirectoryCloser {
    void operator()(DIR* stream) const { closedir(stream); }
};

TransactionRecord& Current(InstallTransaction& transaction) {
    if (transaction.records.empty()) transaction.records.emplace_back();
    return transaction.records.back();
}

WString WithoutTrailingSlashes(const WString& path) {
    WString::size_type length = path.length();
    while (length > 1 && path[length - 1] == u'/') --length;
    return path.substr(0, length);
}

// The directory holding `path`: "/" for a top-level path, empty for a bare name.
WString ParentOf(const WString& path) {
    const WString trimmed = WithoutTrailingSlashes(path);
    const WString::size_type slash = trimmed.rfind(u'/');
    if (slash == WString::npos) return WString();
    return slash == 0 ? WString(u"/") : trimmed.substr(0, slash);
}

bool StatPath(const WString& path, struct stat& status, bool followLinks) {
    AString systemPath;
    if (!ToSystemPath(path, &systemPath)) return false;
    return (followLinks ? stat(systemPath.c_str(), &status) : lstat(systemPath.c_str(), &status)) == 0;
}

// Creates one directory level; `created` tells whether this call made it.
bool MakeOneDirectory(const WString& path, mode_t mode, bool& created) {
    created = false;
    AString systemPath;
    if (!ToSystemPath(path, &systemPath)) return false;
    if (mkdir(systemPath.c_str(), mode) == 0) return created = true;
    return errno == EEXIST && IsDirectory(path);
}

// The directories of `directory` that do not exist yet, innermost first, and
// its nearest existing ancestor; 3 when something else than a directory stands
// in the way. Every test looks at one exact path, never at a pattern.
ErrorCode FindMissing(const WString& directory, std::vector<WString>& missing, WString& ancestor) {
    WString path = WithoutTrailingSlashes(directory);
    while (!path.empty() && !(path == WString(u"/")) && !IsDirectory(path)) {
        if (PathExists(path)) return ERR_PATH_NOT_FOUND;
        missing.push_back(path);
        path = ParentOf(path);
    }
    ancestor = path;
    return ERR_NONE;
}

// Creates the missing directories outermost first, appending those this call
// made to `created` when given.
ErrorCode CreateMissing(const std::vector<WString>& missing, std::vector<WString>* created) {
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        bool made = false;
        if (!MakeOneDirectory(*it, 0777, made)) return ERR_PATH_NOT_FOUND;
        if (made && created != nullptr) created->push_back(*it);
    }
    return ERR_NONE;
}

// Remembers the modification time of a directory the run is about to change.
void SaveDirectoryTime(TransactionRecord& record, const WString& directory) {
    if (directory.empty()) return;
    const WString path = WithoutTrailingSlashes(directory);
    const bool known = std::any_of(record.touchedDirs.begin(), record.touchedDirs.end(),
                                   [&](const SavedDirectoryTime& saved) { return saved.path == path; });
    struct stat status {};
    if (known || !StatPath(path, status, true) || !S_ISDIR(status.st_mode)) return;
    record.touchedDirs.push_back({path, status.st_mtim.tv_sec, status.st_mtim.tv_nsec});
}

void RestoreDirectoryTimes(const TransactionRecord& record) {
    for (const SavedDirectoryTime& saved : record.touchedDirs) {
        AString systemPath;
        if (!ToSystemPath(saved.path, &systemPath)) continue;
        const timespec times[2] = {{0, UTIME_OMIT}, {saved.seconds, saved.nanoseconds}};
        // A directory that is gone or refuses the time is passed over, as every rollback step is.
        (void)utimensat(AT_FDCWD, systemPath.c_str(), times, 0);
    }
}

std::vector<DirectoryEntry> ListEntries(const WString& directory) {
    std::vector<DirectoryEntry> entries;
    AString systemPath;
    if (!ToSystemPath(directory, &systemPath)) return entries;
    std::unique_ptr<DIR, DirectoryCloser> stream(opendir(systemPath.c_str()));
    if (!stream) return entries;
    while (const dirent* entry = readdir(stream.get())) {
        const AString name(entry->d_name);
        if (name == AString(".") || name == AString("..")) continue;
        const WString wideName = ToWString(name);
        struct stat status {};
        const bool isDirectory = StatPath(directory + wideName, status, false) && S_ISDIR(status.st_mode);
        entries.push_back({wideName, isDirectory});
    }
    return entries;
}

// Whether anything but directories lies below `directory` (ending in "/").
bool HoldsFiles(const WString& directory) {
    for (const DirectoryEntry& entry : ListEntries(directory)) {
        if (!entry.isDirectory || HoldsFiles(directory + entry.name + u"/")) return true;
    }
    return false;
}

ErrorCode ClaimBackupDirectory(const WString& tempDirectory, WString& backupDir) {
    for (std::int32_t number = 0; number < kMaxBackupNumber; ++number) {
        const WString candidate = tempDirectory + u"xorup" + IntToWString(number, 10);
        AString systemPath;
        if (!ToSystemPath(candidate, &systemPath)) return ERR_PATH_NOT_FOUND;
        // Exclusive creation: another run that got there first makes this fail.
        if (mkdir(systemPath.c_str(), 0700) == 0) {
            backupDir = candidate + u"/";
            return ERR_NONE;
        }
        if (errno != EEXIST) return ERR_PATH_NOT_FOUND;
    }
    return ERR_PATH_NOT_FOUND;
}

// After a failed move: 0 when the file did reach the backup, 2 when it is
// gone from both places, else the failure, with any partial copy removed so
// that it is never taken for the kept original.
ErrorCode SettleFailedMove(ErrorCode moved, const WString& path, const WString& backupPath) {
    const bool atSource = PathExists(path);
    if (!atSource) return PathExists(backupPath) ? ERR_NONE : ERR_FILE_NOT_FOUND;
    (void)RemoveTree(backupPath);  // only a partial copy of this move can stand there
    return moved == ERR_FILE_NOT_FOUND ? ERR_CANT_WRITE : moved;
}

void RestoreEntry(InstallTransaction& transaction, const WString& target, const WString& backup,
                  const DirectoryEntry& entry) {
    const WString from = backup + entry.name;
    const WString to = target + entry.name;
    if (entry.isDirectory && IsDirectory(to)) {
        RestoreBackup(transaction, to + u"/", from + u"/");
    } else if (!IsDirectory(to)) {
        // A move that fails leaves the file in the backup, which the rollback then keeps.
        (void)MovePath(from, to);
    }
}

}  // namespace

ErrorCode BeginTransaction(InstallTransaction& transaction, const WString& target) {
    transaction.records.push_back(TransactionRecord{target, WString(), {}, {}, {}});
    if (target.empty()) return ERR_NONE;
    WString tempDirectory;
    ErrorCode code = GetTempDirectory(&tempDirectory);
    if (code != ERR_NONE) return code;
    code = CreateDirectoryRecorded(transaction, tempDirectory);
    if (code != ERR_NONE) return code;
    if (!tempDirectory.endsWith(WString(u"/"))) tempDirectory += u"/";
    return ClaimBackupDirectory(tempDirectory, transaction.records.back().backupDir);
}

ErrorCode CreateDirectoryRecorded(InstallTransaction& transaction, const WString& directory) {
    TransactionRecord& record = Current(transaction);
    std::vector<WString> missing;
    WString ancestor;
    const ErrorCode code = FindMissing(directory, missing, ancestor);
    if (code != ERR_NONE || missing.empty()) return code;
    SaveDirectoryTime(record, ancestor);
    return CreateMissing(missing, &record.createdDirs);
}

ErrorCode EnsureDirectory(InstallTransaction& transaction, const WString& directory) {
    (void)transaction;  // directories inside the backup go with the backup
    std::vector<WString> missing;
    WString ancestor;
    const ErrorCode code = FindMissing(directory, missing, ancestor);
    return code != ERR_NONE ? code : CreateMissing(missing, nullptr);
}

ErrorCode BackupFile(InstallTransaction& transaction, const WString& path) {
    TransactionRecord& record = Current(transaction);
    if (!PathExists(path)) return ERR_FILE_NOT_FOUND;
    // A directory never lands in the backup, where a commit would delete it.
    if (IsDirectory(path)) return ERR_INVALID_PARAMETER;
    if (record.backupDir.empty() || path.length() <= record.targetDir.length() ||
        !path.startsWith(record.targetDir)) {
        return ERR_INVALID_PARAMETER;
    }
    const WString backupPath = record.backupDir + path.substr(record.targetDir.length());
    // The first version is the user's; a later one at the same place is this run's own.
    if (PathExists(backupPath)) return ERR_NONE;
    const WString::size_type slash = backupPath.rfind(u'/');
    if (slash != WString::npos && EnsureDirectory(transaction, backupPath.substr(0, slash)) != ERR_NONE) {
        return ERR_PATH_NOT_FOUND;
    }
    SaveDirectoryTime(record, ParentOf(path));
    const ErrorCode moved = MovePath(path, backupPath);
    return moved == ERR_NONE ? ERR_NONE : SettleFailedMove(moved, path, backupPath);
}

void RecordCreatedFile(InstallTransaction& transaction, const WString& path) {
    TransactionRecord& record = Current(transaction);
    record.createdFiles.push_back(path);
    SaveDirectoryTime(record, ParentOf(path));
}

void CommitTransaction(InstallTransaction& transaction) {
    if (transaction.records.empty()) return;
    // Nothing is left to undo; a backup that cannot be removed only costs space.
    (void)RemoveDirectoryTree(transaction, transaction.records.back().backupDir);
}

ErrorCode RollbackTransaction(InstallTransaction& transaction, ErrorCode code) {
    if (transaction.records.empty()) return code;
    const TransactionRecord record = transaction.records.back();
    if (!record.backupDir.empty()) {
        if (!record.targetDir.empty()) RestoreBackup(transaction, record.targetDir, record.backupDir);
        // Files that could not go back stay in the backup, where the user can still find them.
        if (!HoldsFiles(record.backupDir)) (void)RemoveDirectoryTree(transaction, record.backupDir);
    }
    // Each step is best effort; a failing one must not keep the others from running.
    for (const WString& directory : record.createdDirs) (void)RemoveDirectoryTree(transaction, directory);
    for (const WString& file : record.createdFiles) (void)RemoveFile(file);
    RestoreDirectoryTimes(record);
    return code;
}

void RestoreBackup(InstallTransaction& transaction, const WString& targetDir, const WString& backupDir) {
    for (const DirectoryEntry& entry : ListEntries(backupDir)) RestoreEntry(transaction, targetDir, backupDir, entry);
}

ErrorCode RemoveDirectoryTree(InstallTransaction& transaction, const WString& path) {
    (void)transaction;  // the journal is not changed by a removal
    if (path.empty()) return ERR_NONE;
    if (WithoutTrailingSlashes(path) == WString(u"/")) return ERR_INVALID_PARAMETER;
    return RemoveTree(path);
}
