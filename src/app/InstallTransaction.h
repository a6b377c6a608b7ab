// One installation run as a transaction: it holds the template directory's
// lock (one run per directory, none inside or around another's), a planning pass looks at every destination
// once, the plan goes into a synced journal before the first change, each
// file is written under a temporary name and renamed into place after its
// original was linked (or, across file systems, copied and synced) into a
// private backup folder that outlives a reboot, and the run ends committed
// (data synced, backup dropped) or rolled back to exactly the tree it found.
// Every path is reached below the template directory's descriptor.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "app/DirectoryLock.h"
#include "app/FolderTable.h"
#include "app/InstallJournal.h"
#include "app/InstallRecord.h"
#include "app/RecordReadAhead.h"
#include "app/Recovery.h"
#include "app/RunSummary.h"
#include "app/RunRollback.h"
#include "platform/FolderBeneath.h"
#include "kit/KitEntryData.h"
#include "kit/KitReader.h"
#include "platform/ErrorCode.h"
#include "text/WString.h"

// Superseded: the kit lists the same name again, and a newer entry of it writes the file.
enum class EntryAction : std::uint8_t { Skip, Create, Replace, Superseded };

// How a run uses the kit's record (see InstallRecord.h).
struct RecordOptions {
    // UninstallDryRun: plans an uninstallation and says what it would do, changing nothing.
    enum class Kind : std::uint8_t { Install, DryRun, Uninstall, UninstallDryRun };
    Kind kind = Kind::Install;
    KitIdentity identity;
    // A dry run's record, read while the kit's directory was; an
    // installation reads it under its lock, and ignores this.
    RecordReadAhead* readAhead = nullptr;
};

class InstallTransaction {
public:
    InstallTransaction() = default;
    ~InstallTransaction() = default;
    InstallTransaction(const InstallTransaction&) = delete;
    InstallTransaction& operator=(const InstallTransaction&) = delete;

    // Takes the template directory's lock, settles dead runs' journals for
    // it, then looks at each entry's destination below `target` (one statx
    // each, on two threads for a large kit) and decides what to do with it:
    // skip a file as new as the entry (whole seconds), create a missing one,
    // replace an older one; of entries
    // that name the same file, the one installing them in kit order would
    // leave writes it (a later one only when newer). Linked folders found
    // here are the only links later steps follow. Changes nothing of the
    // tree. 0; 87 when a directory, pipe, socket or device stands at an
    // entry's path or a file where a folder must be; 13 (ERR_INVALID_DATA)
    // when the kit names a file that it also lists files under; 3 when the target
    // cannot be used; ERR_BUSY when another run holds the directory or a
    // dead run's journal for it is being settled by another start;
    // ERR_NESTED_BUSY when a run holds one inside or around it; 1013 when
    // no lock file can be made;
    // ERR_EARLIER_RUN_KEPT when a dead run's undo kept originals in
    // keptByEarlierRun(); ERR_JOURNAL_WAITING when a dead run's journal on
    // this directory waits for its folder to come back, ERR_ROLLBACK_UNFINISHED
    // when its undo failed at a step (journalKeptForEarlierRun()).
    ErrorCode Plan(const WString& target, const std::vector<KitEntry>& entries);
    // The same with the kit's record: the previous record is read (one that
    // fails its checks is set aside, or in a dry run only reported, and
    // trusted with nothing); a replaced file whose content is no longer the
    // recorded one is kept beside it first (".qorn-old"); recorded files the
    // kit no longer holds are planned for removal when unchanged, kept when
    // edited; the folders the record says were created go when left empty;
    // the new record is planned as one more file of the run. A dry run takes
    // a shared lock only and never settles a dead run. An uninstallation
    // plans every recorded file as no longer held, and the record's removal;
    // ERR_NO_RECORD when there is no sound record. ERR_RECORD_OBSTRUCTED,
    // for every kind, when something but a folder has the record folder's
    // name. Other codes as Plan.
    ErrorCode Plan(const WString& target, const std::vector<KitEntry>& entries, const RecordOptions& options);
    // 0, or ERR_DISK_FULL when what the plan writes does not fit into the
    // free space of the target's file system, or the files and folders it
    // makes (backup folders and the run's own files included) exceed its free inodes.
    ErrorCode CheckSpace() const;
    // Whether the run reads the kit's files: it writes some, or its record
    // takes a checksum from the kit (a file found up to date that the
    // previous record does not describe; Stage reads it). A run that does
    // not needs only the kit's directory.
    bool NeedsKitData() const { return writesFiles_ || !linesReadFromKit_.empty(); }
    // Whether the plan changes anything in the tree: a file, a removal, a folder or the record.
    bool ChangesAnything() const { return writesAny_; }
    // Writes and syncs the journal, claims the backup folder (beside the
    // target, else in the journal folder; never in TMPDIR) and creates the
    // missing folders; a plan that writes nothing needs none of it. 0; 1013
    // when no journal or backup folder can be made; 3 when a folder cannot be
    // created.
    ErrorCode Begin();
    EntryAction ActionOf(std::size_t index) const { return plan_[index].action; }
    // Writes entry `index` as planned: original into the backup first (a
    // copy under its backup name only once whole and synced), data under a
    // temporary name (from `data`, the calling thread's own), the
    // entry's time, then the rename into place. 0; 3 when its folder is no
    // longer the one planned (a link now); else the failing step's code (the
    // temporary file is removed); ERR_FILE_APPEARED when a file now stands
    // where the plan found none, ERR_FILE_CHANGED when the file it replaces
    // is no longer the one the plan found (an edit saved meanwhile): either
    // stays as it is, and appearedFile() names it. Safe to call from several threads at once for different entries,
    // each with its own `data`. An entry the run does not write whose
    // checksum the record takes from the kit is read from `data` for it.
    ErrorCode Install(KitEntryData& data, std::size_t index);

