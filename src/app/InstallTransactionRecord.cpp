// The record's part of an installation run: reading the kit's previous
// record, the user's edits kept aside, the files and folders the kit no
// longer ships, and the new record, all planned with the rest of the run and
// journaled with it, so that a rollback or a recovery undoes them too.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <unordered_set>

#include "app/EntryPathOrder.h"
#include "app/FileDecision.h"
#include "app/InstallTransaction.h"
#include "app/RecordedFilesNow.h"
#include "platform/FileCopy.h"
#include "platform/FileTree.h"
#include "platform/SystemPath.h"

namespace {

constexpr char kKeptSuffix[] = ".qorn-old";
constexpr std::size_t kChecksumBuffer = 64 * 1024;
constexpr int kMaxKeptNumber = 1000;

bool WritesFile(EntryAction action) { return action == EntryAction::Create || action == EntryAction::Replace; }

// `relative` with `suffix` after its file name, that name cut short (at a
// character's first byte) where both would not fit in one name: a kit's
// name may use all of NAME_MAX, and its edit must still be kept.
std::string WithSuffix(const std::string& relative, const std::string& suffix) {
    const std::size_t slash = relative.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t end = relative.size();
    if (end - nameStart + suffix.size() > NAME_MAX) {
        end = nameStart + (NAME_MAX - suffix.size());
        while (end > nameStart && (static_cast<unsigned char>(relative[end]) & 0xC0) == 0x80) --end;
    }
    return relative.substr(0, end) + suffix;
}

}  // namespace

void InstallTransaction::ReadPreviousRecord() {
    // A directory the run creates holds no record yet.
    if (!createdAbove_.empty()) return;
    DatedRecord read;
    const bool takenAhead = readOnly_ && options_.readAhead != nullptr &&
                            options_.readAhead->Take(targetFolder_.get(), options_.identity, &read);
    if (!takenAhead) read = ReadDatedRecord(targetFolder_.get(), options_.identity);
    previousState_ = read.state;
    previous_ = std::move(read.record);
    previousWritten_ = read.dated ? read.written : timespec{};
}

ErrorCode InstallTransaction::LoadRecord() {
    if (!createdAbove_.empty()) return uninstall_ ? ERR_NO_RECORD : ERR_NONE;
    // Never read or written through it, and never moved: a run without its
    // record would drop what the next one needs, so none starts.
    if (previousState_ == RecordState::Obstructed) return ERR_RECORD_OBSTRUCTED;
    if (previousState_ == RecordState::Damaged) {
        // Never trusted with anything: set aside like a damaged journal, and
        // the run goes on as though there were none.
        recordDamaged_ = true;
        previous_ = InstallRecord{};
        recordSetAside_ = readOnly_ ? RecordPath(options_.identity) : SetRecordAside(targetFolder_.get(), options_.identity);
    }
    if (uninstall_ && previousState_ != RecordState::Found) return ERR_NO_RECORD;
    return ERR_NONE;
}

ErrorCode InstallTransaction::PlanRecord() {
    MatchPreviousRecord();
    PlanKeptEdits();
    const std::vector<bool> shipped = PreviousStillShipped();
    PlanNoLongerShipped(shipped);
    PlanRemovedFolders();
    // A run that changes nothing writes no record, and shows none: it only
    // learns whether the run it stands for would read the kit's files.
    if (!uninstall_ && readOnly_ && !writesFiles_) PlanRecordLines();
    if (!uninstall_ && !readOnly_) {
        const ErrorCode planned = PlanNewRecord();
        if (planned != ERR_NONE) return planned;
    }
    if (!removals_.empty()) replacesAny_ = true;
    if (!removals_.empty() || !removedFolders_.empty() || writesRecord_) writesAny_ = true;
    std::vector<std::uint32_t>().swap(previousOf_);
    return ERR_NONE;
}

