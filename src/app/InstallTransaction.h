// The journal of one installation run: replaced files are first moved into a
// private backup directory and whatever the run creates is recorded, so that a
// rollback gives the template directory back exactly as it was.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ErrorCode.h"
#include "text/WString.h"

// A directory that existed before the run and whose entries the run changes,
// with its modification time from before the change.
struct SavedDirectoryTime {
    WString path;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
};

struct TransactionRecord {
    WString targetDir;                  // as passed, normally with a trailing "/"
    WString backupDir;                  // TMPDIR + "xorupN/", empty for an empty target
    std::vector<WString> createdDirs;   // outer before inner
    std::vector<WString> createdFiles;  // where no file stood before
    std::vector<SavedDirectoryTime> touchedDirs;
};

struct InstallTransaction {
    std::vector<TransactionRecord> records;  // every operation works on the last
};

// Appends a record and claims the first free backup directory "xorupN" in the
// temporary directory, created exclusively and readable by the user only.
// 0; 0 without a backup directory for an empty target; 3 when none can be made.
ErrorCode BeginTransaction(InstallTransaction& transaction, const WString& target);
// Creates the directory with its missing parents, recording each one created.
// 0 also when it exists; 3 when one cannot be made (those made stay recorded).
ErrorCode CreateDirectoryRecorded(InstallTransaction& transaction, const WString& directory);
// The same without recording, for directories inside the backup directory.
ErrorCode EnsureDirectory(InstallTransaction& transaction, const WString& directory);
// Moves the file at `path` (inside the target) to the same relative place in
// the backup. 0 when it is kept there (also when an earlier call already kept
// the first version); 2 only when nothing exists at `path`; 3 when the backup's
// directory cannot be made; 87 for a directory, a path outside the target or a
// run without backup directory; 1013 when the move fails. Except with 0, the
// file stays where it was.
ErrorCode BackupFile(InstallTransaction& transaction, const WString& path);
// Records that the run creates the file at `path`, where none existed.
void RecordCreatedFile(InstallTransaction& transaction, const WString& path);
// Drops the backup directory; the installed files stay.
void CommitTransaction(InstallTransaction& transaction);
// Moves the backed-up files back, removes what the run created and restores
// the touched directories' modification times; every step runs even when one
// fails. Files that cannot be moved back are left in the backup directory.
// Returns `code` unchanged.
ErrorCode RollbackTransaction(InstallTransaction& transaction, ErrorCode code);
// Moves every file below `backupDir` back to the same place below
// `targetDir` (both ending in "/"); what cannot be moved stays in the backup.
void RestoreBackup(InstallTransaction& transaction, const WString& targetDir, const WString& backupDir);
// Removes the directory with everything in it. 0 (also for an empty path);
// 87 for the root directory, which is never removed.
ErrorCode RemoveDirectoryTree(InstallTransaction& transaction, const WString& path);
