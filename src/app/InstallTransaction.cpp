#include "app/InstallTransaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/FileCopy.h"
#include "platform/FileTree.h"
#include "platform/SystemPath.h"
#include "platform/TempSpace.h"

namespace {

constexpr int kMaxBackupNumber = 100000;
constexpr mode_t kNewFileMode = 0660;

std::string ParentOf(const std::string& path) {
    const std::string trimmed = WithoutTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : trimmed.substr(0, slash);
}

bool StatPath(const std::string& path, struct stat& status) { return stat(path.c_str(), &status) == 0; }


// The first free "xorupN" in `folder` (ending in "/"), made private; empty when none can be made.
std::string ClaimNumberedFolder(const std::string& folder, const char* prefix) {
    for (int number = 0; number < kMaxBackupNumber; ++number) {
        const std::string candidate = folder + prefix + std::to_string(number);
        if (mkdir(candidate.c_str(), 0700) == 0) return candidate + "/";
        if (errno != EEXIST) return std::string();
    }
    return std::string();
}

bool Writes(EntryAction action) { return action == EntryAction::Create || action == EntryAction::Replace; }

// Entry names as the paths they become: "\\" and "/" both separate folders.
char16_t PathUnit(char16_t unit) { return unit == u'\\' ? u'/' : unit; }

std::uint32_t PathHash(const WString& name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::size_t i = 0; i < name.length(); ++i) hash = (hash ^ PathUnit(name.data()[i])) * 16777619u;
    return hash;
}

int ComparePaths(const WString& a, const WString& b) {
    const std::size_t common = std::min(a.length(), b.length());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t left = PathUnit(a.data()[i]);
        const char16_t right = PathUnit(b.data()[i]);
        if (left != right) return left < right ? -1 : 1;
    }
    return a.length() == b.length() ? 0 : (a.length() < b.length() ? -1 : 1);
}

// An existing regular file is as new as the entry.
bool UpToDate(const struct stat& status, FileTime entryTime) {
    return S_ISREG(status.st_mode) && IsUpToDate(status.st_mtim.tv_sec, entryTime);
}

std::string RunTag() {
    return std::to_string(getpid()) + "-" + std::to_string(static_cast<unsigned>(time(nullptr)) % 100000);
}

}  // namespace

InstallTransaction::~InstallTransaction() {
    if (targetFolder_ >= 0) close(targetFolder_);
    if (backupFolder_ >= 0) close(backupFolder_);
}