void InstallTransaction::MatchPreviousRecord() {
    previousOf_.assign(previous_.files.empty() ? 0 : plan_.size(), kNotRecorded);
    std::size_t next = 0;
    std::string relative;
    for (std::size_t i = 0; i < previousOf_.size(); ++i) {
        if (!RelativePath(i, &relative)) continue;
        const RecordedFile* found = next < previous_.files.size() && previous_.files[next].path == relative
                                        ? &previous_.files[next]
                                        : FindRecordedFile(previous_, relative);
        if (found == nullptr) continue;
        previousOf_[i] = static_cast<std::uint32_t>(found - previous_.files.data());
        next = previousOf_[i] + 1;
    }
}

const RecordedFile* InstallTransaction::PreviousOf(std::size_t index) const {
    return previousOf_.empty() || previousOf_[index] == kNotRecorded ? nullptr : &previous_.files[previousOf_[index]];
}

std::string InstallTransaction::FreeKeptName(const std::string& relative, const std::set<std::string>& taken) const {
    for (int number = 0; number < kMaxKeptNumber; ++number) {
        const std::string candidate =
            WithSuffix(relative, kKeptSuffix + (number == 0 ? std::string() : std::to_string(number)));
        struct stat status {};
        if (taken.count(candidate) == 0 && fstatat(targetFolder_.get(), candidate.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 &&
            errno == ENOENT) {
            return candidate;
        }
    }
    return WithSuffix(relative, kKeptSuffix);  // taken: keeping it fails the run, which loses nothing
}

void InstallTransaction::PlanKeptEdits() {
    if (previous_.files.empty()) return;
    // Only a file the kit replaces and the record knows can hold an edit to keep.
    std::vector<std::uint32_t> replaced;
    std::vector<std::uint32_t> recorded;
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (plan_[i].action != EntryAction::Replace || PreviousOf(i) == nullptr) continue;
        replaced.push_back(static_cast<std::uint32_t>(i));
        recorded.push_back(previousOf_[i]);
    }
    const std::vector<RecordedFileNow> now =
        LookAtRecordedFiles(targetFolder_.get(), links_, previous_, recorded, previousWritten_);
    std::set<std::string> taken;  // two long names may be cut to one
    for (std::size_t k = 0; k < replaced.size(); ++k) {
        const FileDecision decision = Decide({.inKit = true, .onDisk = true, .olderThanKit = true, .recorded = true,
                                              .asRecorded = !now[k].edited});
        if (decision == FileDecision::ReplaceKeepingEdit) {
            keptAside_.push_back({replaced[k], FreeKeptName(previous_.files[recorded[k]].path, taken), now[k].identity});
            taken.insert(keptAside_.back().keptPath);
        }
    }
}

void InstallTransaction::SaveParentTime(const std::string& relative) {
    const std::string parent(FolderPart(relative));
    const FolderDescriptor folder(OpenFolderBeneath(targetFolder_.get(), parent, links_));
    struct stat status {};
    if (!folder.valid() || fstat(folder.get(), &status) != 0) return;
    const std::string below = JoinRelative(targetBelowAnchor_, parent);
    for (const JournalFolderTime& saved : extraFolderTimes_) {
        if (saved.path == below) return;
    }
    extraFolderTimes_.push_back({below, status.st_mtim.tv_sec, status.st_mtim.tv_nsec});
}

