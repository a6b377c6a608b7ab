#include "app/InstallTransaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <optional>

#include "app/DirectoryLock.h"
#include "app/EntryPathOrder.h"
#include "app/FileSystemRoom.h"
#include "app/Recovery.h"
#include "app/SideThread.h"
#include "platform/FileCopy.h"
#include "platform/SystemPath.h"

namespace {

constexpr int kMaxBackupNumber = 100000;
constexpr mode_t kCreateMode = 0660;  // less the umask

std::string ParentOf(const std::string& path) {
    const std::string trimmed = WithoutTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : trimmed.substr(0, slash);
}

bool StatPath(const std::string& path, struct stat& status) { return stat(path.c_str(), &status) == 0; }

// Making `folder` would make `target` ("/"-ended) or one of its parents.
bool MakesAFolderOf(const std::string& folder, const std::string& target) {
    std::string outermostMissing;
    struct stat status {};
    for (std::string path = WithoutTrailingSlashes(folder); path.size() > 1 && !StatPath(path, status) && errno == ENOENT;
         path = ParentOf(path)) {
        outermostMissing = path;
    }
    return !outermostMissing.empty() && target.starts_with(outermostMissing + "/");
}


// The first free `prefix`N in `folder` (ending in "/"), made private; each
// name goes to `announce` before it is tried (false stops). Empty when none
// can be made.
template <typename Announce>
std::string ClaimNumberedFolder(const std::string& folder, const std::string& prefix, Announce announce) {
    for (int number = 0; number < kMaxBackupNumber; ++number) {
        const std::string candidate = folder + prefix + std::to_string(number);
        if (!announce(candidate + "/")) return std::string();
        if (mkdir(candidate.c_str(), 0700) == 0) return candidate + "/";
        if (errno != EEXIST) return std::string();
    }
    return std::string();
}

FolderIdentity IdentityOfFolder(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

FileIdentity IdentityOfEntry(const KitEntry& entry) {
    const timespec time = TimespecFromFileTime(entry.lastWriteTime);
    return {static_cast<std::int64_t>(entry.size), time.tv_sec, time.tv_nsec};
}

// The name is whole once the folder holding it is synced.
bool SyncFolder(int folder) { return fsync(folder) == 0; }

// The fields of a struct stat that the plan reads, from a statx.
struct stat StatOf(const struct statx& found) {
    struct stat status {};
    status.st_mode = found.stx_mode;
    status.st_size = static_cast<off_t>(found.stx_size);
    status.st_ino = found.stx_ino;
    status.st_mtim = {found.stx_mtime.tv_sec, found.stx_mtime.tv_nsec};
    return status;
}

// The process's umask as the kernel reports it, without changing it (other
// threads may create files meanwhile); none where it cannot be read.
std::optional<mode_t> ReadUmask() {
    std::FILE* status = std::fopen("/proc/self/status", "re");
    if (status == nullptr) return std::nullopt;
    std::optional<mode_t> mask;
    char line[256];
    unsigned value = 0;
    while (!mask && std::fgets(line, sizeof line, status) != nullptr) {
        if (std::sscanf(line, "Umask: %o", &value) == 1) mask = static_cast<mode_t>(value & 0777);
    }
    std::fclose(status);
    return mask;
}

bool Writes(EntryAction action) { return action == EntryAction::Create || action == EntryAction::Replace; }

// An existing regular file is as new as the entry.
bool UpToDate(const struct stat& status, FileTime entryTime) {
    return S_ISREG(status.st_mode) && IsUpToDate(status.st_mtim.tv_sec, entryTime);
}

// Consecutive entries mostly share a folder: each thread resolves it once
// for a run of them. The descriptor stays with that folder, wherever a name
// may lead later.
thread_local struct {
    std::uint64_t run = 0;
    std::string path;
    FolderDescriptor folder;
} lastFolder;

void ForgetFolder() {
    lastFolder.folder.reset();
    lastFolder.path.clear();
    lastFolder.run = 0;
}

// One directory holds the other (both "/"-ended).
bool Overlaps(const std::string& a, const std::string& b) { return a.starts_with(b) || b.starts_with(a); }

// Whether two entry names lie in one folder: the same units up to their last
// separator, either of the two a kit may use.
bool InOneFolder(const WString& a, const WString& b) {
    const std::u16string_view one(a.c_str(), a.length());
    const std::u16string_view other(b.c_str(), b.length());
    const std::size_t end = one.find_last_of(u"\\/");
    return end == other.find_last_of(u"\\/") && one.substr(0, end + 1) == other.substr(0, end + 1);
}

std::string RunTag() {
    return std::to_string(getpid()) + "-" + std::to_string(static_cast<unsigned>(time(nullptr)) % 100000);
}

}  // namespace

ErrorCode InstallTransaction::LocateTarget(const WString& target) {
    AString systemTarget;
    if (target.empty() || !ToSystemPath(target, &systemTarget) || systemTarget.c_str()[0] != '/') {
        return ERR_PATH_NOT_FOUND;
    }
    // Found again once the lock is held: a dead run undone meanwhile may have removed folders it made.
    createdAbove_.clear();
    targetBelowAnchor_.clear();
    anchorTime_.reset();
    targetFolder_.reset();
    folders_.Clear();
    // One "/" between components: the journal's paths are compared as strings.
    target_.clear();
    for (const char c : std::string(systemTarget.c_str())) {
        if (c != '/' || target_.empty() || target_.back() != '/') target_ += c;
    }
    target_ = WithoutTrailingSlashes(target_);
    if (target_ != "/") target_ += "/";
    // A folder the journal's folder and the target both lack (HOME itself
    // missing) is made first, for the journal: the run then finds it made
    // instead of making it a second time after its plan. A dry run makes
    // nothing anywhere.
    const std::string journals = JournalFolder();
    if (!readOnly_ && MakesAFolderOf(journals, target_)) (void)MakeJournalFolder(journals);  // Begin says so when it cannot
    // The target and the parents it lacks are created by the run, below the
    // nearest folder that exists: the anchor every later step starts from.
    std::string existing = WithoutTrailingSlashes(target_);
    std::vector<std::string> missing;
    struct stat status {};
    while (!StatPath(existing, status)) {
        if (errno != ENOENT) return ERR_PATH_NOT_FOUND;
        missing.push_back(existing.substr(existing.rfind('/') + 1));
        existing = ParentOf(existing);
    }
    anchor_ = existing;
    anchorFolder_.reset(open(anchor_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!anchorFolder_.valid() || fstat(anchorFolder_.get(), &status) != 0) return ERR_PATH_NOT_FOUND;
    anchorIdentity_ = IdentityOfFolder(status);
    targetDevice_ = status.st_dev;
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        targetBelowAnchor_ = JoinRelative(targetBelowAnchor_, *it);
        createdAbove_.push_back(targetBelowAnchor_);
    }
    if (createdAbove_.empty()) {
        targetFolder_.reset(fcntl(anchorFolder_.get(), F_DUPFD_CLOEXEC, 0));
        if (!targetFolder_.valid()) return ERR_PATH_NOT_FOUND;
        folders_.Add("", {status.st_mtim.tv_sec, static_cast<std::int32_t>(status.st_mtim.tv_nsec), true, false});
    } else {
        anchorTime_ = JournalFolderTime{"", status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
        folders_.Add("", {});
    }
    return ERR_NONE;
}

ErrorCode InstallTransaction::LockTarget() {
    // One run per directory, keyed on its path: held before a directory the
    // run creates exists, and ending with the run, however it ends. A dry run
    // takes nothing and settles nothing (it changes nothing anywhere); it only
    // will not look while a run changes the tree.
    const std::string directory = CanonicalDirectory(anchor_, targetBelowAnchor_);
    if (directory.empty()) return ERR_PATH_NOT_FOUND;
    if (readOnly_) return IsDirectoryLocked(LockFolder(), directory) ? ERR_BUSY : ERR_NONE;
    const ErrorCode locked = lock_.Acquire(LockFolder(), directory);
    if (locked != ERR_NONE) return locked;
    // A run that died here since this process started is undone before
    // anything is planned; one being undone by another start, or one around
    // this directory that only another start can undo, keeps this run out
    // of its files. One that could not put every original back stops this
    // run, so that the folder keeping them is named at once.
    bool busy = false;
    for (const RecoveredRun& run : RecoverDeadRuns(JournalFolder(), std::string(), &lock_)) {
        if (!run.keptBackup.empty()) keptByEarlierRun_ = run.keptBackup;
        if ((run.waiting || run.unfinished) && Overlaps(run.target, target_)) keptForEarlierRun_ = run;
        busy = busy || run.busy;
    }
    // A dead run's journal on this directory that could not be settled yet: nothing is planned over its files.
    if (!keptForEarlierRun_.keptJournal.empty()) {
        return keptForEarlierRun_.waiting ? ERR_JOURNAL_WAITING : ERR_ROLLBACK_UNFINISHED;
    }
    if (!keptByEarlierRun_.empty()) return ERR_EARLIER_RUN_KEPT;
    return busy ? ERR_BUSY : ERR_NONE;
}

ErrorCode InstallTransaction::ReachTarget(const WString& target) {
    ErrorCode code = LocateTarget(target);
    if (code == ERR_NONE) code = LockTarget();
    if (code == ERR_NONE) code = LocateTarget(target);
    return code;
}

ErrorCode InstallTransaction::Plan(const WString& target, const std::vector<KitEntry>& entries) {
    const ErrorCode code = ReachTarget(target);
    return code == ERR_NONE ? PlanEntries(entries) : code;
}

ErrorCode InstallTransaction::Plan(const WString& target, const std::vector<KitEntry>& entries,
                                   const RecordOptions& options) {
    options_ = options;
    recordKept_ = true;
    readOnly_ = options.kind == RecordOptions::Kind::DryRun || options.kind == RecordOptions::Kind::UninstallDryRun;
    uninstall_ = options.kind == RecordOptions::Kind::Uninstall || options.kind == RecordOptions::Kind::UninstallDryRun;
    ErrorCode code = ReachTarget(target);
    if (code != ERR_NONE) return code;
    {
        // Neither needs the other: the previous record is read while the entries are looked at.
        SideThread reader([this] { ReadPreviousRecord(); });
        code = PlanEntries(uninstall_ ? noEntries_ : entries);
        reader.Wait();
    }
    if (code == ERR_NONE) code = LoadRecord();
    if (code == ERR_NONE) code = PlanRecord();
    return code;
}

ErrorCode InstallTransaction::PlanEntries(const std::vector<KitEntry>& entries) {
    entries_ = &entries;
    namesUnique_ = NamesInStrictOrder(entries);
    plan_.resize(entries.size());
    // The folders in the kit's order, by this thread alone: the table is its
    // own, and which folders exist says which files may.
    std::vector<std::uint32_t> folders(entries.size());
    std::size_t mayExist = 0;
    {
        std::string relative;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            // A kit lists a folder's files together: most share the last
            // one's folder, and the threads make their paths themselves.
            if (k > 0 && InOneFolder(entries[k].name, entries[k - 1].name)) {
                folders[k] = folders[k - 1];
            } else {
                if (!RelativePath(k, &relative) || relative.empty()) return ERR_INVALID_PARAMETER;
                folders[k] = FolderAt(std::string(FolderPart(relative)));
                if (folders[k] == FolderTable::kNone) return ERR_INVALID_PARAMETER;
            }
            if (folders_[folders[k]].exists) ++mayExist;
        }
    }
    // Looking at a file is the kernel's work: a second thread takes blocks
    // of files beside this one, each block's findings kept apart so that they
    // join in the kit's order. Into new folders there is little to ask, and
    // one thread asks it.
    const std::size_t alone = mayExist > kLookAlone ? kLookAlone : entries.size();
    std::vector<Look> looks((entries.size() + kLookBlock - 1) / kLookBlock);
    InBlocks(entries.size(), kLookBlock, alone,
             [&](std::size_t from, std::size_t to) { LookAt(from, to, folders, &looks[from / kLookBlock]); });
    for (Look& look : looks) {
        if (look.error != ERR_NONE) return look.error;
        originals_.insert(originals_.end(), look.originals.begin(), look.originals.end());
        bytesToWrite_ += look.bytes;
        replacesAny_ = replacesAny_ || look.replaces;
        writesAny_ = writesAny_ || look.writes;
        writesFiles_ = writesFiles_ || look.writes;
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (Writes(plan_[k].action)) SaveFolderTime(folders[k]);
    }
    SupersedeRepeatedNames();
    return ERR_NONE;
}

void InstallTransaction::LookAt(std::size_t from, std::size_t to, const std::vector<std::uint32_t>& folders,
                                Look* look) {
    std::string relative;
    for (std::size_t k = from; k < to && look->error == ERR_NONE; ++k) {
        if (!RelativePath(k, &relative) || relative.empty()) {
            look->error = ERR_INVALID_PARAMETER;
            break;
        }
        // A name the kit also lists files under would be a file and a folder
        // at once: the kit is damaged, whichever of the two comes first.
        if (folders_.Find(relative) != FolderTable::kNone) {
            look->error = ERR_INVALID_DATA;
            break;
        }
        look->error = PlanEntry(k, relative, folders_[folders[k]].exists, look);
    }
}

std::string InstallTransaction::RelativePath(std::size_t index) const {
    std::string path;
    return RelativePath(index, &path) ? path : std::string();
}

bool InstallTransaction::RelativePath(std::size_t index, std::string* path) const {
    if (AsciiEntryPath((*entries_)[index].name, path)) return true;
    WString name = (*entries_)[index].name;
    ReplaceAll(name, u"\\", u"/");
    AString systemName;
    if (!ToSystemPath(name, &systemName)) return false;
    path->assign(systemName.c_str(), systemName.size());
    return true;
}

void InstallTransaction::SupersedeRepeatedNames() {
    // Installed one after another in kit order, a later entry of a name
    // replaces the earlier one's file only when it is newer (whole seconds):
    // writing only that entry gives the same file, and no two threads ever
    // write one path. Sorted by hash, then name, then index.
    if (namesUnique_) return;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> byName;
    byName.reserve(static_cast<std::size_t>(
        std::count_if(plan_.begin(), plan_.end(), [](const Planned& p) { return Writes(p.action); })));
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (Writes(plan_[i].action)) byName.emplace_back(PathHash((*entries_)[i].name), static_cast<std::uint32_t>(i));
    }
    std::sort(byName.begin(), byName.end(), [this](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        const int order = ComparePaths((*entries_)[a.second].name, (*entries_)[b.second].name);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    std::uint32_t winner = 0;
    for (std::size_t k = 0; k < byName.size(); ++k) {
        const std::uint32_t index = byName[k].second;
        const bool sameName = k > 0 && byName[k - 1].first == byName[k].first &&
                              ComparePaths((*entries_)[winner].name, (*entries_)[index].name) == 0;
        if (!sameName) {
            winner = index;
            continue;
        }
        const KitEntry& held = (*entries_)[winner];
        std::uint32_t loser = index;
        if (!IsUpToDate(UnixSecondsFromFileTime(held.lastWriteTime), (*entries_)[index].lastWriteTime)) {
            loser = winner;
            winner = index;
        }
        plan_[loser].action = EntryAction::Superseded;
        bytesToWrite_ -= (*entries_)[loser].size;
    }
}

ErrorCode InstallTransaction::PlanEntry(std::size_t index, const std::string& relative, bool mayExist, Look* look) {
    Planned& planned = plan_[index];
    const KitEntry& entry = (*entries_)[index];
    // One statx tells the time rule what it needs and the journal which file
    // it is. A folder the run creates holds nothing yet: there is nothing to ask.
    struct statx found {};
    if (mayExist && statx(targetFolder_.get(), relative.c_str(), AT_SYMLINK_NOFOLLOW,
                          STATX_BASIC_STATS | STATX_BTIME, &found) == 0) {
        const struct stat status = StatOf(found);
        struct stat followed = status;
        // A link is judged by what it leads to, and replaced as a link.
        if (S_ISLNK(status.st_mode) && fstatat(targetFolder_.get(), relative.c_str(), &followed, 0) != 0) {
            followed.st_mode = S_IFREG;
            followed.st_mtim = {};
        }
        if (UpToDate(followed, entry.lastWriteTime)) return ERR_NONE;
        // Found without opening it: a pipe would block, a device would answer.
        if (!S_ISREG(followed.st_mode)) return ERR_INVALID_PARAMETER;
        planned.action = EntryAction::Replace;
        // A link's own bits say nothing; a replaced file never keeps set-id bits.
        planned.mode = S_ISLNK(status.st_mode) ? kNewFileMode : (status.st_mode & 0777);
        look->originals.push_back({index, {status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec},
                                   InstanceOf(found)});
        look->replaces = true;
    } else if (mayExist && errno != ENOENT) {
        return errno == ENOTDIR ? ERR_INVALID_PARAMETER : ErrorFromErrno(errno);
    } else {
        planned.action = EntryAction::Create;
    }
    look->writes = true;
    look->bytes += entry.size;
    return ERR_NONE;
}

std::uint32_t InstallTransaction::FolderAt(const std::string& relative) {
    const std::uint32_t known = folders_.Find(relative);
    if (known != FolderTable::kNone) return known;
    const std::uint32_t parent = FolderAt(std::string(FolderPart(relative)));
    if (parent == FolderTable::kNone) return FolderTable::kNone;
    FolderTable::Folder folder;
    struct stat status {};
    const bool parentExists = folders_[parent].exists;
    const int target = targetFolder_.get();
    if (parentExists && fstatat(target, relative.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        // A linked folder that is there now is the user's: the run follows it, and only it.
        if (S_ISLNK(status.st_mode)) {
            if (fstatat(target, relative.c_str(), &status, 0) != 0 || !S_ISDIR(status.st_mode)) return FolderTable::kNone;
            links_.push_back({relative, status.st_dev, status.st_ino});
        }
        if (!S_ISDIR(status.st_mode)) return FolderTable::kNone;
        folder = {status.st_mtim.tv_sec, static_cast<std::int32_t>(status.st_mtim.tv_nsec), true, false};
    } else if (parentExists && errno != ENOENT) {
        return FolderTable::kNone;
    } else {
        // Its parent gets a new entry: that parent's time is restored on a rollback.
        SaveFolderTime(parent);
    }
    const std::uint32_t added = folders_.Add(relative, folder);
    if (!folder.exists) createdBelow_.push_back(added);
    return added;
}

void InstallTransaction::SaveFolderTime(std::uint32_t folder) {
    if (folders_[folder].exists) folders_[folder].timeSaved = true;
}

ErrorCode InstallTransaction::CheckSpace() const {
    struct statvfs space {};
    if (fstatvfs(anchorFolder_.get(), &space) != 0) return ERR_NONE;  // unknown: the writes will tell
    RoomNeeded needed;
    needed.bytes = bytesToWrite_ + (writesRecord_ ? recordSize_ : 0);
    // A replaced file is a new inode too: its original stays in the backup until the commit.
    needed.files = (writesRecord_ ? 1 : 0) + keptAside_.size() + kRunOwnInodes;
    for (const Planned& planned : plan_) {
        if (Writes(planned.action)) ++needed.files;
    }
    // The originals lie in the backup folder itself: only the folders the run creates count.
    needed.folders = createdAbove_.size() + createdBelow_.size();
    return CheckRoom(space, needed);
}

ErrorCode InstallTransaction::ClaimBackup() {
    // Never TMPDIR: a boot may empty it while a dead run's originals are
    // still there. On the target's file system every backup and restore is
    // a link or a rename; elsewhere originals are copied.
    const std::vector<BackupHome> homes = BackupHomes(target_, journal_.folder());
    for (const bool sameFileSystem : {true, false}) {
        for (const BackupHome& home : homes) {
            struct stat status {};
            if (!backup_.empty() || !StatPath(home.folder, status) || (status.st_dev == targetDevice_) != sameFileSystem) {
                continue;
            }
            // Named in the journal, on disk, before it exists: a run killed or
            // a power cut between the two leaves an empty folder that the next
            // start knows to remove, never one that nothing names.
            backup_ = ClaimNumberedFolder(home.folder, home.prefix, [this](const std::string& candidate) {
                journal_.Backup(candidate, FolderIdentity{});
                return journal_.Sync();
            });
        }
    }
    if (backup_.empty()) return ERR_CANT_WRITE;
    backupFolder_.reset(open(backup_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!backupFolder_.valid() || fstat(backupFolder_.get(), &status) != 0) {
        (void)rmdir(backup_.c_str());  // empty, just made
        return ERR_CANT_WRITE;
    }
    copiesOriginals_ = status.st_dev != targetDevice_;
    journal_.Backup(backup_, IdentityOfFolder(status));
    // At once: a run that dies before its plan is whole leaves no stray backup folder.
    return journal_.Flush() ? ERR_NONE : ERR_CANT_WRITE;
}

void InstallTransaction::JournalPlan() {
    for (const AllowedLink& link : links_) journal_.Link(link);
    for (const std::string& folder : createdAbove_) journal_.CreatedDir(folder);
    for (const std::uint32_t folder : createdBelow_) {
        journal_.CreatedDir(JoinRelative(targetBelowAnchor_, folders_.PathOf(folder)));
    }
    std::size_t original = 0;
    JournalFile file;  // one path's room for them all
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        while (original < originals_.size() && originals_[original].index < i) ++original;
        if (!Writes(plan_[i].action)) continue;
        const bool replaces = plan_[i].action == EntryAction::Replace;
        if (!RelativePath(i, &file.path)) file.path.clear();
        file.index = i;
        file.replaces = replaces;
        file.written = IdentityOfEntry((*entries_)[i]);
        file.original = replaces ? originals_[original].identity : FileIdentity{};
        file.originalInstance = replaces ? originals_[original].instance : FileInstance{};
        journal_.File(file);
    }
    JournalRecordChanges();
    if (anchorTime_) journal_.FolderTime(*anchorTime_);
    for (std::uint32_t number = 0; number < folders_.size(); ++number) {
        const FolderTable::Folder& folder = folders_[number];
        if (!folder.timeSaved) continue;
        journal_.FolderTime({JoinRelative(targetBelowAnchor_, folders_.PathOf(number)), folder.seconds, folder.nanoseconds});
    }
    journal_.PlanComplete();
}

ErrorCode InstallTransaction::Begin() {
    if (const char* crash = std::getenv("QORN_TEST_CRASH_AT")) crashAt_ = std::strtol(crash, nullptr, 10);
    // Nothing to write: nothing to journal, sync or undo.
    if (!writesAny_) return ERR_NONE;
    if (!journal_.Create(JournalFolder())) return ERR_CANT_WRITE;
    begun_ = true;
    static std::atomic<std::uint64_t> runs{0};
    run_ = ++runs;
    tag_ = RunTag();
    journal_.Target(target_, tag_, anchor_, anchorIdentity_);
    if (replacesAny_) {
        umask_ = ReadUmask();
        const ErrorCode claimed = ClaimBackup();
        if (claimed != ERR_NONE) return claimed;
    }
    JournalPlan();
    // The one sync before the first change: the whole plan is on disk.
    if (!journal_.Sync()) return ERR_CANT_WRITE;
    Step();
    const ErrorCode created = CreateFolders();
    // Only planning needs the folders: a large kit's list makes room for the backup's.
    std::vector<std::uint32_t>().swap(createdBelow_);
    folders_.Clear();
    return created;
}

ErrorCode InstallTransaction::CreateFolders() {
    for (const std::string& folder : createdAbove_) {
        const FolderDescriptor parent(OpenFolderBeneath(anchorFolder_.get(), FolderPart(folder)));
        if (!parent.valid() || mkdirat(parent.get(), std::string(NamePart(folder)).c_str(), 0777) != 0) {
            return ERR_PATH_NOT_FOUND;
        }
        Step();
    }
    if (!createdAbove_.empty()) {
        targetFolder_.reset(OpenFolderBeneath(anchorFolder_.get(), targetBelowAnchor_));
        if (!targetFolder_.valid()) return ERR_PATH_NOT_FOUND;
        // Found gone later, it was moved away with the run's files in it, not never made.
        struct stat status {};
        if (fstat(targetFolder_.get(), &status) != 0 || !journal_.MadeTarget(IdentityOfFolder(status))) {
            return ERR_CANT_WRITE;
        }
    }
    for (const std::uint32_t folder : createdBelow_) {
        const std::string_view path = folders_.PathOf(folder);
        const FolderDescriptor parent(OpenFolderBeneath(targetFolder_.get(), FolderPart(path), links_));
        if (!parent.valid() || mkdirat(parent.get(), std::string(NamePart(path)).c_str(), 0777) != 0) {
            return ERR_PATH_NOT_FOUND;
        }
        Step();
    }
    return ERR_NONE;
}

ErrorCode InstallTransaction::SaveOriginal(int folder, const std::string& relative, std::size_t index) {
    const std::string name(NamePart(relative));
    const std::string saved = BackupName(index, relative);
    if (copiesOriginals_) return CopyOriginal(folder, name, saved, index);
    // The original stays in place until the new file is renamed over it.
    if (linkat(folder, name.c_str(), backupFolder_.get(), saved.c_str(), 0) == 0) return ERR_NONE;
    // A file system that ignores letter case takes two names of the kit for
    // one file: the backup already holds the user's version.
    if (errno == EEXIST) return ERR_NONE;
    if (errno != EXDEV && errno != EPERM && errno != EMLINK && errno != EOPNOTSUPP) return ErrorFromErrno(errno);
    return CopyOriginal(folder, name, saved, index);
}

ErrorCode InstallTransaction::CopyOriginal(int folder, const std::string& name, const std::string& saved,
                                           std::size_t index) {
    // The copy takes its backup name only once it is whole and synced, and
    // that name is on disk before the original can be replaced: a backup
    // under its name is always complete.
    const std::string temporary = TemporaryName(tag_, index);
    const int backup = backupFolder_.get();
    const int copied = CopyFileSynced(folder, name.c_str(), backup, temporary.c_str());
    if (copied != 0) return ErrorFromErrno(copied);
    if (renameat2(backup, temporary.c_str(), backup, saved.c_str(), RENAME_NOREPLACE) != 0) {
        const int error = errno;
        (void)unlinkat(backup, temporary.c_str(), 0);  // the rollback would remove it too
        return error == EEXIST ? ERR_NONE : ErrorFromErrno(error);
    }
    return SyncFolder(backup) ? ERR_NONE : ERR_CANT_WRITE;
}

ErrorCode InstallTransaction::CopyEntry(KitEntryData& data, std::size_t index, int file) {
    const auto line = std::lower_bound(recordLines_.begin(), recordLines_.end(), index);
    if (line == recordLines_.end() || *line != index) return data.Copy(index, file, nullptr);
    ChecksumStream checksum;
    const CopyObserver observe = [&checksum](const unsigned char* piece, std::size_t size) { checksum.Add(piece, size); };
    const ErrorCode code = data.Copy(index, file, &observe);
    // Each thread writes only its own entries' lines: no two touch the same one.
    if (code == ERR_NONE) lineChecksums_[static_cast<std::size_t>(line - recordLines_.begin())] = checksum.Result();
    return code;
}

// A file the run leaves as it is, whose record line needs the kit's checksum
// of it: a reading that fails fails the run, so that a record that reports
// success holds every file's true checksum.
ErrorCode InstallTransaction::ChecksumFromKit(KitEntryData& data, std::size_t index) {
    if (linesReadFromKit_.empty()) return ERR_NONE;
    const auto line = std::lower_bound(recordLines_.begin(), recordLines_.end(), index);
    if (line == recordLines_.end() || *line != index) return ERR_NONE;
    const auto lineNumber = static_cast<std::uint32_t>(line - recordLines_.begin());
    if (!std::binary_search(linesReadFromKit_.begin(), linesReadFromKit_.end(), lineNumber)) return ERR_NONE;
    ChecksumStream checksum;
    const ErrorCode code =
        data.Look(index, [&checksum](const unsigned char* piece, std::size_t size) { checksum.Add(piece, size); });
    if (code == ERR_NONE) lineChecksums_[lineNumber] = checksum.Result();
    return code;
}

ErrorCode InstallTransaction::WriteEntry(KitEntryData& data, std::size_t index, int folder,
                                         const std::string& temporary, FileInstance& instance) {
    const Planned& entry = plan_[index];
    // A replaced file's bits that the umask leaves as they are need no fchmod.
    const bool modeAtOpen = entry.mode != kNewFileMode && umask_ && (entry.mode & *umask_) == 0;
    const int file = openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                            modeAtOpen ? entry.mode : kCreateMode);
    if (file < 0) return ErrorFromErrno(errno);
    ErrorCode code = CopyEntry(data, index, file);
    Step();
    if (code == ERR_NONE && entry.mode != kNewFileMode && !modeAtOpen && fchmod(file, entry.mode) != 0) {
        code = ErrorFromErrno(errno);
    }
    const timespec time = TimespecFromFileTime((*entries_)[index].lastWriteTime);
    const timespec times[2] = {time, time};
    if (code == ERR_NONE && futimens(file, times) != 0) code = ErrorFromErrno(errno);
    if (code == ERR_NONE) instance = InstanceAt(file, "");
    if (code == ERR_NONE && !instance.known()) code = ErrorFromErrno(errno);
    if (close(file) != 0 && code == ERR_NONE) code = ErrorFromErrno(errno);
    return code;
}

ErrorCode InstallTransaction::PutInPlace(std::size_t index, int folder, const std::string& temporary,
                                         const std::string& name) {
    if (plan_[index].action == EntryAction::Replace) {
        // An edit saved since the plan is the user's: never replaced, and so never lost with the backup.
        if (!StillAsPlanned(index, folder, name)) return NoteStopper(index, ERR_FILE_CHANGED);
        return renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? ERR_NONE : ErrorFromErrno(errno);
    }
    // A file made at the path since the plan (by the user, by a folder-sync
    // client) is somebody's: never replaced, and, not being the run's, never
    // removed by the undo.
    int placed = renameat2(folder, temporary.c_str(), folder, name.c_str(), RENAME_NOREPLACE);
    if (placed != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without that flag: a link never overwrites either.
        placed = linkat(folder, temporary.c_str(), folder, name.c_str(), 0);
        if (placed == 0) (void)unlinkat(folder, temporary.c_str(), 0);  // the rollback would remove it too
    }
    if (placed == 0) return ERR_NONE;
    if (errno != EEXIST) return ErrorFromErrno(errno);
    return NoteStopper(index, ERR_FILE_APPEARED);
}

ErrorCode InstallTransaction::NoteStopper(std::size_t index, ErrorCode code) {
    const std::lock_guard<std::mutex> lock(appearedMutex_);
    if (appeared_.empty()) appeared_ = RelativePath(index);
    return code;
}

bool InstallTransaction::StillAsPlanned(std::size_t index, int folder, const std::string& name) const {
    const auto original = std::lower_bound(originals_.begin(), originals_.end(), index,
                                           [](const Original& o, std::size_t i) { return o.index < i; });
    if (original == originals_.end() || original->index != index) return true;
    struct stat status {};
    // Gone since: the kit's file takes the free place, as it would have at the plan.
    if (fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (status.st_ino == original->instance.inode && IdentityOfStatus(status) == original->identity) return true;
    // A file system that ignores letter case takes two of the kit's names for
    // one file: the first put the kit's file there already.
    const KitEntry& entry = (*entries_)[index];
    const timespec kitTime = TimespecFromFileTime(entry.lastWriteTime);
    return static_cast<std::uint64_t>(status.st_size) == entry.size && status.st_mtim.tv_sec == kitTime.tv_sec &&
           status.st_mtim.tv_nsec == kitTime.tv_nsec;
}

std::string InstallTransaction::appearedFile() const {
    const std::lock_guard<std::mutex> lock(appearedMutex_);
    return appeared_;
}

int InstallTransaction::FolderOf(const std::string& relative, std::vector<FolderDescriptor>* keep) {
    const std::string_view path = FolderPart(relative);
    if (lastFolder.run == run_ && lastFolder.path == path && lastFolder.folder.valid()) return lastFolder.folder.get();
    if (keep != nullptr && lastFolder.run == run_ && lastFolder.folder.valid()) keep->push_back(std::move(lastFolder.folder));
    // A folder that became a link since the plan is an obstacle, never followed.
    lastFolder.folder.reset(OpenFolderBeneath(targetFolder_.get(), path, links_));
    lastFolder.run = run_;
    lastFolder.path = path;
    return lastFolder.folder.get();
}

ErrorCode InstallTransaction::Install(KitEntryData& data, std::size_t index) {
    StagedFiles staged;
    const ErrorCode code = Stage(data, index, staged);
    if (code != ERR_NONE) {
        Discard(staged);
        return code;
    }
    return PutInPlace(staged);
}

ErrorCode InstallTransaction::Stage(KitEntryData& data, std::size_t index, StagedFiles& staged) {
    if (!Writes(plan_[index].action)) return ChecksumFromKit(data, index);
    // Each held folder is a descriptor: files in many folders go into place in steps.
    if (staged.held.size() >= kMostHeldFolders) {
        const ErrorCode placed = PutInPlace(staged);
        if (placed != ERR_NONE) return placed;
    }
    if (staged.files.empty()) staged.firstStaged = std::chrono::steady_clock::now();
    const std::string relative = RelativePath(index);
    const int folder = FolderOf(relative, &staged.held);
    if (folder < 0) return ERR_PATH_NOT_FOUND;
    if (plan_[index].action == EntryAction::Replace) {
        // The user's edit is kept under its own name before anything else happens to it.
        if (const KeptAside* kept = KeptAsideOf(index); kept != nullptr) {
            const ErrorCode keptCode = KeepAside(folder, *kept);
            if (keptCode != ERR_NONE) return keptCode;
        }
        const ErrorCode saved = SaveOriginal(folder, relative, index);
        if (saved != ERR_NONE) return saved;
        Step();
    }
    const std::string temporary = TemporaryName(tag_, index);
    FileInstance instance;
    const ErrorCode code = WriteEntry(data, index, folder, temporary, instance);
    if (code != ERR_NONE) {
        (void)unlinkat(folder, temporary.c_str(), 0);  // the rollback would remove it too
        return code;
    }
    staged.files.push_back({index, folder, instance});
    return std::chrono::steady_clock::now() - staged.firstStaged >= kLongestStaging ? PutInPlace(staged) : ERR_NONE;
}

ErrorCode InstallTransaction::PutInPlace(StagedFiles& staged) {
    std::vector<InstallJournal::WrittenFile> written;
    written.reserve(staged.files.size());
    for (const StagedFiles::File& file : staged.files) written.push_back({file.index, file.instance});
    // Known to the journal before any is in place: the undo removes only these files.
    ErrorCode code = written.empty() || journal_.Written(written) ? ERR_NONE : ERR_CANT_WRITE;
    std::size_t placed = 0;
    for (; placed < staged.files.size() && code == ERR_NONE; ++placed) {
        const StagedFiles::File& file = staged.files[placed];
        code = PutInPlace(file.index, file.folder, TemporaryName(tag_, file.index),
                          std::string(NamePart(RelativePath(file.index))));
        if (code != ERR_NONE) break;
        Step();
    }
    staged.files.erase(staged.files.begin(), staged.files.begin() + static_cast<std::ptrdiff_t>(placed));
    Discard(staged);  // what did not make it into place
    return code;
}

void InstallTransaction::Discard(StagedFiles& staged) {
    // The rollback would remove them too; a run that stops leaves fewer behind.
    for (const StagedFiles::File& file : staged.files) {
        (void)unlinkat(file.folder, TemporaryName(tag_, file.index).c_str(), 0);
    }
    staged.files.clear();
    staged.held.clear();
}

ErrorCode InstallTransaction::Commit() {
    if (!begun_) return ERR_NONE;
    // One flush of the template directory's file system costs less than a
    // sync per file and folder, and leaves none of them out.
    if (syncfs(targetFolder_.get()) != 0) return ErrorFromErrno(errno);
    Step();
    if (!journal_.MarkCommitted()) return ERR_CANT_WRITE;
    Step();
    const bool dropped = backup_.empty() || DropBackup();
    Step();
    // A backup that could not go keeps its journal: the next start removes it.
    if (dropped) journal_.Remove();
    return ERR_NONE;
}

bool InstallTransaction::DropBackup() {
    // Everything in it is known by name: unlinking it so spares reading back
    // the folder, which costs more than the unlinking itself.
    std::vector<std::uint32_t> replaced;
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (plan_[i].action == EntryAction::Replace) replaced.push_back(static_cast<std::uint32_t>(i));
    }
    bool dropped = UnlinkInBackup(replaced.size(), [&](std::size_t k) {
        return BackupName(replaced[k], RelativePath(replaced[k]));
    });
    dropped = UnlinkInBackup(removals_.size(), [&](std::size_t k) {
        return BackupName(RemovalIndex(k), removals_[k].path);
    }) && dropped;
    if (recordReplaces_) {
        dropped = UnlinkInBackup(1, [&](std::size_t) {
            return BackupName(ExtraIndex(0), RecordPath(options_.identity));
        }) && dropped;
    }
    // Only an empty folder goes; anything not foreseen keeps it, and the journal with it.
    return dropped && rmdir(backup_.c_str()) == 0;
}

bool InstallTransaction::UnlinkInBackup(std::size_t count, const std::function<std::string(std::size_t)>& nameOf) const {
    std::atomic<bool> unlinked{true};
    InBlocks(count, kLookBlock, kLookAlone, [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            const std::string name = nameOf(k);
            if (unlinkat(backupFolder_.get(), name.c_str(), 0) != 0 && errno != ENOENT) unlinked = false;
        }
    });
    return unlinked;
}

RollbackOutcome InstallTransaction::Rollback() {
    if (!begun_) return RollbackOutcome{};
    // The undo opens folders of its own: the installing threads' are no longer needed.
    ForgetFolder();
    targetFolder_.reset();
    const RollbackOutcome outcome = RollBackRun(journal_.Read(), anchorFolder_.get(), backupFolder_.get());
    // Every original back but the backup still there: the next start finishes
    // it, and nothing claims that anything was lost. An undo not complete
    // keeps the journal, for a start that can finish it.
    if (!outcome.unfinished && (outcome.settled || !outcome.originalsRestored || !journal_.MarkUndone())) {
        journal_.Remove();
    }
    begun_ = false;
    return outcome;
}

void InstallTransaction::Step() {
    // A test seam: the crash test ends the process at each step in turn.
    if (crashAt_ >= 0 && steps_.fetch_add(1) == crashAt_) raise(SIGKILL);
}