    // The files one thread has written under their temporary names and not
    // yet put in place, with the folders that hold them.
    struct StagedFiles {
        struct File {
            std::size_t index = 0;
            int folder = -1;
            FileInstance instance;
        };
        std::vector<File> files;
        std::vector<FolderDescriptor> held;  // folders of files here that the thread has left since
        std::chrono::steady_clock::time_point firstStaged;
    };
    // Install in two steps, so that many files cost one journal write: Stage
    // does all but the rename (and puts what it staged in place once a few
    // folders are held or the first file has waited kLongestStaging);
    // PutInPlace journals what is staged in one write
    // and renames it into place. Each returns as Install does; on a failure
    // the files not in place are removed. Discard removes them unplaced.
    ErrorCode Stage(KitEntryData& data, std::size_t index, StagedFiles& staged);
    ErrorCode PutInPlace(StagedFiles& staged);
    void Discard(StagedFiles& staged);
    // After every entry: removes the files no longer shipped (each into the
    // backup first, and only while it is still as planned), the recorded
    // folders left empty, and writes or removes the record. 0, else the
    // failing step's code.
    ErrorCode FinishRecord();
    // What the plan does (before Begin: would do) into `summary`: the
    // files by what happens to them, kept edits, bytes, and DescribeSubject's.
    void Describe(RunSummary& summary) const;
    // What the run is about, known as soon as Plan is called, into
    // `summary`: the kit's identity and the directory as far as the plan
    // found it, and a record set aside. A run that ends before any change
    // says this much.
    void DescribeSubject(RunSummary& summary) const;
    // The record found damaged and set aside by the plan (below the
    // target), or in a dry run found damaged; empty otherwise.
    const std::string& recordSetAside() const { return recordSetAside_; }
    bool recordDamaged() const { return recordDamaged_; }
    // The target was created by the kit and the uninstallation has left it empty.
    bool targetMayGo() const { return uninstall_ && previous_.createdTarget; }
    const std::string& target() const { return target_; }