void InstallTransaction::PlanNoLongerShipped(const std::vector<bool>& shipped) {
    std::vector<std::uint32_t> dropped;
    for (std::size_t k = 0; k < previous_.files.size(); ++k) {
        if (!shipped[k]) dropped.push_back(static_cast<std::uint32_t>(k));
    }
    const std::vector<RecordedFileNow> now =
        LookAtRecordedFiles(targetFolder_.get(), links_, previous_, dropped, previousWritten_);
    // A file another kit installed too is that kit's as well: it stays for it.
    const std::vector<std::string> others =
        dropped.empty() ? std::vector<std::string>() : PathsOfOtherKits(targetFolder_.get(), options_.identity);
    for (std::size_t j = 0; j < dropped.size(); ++j) {
        const RecordedFile& file = previous_.files[dropped[j]];
        switch (Decide({.inKit = false, .onDisk = now[j].onDisk, .recorded = true, .asRecorded = !now[j].edited})) {
            case FileDecision::Remove:
                if (std::binary_search(others.begin(), others.end(), file.path)) break;
                removals_.push_back({file.path, now[j].identity, false});
                bytesRemoved_ += file.size;
                SaveParentTime(file.path);
                break;
            case FileDecision::KeepEdited: keptEdited_.push_back(file.path); break;
            default: break;
        }
    }
    if (uninstall_) {
        const std::string record = RecordPath(options_.identity);
        struct stat status {};
        if (fstatat(targetFolder_.get(), record.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
            removals_.push_back({record, IdentityOfStatus(status), true});
            SaveParentTime(record);
        }
    }
}

void InstallTransaction::PlanRemovedFolders() {
    if (previous_.createdFolders.empty() && !uninstall_) return;
    // A recorded folder that holds a path of the kit stays.
    std::unordered_set<std::string_view> holding(previous_.createdFolders.begin(), previous_.createdFolders.end());
    std::unordered_set<std::string_view> kept;
    std::string lastFolder;
    std::string relative;
    for (std::size_t i = 0; i < plan_.size() && kept.size() < holding.size(); ++i) {
        if (!RelativePath(i, &relative)) continue;
        if (FolderPart(relative) == lastFolder) continue;
        lastFolder = FolderPart(relative);
        for (std::string_view folder = FolderPart(relative); !folder.empty(); folder = FolderPart(folder)) {
            const auto found = holding.find(folder);
            if (found != holding.end()) kept.insert(*found);
        }
    }
    std::vector<std::string> candidates;
    for (const std::string& folder : previous_.createdFolders) {
        if (kept.count(folder) == 0) candidates.push_back(folder);
    }
    if (uninstall_) candidates.emplace_back(kRecordFolder);
    // Inner before outer: a folder is empty once what goes from it has gone.
    std::sort(candidates.begin(), candidates.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    std::unordered_set<std::string> going;
    for (const Removal& removal : removals_) going.insert(removal.path);
    for (const std::string& candidate : candidates) {
        const FolderDescriptor folder(OpenFolderBeneath(targetFolder_.get(), candidate, links_));
        std::vector<std::string> names;
        struct stat status {};
        if (!folder.valid() || fstat(folder.get(), &status) != 0 || !ListFolderNames(folder.get(), &names)) continue;
        const bool empties = std::all_of(names.begin(), names.end(), [&](const std::string& name) {
            return going.count(JoinRelative(candidate, name)) != 0;
        });
        if (!empties) continue;
        going.insert(candidate);
        removedFolders_.push_back(candidate);
        extraFolderTimes_.push_back(
            {JoinRelative(targetBelowAnchor_, candidate), status.st_mtim.tv_sec, status.st_mtim.tv_nsec});
        SaveParentTime(candidate);
    }
}

std::vector<bool> InstallTransaction::PreviousStillShipped() const {
    std::vector<bool> shipped(previous_.files.size(), false);
    if (previous_.files.empty()) return shipped;
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (const RecordedFile* found = PreviousOf(i); found != nullptr) {
            shipped[static_cast<std::size_t>(found - previous_.files.data())] = true;
        }
    }
    return shipped;
}

std::vector<std::uint32_t> InstallTransaction::RecordedEntries() const {
    if (namesUnique_) {
        std::vector<std::uint32_t> all(plan_.size());
        for (std::uint32_t i = 0; i < all.size(); ++i) all[i] = i;
        return all;
    }
    // Sorted by name, the entry that writes it first, then in kit order: the first of each name is the one.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> byName;  // hash of the name, entry
    byName.reserve(plan_.size());
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (plan_[i].action != EntryAction::Superseded) {
            byName.emplace_back(PathHash((*entries_)[i].name), static_cast<std::uint32_t>(i));
        }
    }
    std::sort(byName.begin(), byName.end(), [this](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        const int order = ComparePaths((*entries_)[a.second].name, (*entries_)[b.second].name);
        if (order != 0) return order < 0;
        const bool aWrites = WritesFile(plan_[a.second].action);
        if (aWrites != WritesFile(plan_[b.second].action)) return aWrites;
        return a.second < b.second;
    });
    std::vector<std::uint32_t> chosen;
    for (std::size_t k = 0; k < byName.size(); ++k) {
        const bool sameName = k > 0 && byName[k - 1].first == byName[k].first &&
                              ComparePaths((*entries_)[byName[k - 1].second].name, (*entries_)[byName[k].second].name) == 0;
        if (!sameName) chosen.push_back(byName[k].second);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

bool InstallTransaction::RepeatsPreviousRecord() const {
    if (!(recordHeader_.identity == previous_.identity) || recordHeader_.createdTarget != previous_.createdTarget ||
        recordHeader_.createdFolders != previous_.createdFolders || recordLines_.size() != previous_.files.size()) {
        return false;
    }
    // Every line took its size, time and checksum from the recorded file of
    // its path (PlanRecordLines): it is that file's line when it stands in its place.
    for (std::size_t line = 0; line < recordLines_.size(); ++line) {
        if (previousOf_.empty() || previousOf_[recordLines_[line]] != line) return false;
    }
    return true;
}

void InstallTransaction::RecordLine(std::size_t line, RecordedFile* file) const {
    const std::uint32_t i = recordLines_[line];
    const KitEntry& entry = (*entries_)[i];
    const timespec time = TimespecFromFileTime(entry.lastWriteTime);
    if (!RelativePath(i, &file->path)) file->path.clear();
    file->size = entry.size;
    file->seconds = time.tv_sec;
    file->nanoseconds = time.tv_nsec;
    file->checksum = lineChecksums_[line];
}

bool InstallTransaction::PlanRecordLines() {
    recordLines_ = RecordedEntries();
    lineChecksums_.assign(recordLines_.size(), Checksum128{});
    linesReadFromKit_.clear();
    bool takenOnTheWay = false;
    for (std::size_t line = 0; line < recordLines_.size(); ++line) {
        const std::uint32_t i = recordLines_[line];
        const KitEntry& entry = (*entries_)[i];
        const timespec time = TimespecFromFileTime(entry.lastWriteTime);
        const RecordedFile* previous = WritesFile(plan_[i].action) ? nullptr : PreviousOf(i);
        if (WritesFile(plan_[i].action)) {
            takenOnTheWay = true;  // its data passes through a buffer anyway
        } else if (previous != nullptr && previous->size == entry.size && previous->seconds == time.tv_sec &&
                   previous->nanoseconds == time.tv_nsec) {
            // The file the record describes, which the time rule keeps: the same kit file as then.
            lineChecksums_[line] = previous->checksum;
        } else {
            linesReadFromKit_.push_back(static_cast<std::uint32_t>(line));  // read by Stage
        }
    }
    return takenOnTheWay;
}

ErrorCode InstallTransaction::PlanNewRecord() {
    InstallRecord record;
    record.identity = options_.identity;
    record.createdTarget = previous_.createdTarget || !createdAbove_.empty();
    // The folders it made, earlier runs' that stay and this run's own.
    for (const std::string& folder : previous_.createdFolders) {
        if (std::find(removedFolders_.begin(), removedFolders_.end(), folder) == removedFolders_.end()) {
            record.createdFolders.push_back(folder);
        }
    }
    for (const std::uint32_t folder : createdBelow_) record.createdFolders.emplace_back(folders_.PathOf(folder));
    std::sort(record.createdFolders.begin(), record.createdFolders.end(),
              [](const std::string& a, const std::string& b) { return a.size() < b.size() || (a.size() == b.size() && a < b); });
    record.createdFolders.erase(std::unique(record.createdFolders.begin(), record.createdFolders.end()),
                                record.createdFolders.end());
    const bool takenOnTheWay = PlanRecordLines();
    recordHeader_ = std::move(record);
    // What a reinstallation mostly finds: nothing to write, nor even to make again.
    if (previousState_ == RecordState::Found && !takenOnTheWay && linesReadFromKit_.empty() && RepeatsPreviousRecord()) {
        writesRecord_ = false;
        return ERR_NONE;
    }
    // Its size and checksum without keeping its bytes: a large kit's record is made again when it is written.
    std::uint64_t size = 0;
    ChecksumStream whole;
    const auto line = [this](std::size_t number, RecordedFile* file) { RecordLine(number, file); };
    WriteRecordBytes(recordHeader_, recordLines_.size(), line,
                     [&](std::string_view piece) {
                         size += piece.size();
                         whole.Add(reinterpret_cast<const unsigned char*>(piece.data()), piece.size());
                     });
    recordSize_ = size;
    // A checksum still to come may change the record; without one, an equal record is left as it is.
    // A line still to be read from the kit differs from the previous record's: its size or time does.
    writesRecord_ = previousState_ != RecordState::Found || takenOnTheWay || !linesReadFromKit_.empty() ||
                    !(whole.Result() == previous_.sealed);
    if (!writesRecord_) return ERR_NONE;
    // Something else of that name where the record folder must be is an obstacle, as in a kit's path.
    const std::uint32_t folder = FolderAt(kRecordFolder);
    if (folder == FolderTable::kNone) return ERR_INVALID_PARAMETER;
    SaveFolderTime(folder);
    const std::string path = RecordPath(options_.identity);
    struct stat status {};
    if (folders_[folder].exists && fstatat(targetFolder_.get(), path.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        recordReplaces_ = true;
        recordOriginal_ = IdentityOfStatus(status);
        replacesAny_ = true;
    }
    // The record takes the time of the kit's newest file: the same kit over
    // the same tree gives the same record, byte for byte and time for time.
    // Never the identity of the record it replaces: a rollback tells the two
    // apart by size and time.
    timespec newest{0, 0};
    for (const std::uint32_t i : recordLines_) {
        const timespec time = TimespecFromFileTime((*entries_)[i].lastWriteTime);
        if (Earlier(newest, time)) newest = time;
    }
    recordWritten_ = {static_cast<std::int64_t>(recordSize_), newest.tv_sec, newest.tv_nsec};
    if (recordReplaces_ && recordWritten_.size == recordOriginal_.size &&
        recordWritten_.seconds == recordOriginal_.seconds) {
        ++recordWritten_.seconds;
    }
    return ERR_NONE;
}

void InstallTransaction::JournalRecordChanges() {
    if (!recordKept_) return;
    if (writesRecord_) {
        journal_.File({RecordPath(options_.identity), ExtraIndex(0), recordReplaces_, recordWritten_, recordOriginal_, {}, {}});
    }
    for (std::size_t k = 0; k < keptAside_.size(); ++k) {
        journal_.File({keptAside_[k].keptPath, ExtraIndex(1 + k), false, keptAside_[k].identity, {}, {}, {}});
    }
    for (std::size_t r = 0; r < removals_.size(); ++r) {
        JournalFile file{removals_[r].path, RemovalIndex(r), true, {}, removals_[r].identity, {}, {}};
        file.removes = true;
        journal_.File(file);
    }
    for (const std::string& folder : removedFolders_) journal_.RemovedDir(JoinRelative(targetBelowAnchor_, folder));
    for (const JournalFolderTime& time : extraFolderTimes_) journal_.FolderTime(time);
}

const InstallTransaction::KeptAside* InstallTransaction::KeptAsideOf(std::size_t index) const {
    const auto found = std::lower_bound(keptAside_.begin(), keptAside_.end(), index,
                                        [](const KeptAside& kept, std::size_t entry) { return kept.entry < entry; });
    return found != keptAside_.end() && found->entry == index ? &*found : nullptr;
}

ErrorCode InstallTransaction::KeepAside(int folder, const KeptAside& kept) {
    const std::string name(NamePart(RelativePath(kept.entry)));
    const std::string keptName(NamePart(kept.keptPath));
    // A second name for the user's file: the same bytes and time, never over another file.
    if (linkat(folder, name.c_str(), folder, keptName.c_str(), 0) != 0) return ErrorFromErrno(errno);
    // The undo removes this name only while it is still the user's file it was made for.
    const std::size_t number = static_cast<std::size_t>(&kept - keptAside_.data());
    if (!journal_.Written(ExtraIndex(1 + number), InstanceAt(folder, keptName.c_str()))) return ERR_CANT_WRITE;
    Step();
    return ERR_NONE;
}

ErrorCode InstallTransaction::RemoveNoLongerShipped(std::size_t number) {
    Removal& removal = removals_[number];
    const int folder = FolderOf(removal.path);
    if (folder < 0) return ERR_NONE;  // no longer reachable below the target: not touched
    const std::string name(NamePart(removal.path));
    struct stat status {};
    // Changed or gone since the plan: somebody else's now, and it stays.
    if (fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return ERR_NONE;
    removal.stayed = !(IdentityOfStatus(status) == removal.identity);
    if (removal.stayed) return ERR_NONE;
    const ErrorCode saved = SaveOriginal(folder, removal.path, RemovalIndex(number));
    if (saved != ERR_NONE) return saved;
    // An edit saved between the look and the backup's link: the backup holds
    // the user's version, which the commit would drop; both stay instead.
    struct stat now {};
    struct stat backedUp {};
    const std::string backupName = BackupName(RemovalIndex(number), removal.path);
    if (fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        fstatat(backupFolder_.get(), backupName.c_str(), &backedUp, AT_SYMLINK_NOFOLLOW) != 0 ||
        now.st_ino != status.st_ino || !(IdentityOfStatus(now) == removal.identity)) {
        if (!copiesOriginals_ && backedUp.st_ino == now.st_ino) (void)unlinkat(backupFolder_.get(), backupName.c_str(), 0);
        removal.stayed = true;
        return ERR_NONE;
    }
    Step();
    if (unlinkat(folder, name.c_str(), 0) != 0) return ErrorFromErrno(errno);
    Step();
    return ERR_NONE;
}

ErrorCode InstallTransaction::WriteRecord() {
    const std::string path = RecordPath(options_.identity);
    const int folder = FolderOf(path);
    if (folder < 0) return ERR_PATH_NOT_FOUND;
    if (recordReplaces_) {
        const ErrorCode saved = SaveOriginal(folder, path, ExtraIndex(0));
        if (saved != ERR_NONE) return saved;
    }
    const std::string temporary = TemporaryName(tag_, ExtraIndex(0));
    const int file = openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) return ErrorFromErrno(errno);
    ErrorCode code = ERR_NONE;
    std::string pending;
    const auto flush = [&] {
        for (std::size_t done = 0; code == ERR_NONE && done < pending.size();) {
            const ssize_t put = write(file, pending.data() + done, pending.size() - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) code = ErrorFromErrno(put < 0 ? errno : ENOSPC);
            else done += static_cast<std::size_t>(put);
        }
        pending.clear();
    };
    const auto line = [this](std::size_t number, RecordedFile* file) { RecordLine(number, file); };
    WriteRecordBytes(recordHeader_, recordLines_.size(), line,
                     [&](std::string_view piece) {
                         pending += piece;
                         if (pending.size() >= kChecksumBuffer) flush();
                     });
    flush();
    const timespec time{static_cast<time_t>(recordWritten_.seconds), static_cast<long>(recordWritten_.nanoseconds)};
    const timespec times[2] = {time, time};
    if (code == ERR_NONE && futimens(file, times) != 0) code = ErrorFromErrno(errno);
    if (code == ERR_NONE && fsync(file) != 0) code = ErrorFromErrno(errno);
    // Known to the journal before the record is in place: the undo removes only this file.
    if (code == ERR_NONE && !journal_.Written(ExtraIndex(0), InstanceAt(file, ""))) code = ERR_CANT_WRITE;
    if (close(file) != 0 && code == ERR_NONE) code = ErrorFromErrno(errno);
    if (code == ERR_NONE && renameat(folder, temporary.c_str(), folder, NamePart(path).data()) != 0) {
        code = ErrorFromErrno(errno);
    }
    if (code != ERR_NONE) (void)unlinkat(folder, temporary.c_str(), 0);  // the rollback would remove it too
    if (code == ERR_NONE) {
        // Written: not needed again, and the summary that follows takes as much room.
        std::vector<std::uint32_t>().swap(recordLines_);
        std::vector<Checksum128>().swap(lineChecksums_);
    }
    Step();
    return code;
}

ErrorCode InstallTransaction::FinishRecord() {
    if (!recordKept_ || !begun_) return ERR_NONE;
    for (std::size_t r = 0; r < removals_.size(); ++r) {
        const ErrorCode code = RemoveNoLongerShipped(r);
        if (code != ERR_NONE) return code;
    }
    for (const std::string& path : removedFolders_) {
        const FolderDescriptor parent(OpenFolderBeneath(targetFolder_.get(), FolderPart(path), links_));
        // One that somebody filled meanwhile stays, with what is in it.
        if (parent.valid() && unlinkat(parent.get(), std::string(NamePart(path)).c_str(), AT_REMOVEDIR) != 0 &&
            errno != ENOTEMPTY && errno != EEXIST && errno != ENOENT) {
            return ErrorFromErrno(errno);
        }
        Step();
    }
    return writesRecord_ ? WriteRecord() : ERR_NONE;
}

void InstallTransaction::DescribeSubject(RunSummary& summary) const {
    summary.templateDirectory = target_;
    summary.product = options_.identity.product;
    summary.provider = options_.identity.provider;
    if (recordDamaged_) summary.recordSetAside = target_ + recordSetAside_;
}

void InstallTransaction::Describe(RunSummary& summary) const {
    DescribeSubject(summary);
    // Sized at once: a large kit's lists grown by doubling would stand in memory nearly twice over.
    const auto reserve = [this](PathList& list, EntryAction action) {
        std::size_t count = 0;
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < plan_.size(); ++i) {
            if (plan_[i].action != action) continue;
            ++count;
            bytes += (*entries_)[i].name.length();  // a path's length, where it is ASCII
        }
        list.reserve(count, bytes);
    };
    reserve(summary.created, EntryAction::Create);
    reserve(summary.replaced, EntryAction::Replace);
    reserve(summary.upToDate, EntryAction::Skip);
    std::string path;
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        if (!RelativePath(i, &path)) path.clear();
        switch (plan_[i].action) {
            case EntryAction::Create: summary.created.push_back(path); break;
            case EntryAction::Replace: summary.replaced.push_back(path); break;
            case EntryAction::Skip: summary.upToDate.push_back(path); break;
            case EntryAction::Superseded: break;
        }
    }
    for (const KeptAside& kept : keptAside_) summary.keptEdits.push_back({RelativePath(kept.entry), kept.keptPath});
    for (const std::string& path : keptEdited_) summary.keptEdits.push_back({path, path});
    std::uint64_t stayedBytes = 0;
    for (const Removal& removal : removals_) {
        if (removal.isRecord) continue;
        if (removal.stayed) {
            summary.keptEdits.push_back({removal.path, removal.path});
            stayedBytes += static_cast<std::uint64_t>(removal.identity.size);
        } else {
            summary.removed.push_back(removal.path);
        }
    }
    summary.bytesWritten = bytesToWrite_;
    summary.bytesRemoved = bytesRemoved_ - stayedBytes;
    summary.keptBackupFolder = keptByEarlierRun_;
}
