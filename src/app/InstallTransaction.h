// One installation run as a transaction: a planning pass looks at every
// destination once, the plan goes into a synced journal before the first
// change, each file is written under a temporary name and renamed into place
// after its original was linked (or copied) into a backup folder on the same
// file system, and the run ends committed (data synced, backup dropped) or
// rolled back to exactly the tree it found.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/FolderTable.h"
#include "app/InstallJournal.h"
#include "app/RunRollback.h"
#include "kit/KitReader.h"
#include "platform/ErrorCode.h"
#include "text/WString.h"

// Superseded: the kit lists the same name again later, and that entry writes the file.
enum class EntryAction : std::uint8_t { Skip, Create, Replace, Superseded };

class InstallTransaction {
public:
    InstallTransaction() = default;
    ~InstallTransaction();
    InstallTransaction(const InstallTransaction&) = delete;
    InstallTransaction& operator=(const InstallTransaction&) = delete;

    // Looks at each entry's destination below `target` (one fstatat each) and
    // decides what to do with it: skip a file as new as the entry (whole
    // seconds), create a missing one, replace an older one; of entries that
    // name the same file only the last writes it. Changes nothing.
    // 0; 87 when a directory, pipe, socket or device stands at an entry's
    // path or a file where a folder must be; 3 when the target cannot be used.
    ErrorCode Plan(const WString& target, const std::vector<KitEntry>& entries);
    // 0, or ERR_DISK_FULL when what the plan writes does not fit into the
    // free space of the target's file system.
    ErrorCode CheckSpace() const;
    // Writes and syncs the journal, claims the backup folder and creates the
    // missing folders; a plan that writes nothing needs none of it. 0; 1013
    // when no journal or backup folder can be made; 3 when a folder cannot be
    // created.
    ErrorCode Begin();
    EntryAction ActionOf(std::size_t index) const { return plan_[index].action; }
    // Writes entry `index` as planned: original into the backup first, data
    // under a temporary name (copied through `buffer` where that is faster),
    // the entry's time, then the rename into place. 0, else the failing
    // step's code (the temporary file is removed). Safe to call from several
    // threads at once for different entries, each with its own buffer.
    ErrorCode Install(const KitReader& kit, std::size_t index, std::span<unsigned char> buffer);
    // Syncs the installed data, marks the journal committed, drops the
    // backup and the journal. 0, else the code of the failed sync.
    ErrorCode Commit();
    // Undoes whatever of the plan has been done.
    RollbackOutcome Rollback();

    std::uint64_t bytesToWrite() const { return bytesToWrite_; }
    const std::string& backupFolder() const { return backup_; }

private:
    // Kept small: a kit may list a million entries. The path is converted
    // again from the entry's name where it is needed.
    struct Planned {
        mode_t mode = 0;  // of the file it replaces
        EntryAction action = EntryAction::Skip;
    };

    ErrorCode LocateTarget(const WString& target);
    ErrorCode PlanEntry(std::size_t index, const KitEntry& entry);
    void SupersedeRepeatedNames();
    // Entry `index`'s path below the target, in the system's bytes.
    std::string RelativePath(std::size_t index) const;
    // The number of the folder below the target, looked up once; created
    // ones go to the plan. FolderTable::kNone for an obstacle.
    std::uint32_t FolderAt(const std::string& relative);
    void SaveFolderTime(std::uint32_t folder);
    ErrorCode ClaimBackup();
    ErrorCode CreateFolders();
    ErrorCode SaveOriginal(const std::string& relative);
    ErrorCode EnsureBackupFolder(const std::string& relative);
    void DropBackup();
    ErrorCode WriteEntry(const KitReader& kit, std::size_t index, const std::string& temporary,
                         std::span<unsigned char> buffer);
    void Step();

    std::string target_;  // ends in "/"
    std::string tag_;
    std::string backup_;  // ends in "/"
    int targetFolder_ = -1;
    int backupFolder_ = -1;
    dev_t targetDevice_ = 0;
    std::string nearestExisting_;  // the target or its nearest existing ancestor
    std::vector<std::string> createdAbove_;  // the target and its missing parents, outer first
    std::vector<std::uint32_t> createdBelow_;  // in folders_, outer first
    FolderTable folders_;
    std::mutex backupFoldersMutex_;
    FolderTable backupFolders_;  // made in the backup folder so far
    std::optional<JournalFolderTime> ancestorTime_;  // of the nearest existing one, when the target is created
    const std::vector<KitEntry>* entries_ = nullptr;  // the kit's, which outlive the run
    std::vector<Planned> plan_;
    std::uint64_t bytesToWrite_ = 0;
    bool replacesAny_ = false;
    bool writesAny_ = false;
    InstallJournal journal_;
    bool begun_ = false;
    long crashAt_ = -1;
    std::atomic<long> steps_{0};
};