    // Syncs the installed data, marks the journal committed, drops the
    // backup and the journal (kept, for the next start to finish, when the
    // backup cannot be dropped). 0, else the code of the failed sync.
    ErrorCode Commit();
    // Undoes whatever of the plan has been done, with the descriptors of the
    // installing threads released first; the journal stays for the next
    // start when the backup folder could not be removed or a step of the
    // undo failed.
    RollbackOutcome Rollback();

    std::uint64_t bytesToWrite() const { return bytesToWrite_; }
    const std::string& backupFolder() const { return backup_; }
    const std::string& keptByEarlierRun() const { return keptByEarlierRun_; }
    const RecoveredRun& journalKeptForEarlierRun() const { return keptForEarlierRun_; }
    // Below the target; empty unless Install returned ERR_FILE_APPEARED or ERR_FILE_CHANGED.
    std::string appearedFile() const;

private:
    static constexpr mode_t kNewFileMode = ~mode_t{0};  // a created file's mode, from the umask
    // The journal, the record's and the journal's temporaries, the backup folder, with room to spare.
    static constexpr std::uint64_t kRunOwnInodes = 8;

    // Kept small: a kit may list a million entries. The path is converted
    // again from the entry's name where it is needed.
    struct Planned {
        mode_t mode = kNewFileMode;  // of the file it replaces, set-id bits dropped
        EntryAction action = EntryAction::Skip;
    };
    // The original an entry replaces, as the plan saw it.
    struct Original {
        std::size_t index = 0;
        FileIdentity identity;
        FileInstance instance;
    };

    // What looking at a run of entries found: kept apart per thread, and
    // added to the plan in the entries' order.
    struct Look {
        std::vector<Original> originals;
        std::uint64_t bytes = 0;
        bool replaces = false;
        bool writes = false;
        ErrorCode error = ERR_NONE;
    };
    // Files looked at in a block; fewer files that may exist than kLookAlone are looked at by one thread.
    static constexpr std::size_t kLookBlock = 256;
    static constexpr std::size_t kLookAlone = 256;

    ErrorCode LocateTarget(const WString& target);
    ErrorCode LockTarget();
    // Locates the target, takes its lock, locates it again under the lock.
    ErrorCode ReachTarget(const WString& target);
    ErrorCode PlanEntries(const std::vector<KitEntry>& entries);
    // Plans entries first + [from, to) into plan_ and `look`, making their
    // paths into `relative`; touches nothing else of this object.
    void LookAt(std::size_t from, std::size_t to, const std::vector<std::uint32_t>& folders, Look* look);
    ErrorCode PlanEntry(std::size_t index, const std::string& relative, bool mayExist, Look* look);
    void SupersedeRepeatedNames();
    // Entry `index`'s path below the target, in the system's bytes; empty
    // when it has none. The second form reuses *path's memory, for loops
    // over every entry; false when there is no such path.
    std::string RelativePath(std::size_t index) const;
    bool RelativePath(std::size_t index, std::string* path) const;
    // The number of the folder below the target, looked up once; created
    // ones go to the plan. FolderTable::kNone for an obstacle.
    std::uint32_t FolderAt(const std::string& relative);
    void SaveFolderTime(std::uint32_t folder);
    ErrorCode ClaimBackup();
    void JournalPlan();
    ErrorCode CreateFolders();
    ErrorCode SaveOriginal(int folder, const std::string& relative, std::size_t index);
    // The original `name` in `folder` copied into the backup as `saved`, where no link can be made there.
    ErrorCode CopyOriginal(int folder, const std::string& name, const std::string& saved, std::size_t index);
    bool DropBackup();
    // Unlinks nameOf(0 .. count - 1) in the backup folder, on two threads when there are many; whether each went
    // or was not there.
    bool UnlinkInBackup(std::size_t count, const std::function<std::string(std::size_t)>& nameOf) const;
    // The descriptor of the folder holding `relative`, resolved below the
    // target; -1 when it is no longer the folder planned.
    // The folder the thread had open before goes into `keep` when given.
    int FolderOf(const std::string& relative, std::vector<FolderDescriptor>* keep = nullptr);
    static constexpr std::size_t kMostHeldFolders = 8;
    // On a slow file system a chunk takes long: its files still appear (and
    // a stop is still quick) at about this pace.
    static constexpr std::chrono::milliseconds kLongestStaging{50};
    // Copies the entry's data into `file`, its checksum into the record on the way when the record takes it.
    ErrorCode CopyEntry(KitEntryData& data, std::size_t index, int file);
    ErrorCode ChecksumFromKit(KitEntryData& data, std::size_t index);
    // Writes the temporary file; `instance` tells which file it is.
    ErrorCode WriteEntry(KitEntryData& data, std::size_t index, int folder, const std::string& temporary,
                         FileInstance& instance);
    // Renames the written file into place; a created one never over a file that appeared since the plan.
    ErrorCode PutInPlace(std::size_t index, int folder, const std::string& temporary, const std::string& name);
    void Step();