ErrorCode InstallTransaction::LocateTarget(const WString& target) {
    AString systemTarget;
    if (target.empty() || !ToSystemPath(target, &systemTarget) || systemTarget.c_str()[0] != '/') {
        return ERR_PATH_NOT_FOUND;
    }
    target_ = WithoutTrailingSlashes(systemTarget.c_str());
    if (target_ != "/") target_ += "/";
    // The target and the parents it lacks are created by the run.
    std::string existing = WithoutTrailingSlashes(target_);
    struct stat status {};
    while (!StatPath(existing, status)) {
        if (errno != ENOENT) return ERR_PATH_NOT_FOUND;
        createdAbove_.insert(createdAbove_.begin(), existing);
        existing = ParentOf(existing);
    }
    if (!S_ISDIR(status.st_mode)) return ERR_PATH_NOT_FOUND;
    nearestExisting_ = existing;
    targetDevice_ = status.st_dev;
    if (createdAbove_.empty()) {
        targetFolder_ = open(target_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (targetFolder_ < 0) return ERR_PATH_NOT_FOUND;
        folders_.Add("", {status.st_mtim.tv_sec, static_cast<std::int32_t>(status.st_mtim.tv_nsec), true, false});
    } else {
        ancestorTime_ = JournalFolderTime{existing, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
        folders_.Add("", {});
    }
    return ERR_NONE;
}

ErrorCode InstallTransaction::Plan(const WString& target, const std::vector<KitEntry>& entries) {
    const ErrorCode located = LocateTarget(target);
    if (located != ERR_NONE) return located;
    entries_ = &entries;
    plan_.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ErrorCode planned = PlanEntry(i, entries[i]);
        if (planned != ERR_NONE) return planned;
    }
    SupersedeRepeatedNames();
    return ERR_NONE;
}

std::string InstallTransaction::RelativePath(std::size_t index) const {
    WString name = (*entries_)[index].name;
    ReplaceAll(name, u"\\", u"/");
    AString systemName;
    if (!ToSystemPath(name, &systemName)) return std::string();
    return std::string(systemName.c_str(), systemName.size());
}

void InstallTransaction::SupersedeRepeatedNames() {
    // Installed one after another, the last of several entries of one name
    // would decide the file; writing only that one gives the same file, and
    // no two threads ever write one path. Sorted by hash, then name, then index.
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
    for (std::size_t k = 1; k < byName.size(); ++k) {
        const std::uint32_t earlier = byName[k - 1].second;
        if (byName[k - 1].first != byName[k].first ||
            ComparePaths((*entries_)[earlier].name, (*entries_)[byName[k].second].name) != 0) {
            continue;
        }
        plan_[earlier].action = EntryAction::Superseded;
        bytesToWrite_ -= (*entries_)[earlier].size;
    }
}

ErrorCode InstallTransaction::PlanEntry(std::size_t index, const KitEntry& entry) {
    Planned& planned = plan_[index];
    const std::string relative = RelativePath(index);
    if (relative.empty()) return ERR_INVALID_PARAMETER;
    const std::size_t slash = relative.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : relative.substr(0, slash);

    const std::uint32_t folderNumber = FolderAt(folder);
    if (folderNumber == FolderTable::kNone) return ERR_INVALID_PARAMETER;
    // A folder the run creates holds nothing yet: there is nothing to ask.
    const bool mayExist = folders_[folderNumber].exists;
    struct stat status {};
    if (mayExist && fstatat(targetFolder_, relative.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        struct stat followed = status;
        // A link is judged by what it leads to, and replaced as a link.
        if (S_ISLNK(status.st_mode) && fstatat(targetFolder_, relative.c_str(), &followed, 0) != 0) {
            followed.st_mode = S_IFREG;
            followed.st_mtim = {};
        }
        if (UpToDate(followed, entry.lastWriteTime)) return ERR_NONE;
        // Found without opening it: a pipe would block, a device would answer.
        if (!S_ISREG(followed.st_mode)) return ERR_INVALID_PARAMETER;
        planned.action = EntryAction::Replace;
        planned.mode = status.st_mode & 07777;
        replacesAny_ = true;
    } else if (mayExist && errno != ENOENT) {
        return errno == ENOTDIR ? ERR_INVALID_PARAMETER : ErrorFromErrno(errno);
    } else {
        planned.action = EntryAction::Create;
    }
    writesAny_ = true;
    SaveFolderTime(folderNumber);
    bytesToWrite_ += entry.size;
    return ERR_NONE;
}

std::uint32_t InstallTransaction::FolderAt(const std::string& relative) {
    const std::uint32_t known = folders_.Find(relative);
    if (known != FolderTable::kNone) return known;
    const std::size_t slash = relative.rfind('/');
    const std::string parentPath = slash == std::string::npos ? std::string() : relative.substr(0, slash);
    const std::uint32_t parent = FolderAt(parentPath);
    if (parent == FolderTable::kNone) return FolderTable::kNone;
    FolderTable::Folder folder;
    struct stat status {};
    const bool parentExists = folders_[parent].exists;
    if (parentExists && fstatat(targetFolder_, relative.c_str(), &status, 0) == 0) {
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
    if (statvfs(nearestExisting_.c_str(), &space) != 0) return ERR_NONE;  // unknown: the writes will tell
    // Every file takes at least part of a block more than its bytes.
    const std::uint64_t blockSize = space.f_frsize != 0 ? space.f_frsize : 4096;
    std::uint64_t needed = bytesToWrite_;
    for (const Planned& planned : plan_) {
        if (Writes(planned.action)) needed += blockSize;
    }
    const std::uint64_t available = static_cast<std::uint64_t>(space.f_bavail) * blockSize;
    return needed > available ? ERR_DISK_FULL : ERR_NONE;
}

ErrorCode InstallTransaction::ClaimBackup() {
    WString tempFolder;
    (void)GetTempDirectory(&tempFolder);  // always succeeds
    AString systemTemp;
    const std::string temp = ToSystemPath(tempFolder, &systemTemp) ? systemTemp.c_str() : "/tmp/";
    struct stat status {};
    // Same file system: every backup and restore is a link or a rename.
    if (StatPath(temp, status) && status.st_dev == targetDevice_) backup_ = ClaimNumberedFolder(temp, "xorup");
    // Else beside the template directory, never inside it.
    const std::string parent = ParentOf(target_);
    if (backup_.empty() && target_ != "/" && StatPath(parent, status) && status.st_dev == targetDevice_) {
        backup_ = ClaimNumberedFolder(parent == "/" ? parent : parent + "/", ".xorup");
    }
    // Else copies, each complete and synced before its original is replaced.
    if (backup_.empty()) backup_ = ClaimNumberedFolder(temp, "xorup");
    if (backup_.empty()) return ERR_CANT_WRITE;
    journal_.Backup(backup_);
    // At once: a run that dies before its plan is whole leaves no stray backup folder.
    if (!journal_.Flush()) return ERR_CANT_WRITE;
    backupFolder_ = open(backup_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return backupFolder_ >= 0 ? ERR_NONE : ERR_CANT_WRITE;
}

ErrorCode InstallTransaction::Begin() {
    if (const char* crash = std::getenv("QORN_TEST_CRASH_AT")) crashAt_ = std::strtol(crash, nullptr, 10);
    // Nothing to write: nothing to journal, sync or undo.
    if (!writesAny_) return ERR_NONE;
    if (!journal_.Create(JournalFolder())) return ERR_CANT_WRITE;
    begun_ = true;
    tag_ = RunTag();
    journal_.Target(target_, tag_);
    if (replacesAny_) {
        const ErrorCode claimed = ClaimBackup();
        if (claimed != ERR_NONE) return claimed;
    }
    for (const std::string& folder : createdAbove_) journal_.CreatedDir(folder);
    for (const std::uint32_t folder : createdBelow_) journal_.CreatedDir(target_ + std::string(folders_.PathOf(folder)));
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (!Writes(plan_[i].action)) continue;
        journal_.File({target_ + RelativePath(i), i, plan_[i].action == EntryAction::Replace});
    }
    if (ancestorTime_) journal_.FolderTime(*ancestorTime_);
    for (std::uint32_t number = 0; number < folders_.size(); ++number) {
        const FolderTable::Folder& folder = folders_[number];
        if (!folder.timeSaved) continue;
        journal_.FolderTime({target_ + std::string(folders_.PathOf(number)), folder.seconds, folder.nanoseconds});
    }
    journal_.PlanComplete();
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
        if (mkdir(folder.c_str(), 0777) != 0) return ERR_PATH_NOT_FOUND;
        Step();
    }
    if (targetFolder_ < 0) targetFolder_ = open(target_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (targetFolder_ < 0) return ERR_PATH_NOT_FOUND;
    for (const std::uint32_t folder : createdBelow_) {
        if (mkdirat(targetFolder_, std::string(folders_.PathOf(folder)).c_str(), 0777) != 0) return ERR_PATH_NOT_FOUND;
        Step();
    }
    return ERR_NONE;
}

ErrorCode InstallTransaction::EnsureBackupFolder(const std::string& relative) {
    if (relative.empty()) return ERR_NONE;
    {
        const std::lock_guard<std::mutex> lock(backupFoldersMutex_);
        if (backupFolders_.Find(relative) != FolderTable::kNone) return ERR_NONE;
    }
    const std::size_t slash = relative.rfind('/');
    if (slash != std::string::npos) {
        const ErrorCode parent = EnsureBackupFolder(relative.substr(0, slash));
        if (parent != ERR_NONE) return parent;
    }
    // Outside the lock: the other thread may make the same folder at once.
    if (mkdirat(backupFolder_, relative.c_str(), 0700) != 0 && errno != EEXIST) return ERR_PATH_NOT_FOUND;
    const std::lock_guard<std::mutex> lock(backupFoldersMutex_);
    if (backupFolders_.Find(relative) == FolderTable::kNone) (void)backupFolders_.Add(relative, {});
    return ERR_NONE;
}

ErrorCode InstallTransaction::SaveOriginal(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    const ErrorCode folder = EnsureBackupFolder(slash == std::string::npos ? std::string() : relative.substr(0, slash));
    if (folder != ERR_NONE) return folder;
    const char* path = relative.c_str();
    // The original stays in place until the new file is renamed over it.
    if (linkat(targetFolder_, path, backupFolder_, path, 0) == 0) return ERR_NONE;
    // A file system that ignores letter case takes two names of the kit for
    // one file: the backup already holds the user's version.
    if (errno == EEXIST) return ERR_NONE;
    if (errno != EXDEV && errno != EPERM && errno != EMLINK && errno != EOPNOTSUPP) return ErrorFromErrno(errno);
    const int copied = CopyFileSynced(targetFolder_, path, backupFolder_, path);
    return copied == 0 ? ERR_NONE : ErrorFromErrno(copied);
}

ErrorCode InstallTransaction::WriteEntry(const KitReader& kit, std::size_t index, const std::string& temporary,
                                         std::span<unsigned char> buffer) {
    const int file = openat(targetFolder_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (file < 0) return ErrorFromErrno(errno);
    ErrorCode code = KitCopyEntryData(kit, index, file, buffer);
    Step();
    const Planned& entry = plan_[index];
    if (code == ERR_NONE && entry.action == EntryAction::Replace && fchmod(file, entry.mode) != 0) {
        code = ErrorFromErrno(errno);
    }
    const timespec time = TimespecFromFileTime((*entries_)[index].lastWriteTime);
    const timespec times[2] = {time, time};
    if (code == ERR_NONE && futimens(file, times) != 0) code = ErrorFromErrno(errno);
    if (close(file) != 0 && code == ERR_NONE) code = ErrorFromErrno(errno);
    return code;
}

ErrorCode InstallTransaction::Install(const KitReader& kit, std::size_t index, std::span<unsigned char> buffer) {
    if (!Writes(plan_[index].action)) return ERR_NONE;
    const std::string relative = RelativePath(index);
    if (plan_[index].action == EntryAction::Replace) {
        const ErrorCode saved = SaveOriginal(relative);
        if (saved != ERR_NONE) return saved;
        Step();
    }
    const std::string temporary = relative.substr(0, relative.rfind('/') + 1) + TemporaryName(tag_, index);
    ErrorCode code = WriteEntry(kit, index, temporary, buffer);
    if (code == ERR_NONE && renameat(targetFolder_, temporary.c_str(), targetFolder_, relative.c_str()) != 0) {
        code = ErrorFromErrno(errno);
    }
    // A temporary file that did not make it into place goes; the rollback would remove it too.
    if (code != ERR_NONE) (void)unlinkat(targetFolder_, temporary.c_str(), 0);
    Step();
    return code;
}

ErrorCode InstallTransaction::Commit() {
    if (!begun_) return ERR_NONE;
    // One flush of the template directory's file system costs less than a
    // sync per file and folder, and leaves none of them out.
    if (targetFolder_ >= 0 && syncfs(targetFolder_) != 0) return ErrorFromErrno(errno);
    Step();
    if (!journal_.MarkCommitted()) return ERR_CANT_WRITE;
    Step();
    if (!backup_.empty()) DropBackup();
    Step();
    journal_.Remove();
    return ERR_NONE;
}

void InstallTransaction::DropBackup() {
    // Everything in it is known by name: unlinking it so spares reading back
    // every folder, which costs more than the unlinking itself.
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (plan_[i].action == EntryAction::Replace) (void)unlinkat(backupFolder_, RelativePath(i).c_str(), 0);
    }
    std::vector<std::uint32_t> folders(backupFolders_.size());
    for (std::uint32_t number = 0; number < folders.size(); ++number) folders[number] = number;
    // A folder's path is longer than its parent's: the longest go first.
    std::sort(folders.begin(), folders.end(), [this](std::uint32_t a, std::uint32_t b) {
        return backupFolders_.PathOf(a).size() > backupFolders_.PathOf(b).size();
    });
    for (const std::uint32_t folder : folders) {
        (void)unlinkat(backupFolder_, std::string(backupFolders_.PathOf(folder)).c_str(), AT_REMOVEDIR);
    }
    // Anything not foreseen is removed the slow way.
    if (rmdir(backup_.c_str()) != 0) RemoveSystemTree(backup_);
}

RollbackOutcome InstallTransaction::Rollback() {
    if (!begun_) return RollbackOutcome{};
    const RollbackOutcome outcome = RollBackRun(journal_.Read());
    journal_.Remove();
    begun_ = false;
    return outcome;
}

void InstallTransaction::Step() {
    // A test seam: the crash test ends the process at each step in turn.
    if (crashAt_ >= 0 && steps_.fetch_add(1) == crashAt_) raise(SIGKILL);
}