    // The record's part of the run (InstallTransactionRecord.cpp).
    struct KeptAside {
        std::size_t entry = 0;
        std::string keptPath;  // below the target
        FileIdentity identity;
    };
    struct Removal {
        std::string path;  // below the target
        FileIdentity identity;
        bool isRecord = false;
        bool stayed = false;  // changed since the plan, so left in place as the user's
    };
    // Reads the previous record, and only that: it runs beside the plan of the entries.
    void ReadPreviousRecord();
    // What the record read means for the run: a damaged one set aside; ERR_NO_RECORD for an uninstallation without
    // one; ERR_RECORD_OBSTRUCTED when its folder's name is taken.
    ErrorCode LoadRecord();
    ErrorCode PlanRecord();
    // Finds each entry's file in the previous record once, for PreviousOf.
    void MatchPreviousRecord();
    // Entry `index`'s file in the previous record, or nullptr; only while the record is planned.
    const RecordedFile* PreviousOf(std::size_t index) const;
    // Whether the planned record, each line's checksum taken from the previous one, is that record line for line.
    bool RepeatsPreviousRecord() const;
    void PlanKeptEdits();
    // By file of the previous record: whether the kit still holds it.
    std::vector<bool> PreviousStillShipped() const;
    void PlanNoLongerShipped(const std::vector<bool>& shipped);
    void PlanRemovedFolders();
    // The entries the new record lists, in kit order: for each path the entry that writes it, else the first.
    std::vector<std::uint32_t> RecordedEntries() const;
    // The new record's lines and the checksums known without the kit; the
    // others go to linesReadFromKit_. Whether any is taken on the way.
    bool PlanRecordLines();
    // Line `line` of the new record, into *file (its path's room reused).
    void RecordLine(std::size_t line, RecordedFile* file) const;
    // The new record, its checksums read from the kit: a kit that cannot be read fails the plan.
    ErrorCode PlanNewRecord();
    // Whether the file at `name` in `folder` that entry `index` replaces is
    // still the original the plan found (or is gone), or already the kit's.
    bool StillAsPlanned(std::size_t index, int folder, const std::string& name) const;
    // `code`, after naming entry `index` as the file that stopped the run (the first one named stays).
    ErrorCode NoteStopper(std::size_t index, ErrorCode code);
    // The name beside `relative` an edit is kept under: neither on disk nor in `taken`.
    std::string FreeKeptName(const std::string& relative, const std::set<std::string>& taken) const;
    void SaveParentTime(const std::string& relative);
    void JournalRecordChanges();
    const KeptAside* KeptAsideOf(std::size_t index) const;
    ErrorCode KeepAside(int folder, const KeptAside& kept);
    ErrorCode RemoveNoLongerShipped(std::size_t number);
    ErrorCode WriteRecord();
    std::size_t ExtraIndex(std::size_t offset) const { return plan_.size() + offset; }
    // The journal's index of removal `number`: after the record (ExtraIndex(0)) and the kept edits.
    std::size_t RemovalIndex(std::size_t number) const { return ExtraIndex(1 + keptAside_.size() + number); }

    RecordOptions options_;
    std::vector<KitEntry> noEntries_;  // an uninstallation's kit
    bool recordKept_ = false;  // the run keeps the kit's record
    bool readOnly_ = false;    // a dry run
    bool namesUnique_ = false;  // no two entries name one path (NamesInStrictOrder)
    bool uninstall_ = false;
    bool recordDamaged_ = false;
    std::string recordSetAside_;
    RecordState previousState_ = RecordState::Missing;
    static constexpr std::uint32_t kNotRecorded = ~std::uint32_t{0};
    std::vector<std::uint32_t> previousOf_;  // by entry: its index in previous_.files, or kNotRecorded
    InstallRecord previous_;
    timespec previousWritten_{};  // when its bytes were written (DatedRecord); zero when unknown
    // The new record, its files' lines made again whenever its bytes are
    // needed: the entries it lists (in kit order) and their checksums, a
    // written file's taken from its data on the way (a kit file is read once).
    InstallRecord recordHeader_;  // without files
    std::vector<std::uint32_t> recordLines_;
    std::vector<Checksum128> lineChecksums_;
    std::vector<std::uint32_t> linesReadFromKit_;  // lines whose checksum Stage reads from the kit, in order
    std::uint64_t recordSize_ = 0;
    std::vector<KeptAside> keptAside_;    // by entry
    std::vector<std::string> keptEdited_;  // no longer shipped, edited: left where they are
    std::vector<Removal> removals_;
    std::vector<std::string> removedFolders_;  // deepest first; each goes when empty
    std::vector<JournalFolderTime> extraFolderTimes_;
    FileIdentity recordWritten_;
    bool writesRecord_ = false;
    bool recordReplaces_ = false;
    FileIdentity recordOriginal_;
    std::uint64_t bytesRemoved_ = 0;

    std::string target_;  // ends in "/"
    std::string anchor_;  // the target, or its nearest existing ancestor when the run creates it
    std::string targetBelowAnchor_;
    FolderIdentity anchorIdentity_;
    std::string tag_;
    std::string backup_;  // ends in "/"
    std::string keptByEarlierRun_;
    RecoveredRun keptForEarlierRun_;
    mutable std::mutex appearedMutex_;
    std::string appeared_;
    DirectoryLock lock_;
    FolderDescriptor anchorFolder_;
    FolderDescriptor targetFolder_;
    FolderDescriptor backupFolder_;
    bool copiesOriginals_ = false;  // the backup lies on another file system
    dev_t targetDevice_ = 0;
    std::vector<std::string> createdAbove_;  // the target and its missing parents below the anchor, outer first
    std::vector<std::uint32_t> createdBelow_;  // in folders_, outer first
    std::vector<AllowedLink> links_;  // linked folders below the target, as the plan found them
    FolderTable folders_;
    std::optional<JournalFolderTime> anchorTime_;  // when the target is created
    const std::vector<KitEntry>* entries_ = nullptr;  // the kit's, which outlive the run
    std::vector<Planned> plan_;
    std::vector<Original> originals_;  // in the order of the entries; kept to the end, for StillAsPlanned
    std::uint64_t bytesToWrite_ = 0;
    bool replacesAny_ = false;
    bool writesAny_ = false;
    bool writesFiles_ = false;  // some of the kit's
    InstallJournal journal_;
    bool begun_ = false;
    std::optional<mode_t> umask_;  // read at Begin
    std::uint64_t run_ = 0;  // this transaction among the process's, for FolderOf's per-thread memory
    long crashAt_ = -1;
    std::atomic<long> steps_{0};
};
