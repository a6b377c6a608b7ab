#include "app/InstallJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <string_view>

#include "launcher/LauncherPaths.h"
#include "platform/Retried.h"
#include "platform/SystemPath.h"

namespace {

// Records are a kind letter followed by NUL-terminated fields; paths hold no
// NUL, so any byte sequence of a path is kept exactly.
// Version 3 adds the inodes of originals ('R') and of written files ('W'),
// and the files ('X') and folders ('Y') a run removes; version 4 keeps the
// originals in the backup folder itself, under BackupName, with the records
// of version 3; version 5 adds the identity of the target the run made ('E').
constexpr char kHeader[] = "qorn-setup-journal 5";
constexpr char kHeaderFlatBackup[] = "qorn-setup-journal 4";
constexpr char kHeaderMirroredBackup[] = "qorn-setup-journal 3";
constexpr char kHeaderWithoutInodes[] = "qorn-setup-journal 2";
constexpr std::size_t kFlushSize = 256 * 1024;

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat status {};
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool WriteAll(int descriptor, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = Retried([&] { return write(descriptor, bytes.data() + done, bytes.size() - done); });
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool SyncFolder(const std::string& folder) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = fsync(descriptor) == 0;
    close(descriptor);
    return synced;
}

std::string Home() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    AString path;
    return ToSystemPath(HomeDirectory(), &path) && !path.empty() ? std::string(path.c_str(), path.size())
                                                                 : std::string();
}

class FieldReader {
public:
    explicit FieldReader(const std::string& bytes) : bytes_(bytes) {}
    bool Next(std::string& field) {
        const std::size_t end = bytes_.find('\0', at_);
        if (end == std::string::npos) {
            exhausted_ = true;
            return false;
        }
        field.assign(bytes_, at_, end - at_);
        at_ = end + 1;
        return true;
    }
    bool NextNumber(std::int64_t& number) {
        std::string field;
        if (!Next(field) || field.empty()) return false;
        char* end = nullptr;
        number = std::strtoll(field.c_str(), &end, 10);
        return *end == '\0';
    }
    bool AtEnd() const { return at_ >= bytes_.size(); }
    // What is left is nothing but zeros: a tail the file system never got to write.
    bool OnlyZerosLeft() const { return bytes_.find_first_not_of('\0', at_) == std::string::npos; }
    // A field ran into the end of the bytes: the record was cut short there.
    bool exhausted() const { return exhausted_; }
    bool NextKind(char& kind) {
        if (AtEnd()) return false;
        kind = bytes_[at_++];
        return true;
    }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
    bool exhausted_ = false;
};

bool NextIdentity(FieldReader& reader, FileIdentity& identity) {
    return reader.NextNumber(identity.size) && reader.NextNumber(identity.seconds) &&
           reader.NextNumber(identity.nanoseconds);
}

bool NextInstance(FieldReader& reader, FileInstance& instance) {
    std::int64_t inode = 0;
    if (!reader.NextNumber(inode) || !reader.NextNumber(instance.birthSeconds) ||
        !reader.NextNumber(instance.birthNanoseconds)) {
        return false;
    }
    instance.inode = static_cast<std::uint64_t>(inode);
    return true;
}

bool NextFolder(FieldReader& reader, FolderIdentity& identity) {
    std::int64_t device = 0;
    std::int64_t inode = 0;
    if (!reader.NextNumber(device) || !reader.NextNumber(inode)) return false;
    identity = {static_cast<std::uint64_t>(device), static_cast<std::uint64_t>(inode)};
    return true;
}

bool ReadFile(FieldReader& reader, char kind, bool withInodes, JournalContent& content) {
    JournalFile file;
    std::int64_t index = 0;
    file.replaces = kind == 'R' || kind == 'X';
    file.removes = kind == 'X';
    if (!reader.Next(file.path) || !reader.NextNumber(index)) return false;
    if (!file.removes && !NextIdentity(reader, file.written)) return false;
    if (file.replaces && !NextIdentity(reader, file.original)) return false;
    if (file.replaces && withInodes && !NextInstance(reader, file.originalInstance)) return false;
    file.index = static_cast<std::uint64_t>(index);
    content.files.push_back(std::move(file));
    return true;
}

// The files are journaled in the order of their indexes.
bool ReadWritten(FieldReader& reader, JournalContent& content) {
    std::int64_t index = 0;
    FileInstance instance;
    if (!reader.NextNumber(index) || !NextInstance(reader, instance)) return false;
    const auto file = std::lower_bound(
        content.files.begin(), content.files.end(), static_cast<std::uint64_t>(index),
        [](const JournalFile& f, std::uint64_t wanted) { return f.index < wanted; });
    if (file == content.files.end() || file->index != static_cast<std::uint64_t>(index)) return false;
    file->writtenInstance = instance;
    return true;
}

// Reads one record into `content`; false at the end or at a record that is
// not whole.
bool ReadRecord(FieldReader& reader, bool withInodes, bool withMadeTarget, JournalContent& content) {
    char kind = 0;
    if (!reader.NextKind(kind)) return false;
    std::string a;
    std::int64_t x = 0;
    std::int64_t y = 0;
    FolderIdentity identity;
    switch (kind) {
        case 'T': {
            std::string tag;
            std::string anchor;
            if (!reader.Next(a) || !reader.Next(tag) || !reader.Next(anchor) || !NextFolder(reader, identity)) {
                return false;
            }
            content.target = a;
            content.tag = tag;
            content.anchor = anchor;
            content.anchorIdentity = identity;
            return true;
        }
        case 'B':
            if (!reader.Next(a) || !NextFolder(reader, identity)) return false;
            content.backup = a;
            content.backupIdentity = identity;
            return true;
        case 'L':
            if (!reader.Next(a) || !NextFolder(reader, identity)) return false;
            content.links.push_back({a, static_cast<dev_t>(identity.device), static_cast<ino_t>(identity.inode)});
            return true;
        case 'D': if (!reader.Next(a)) return false; content.createdDirs.push_back(a); return true;
        case 'N':
        case 'R': return ReadFile(reader, kind, withInodes, content);
        case 'W': return withInodes && ReadWritten(reader, content);
        case 'X': return withInodes && ReadFile(reader, kind, withInodes, content);
        case 'Y': if (!withInodes || !reader.Next(a)) return false; content.removedDirs.push_back(a); return true;
        case 'M':
            if (!reader.Next(a) || !reader.NextNumber(x) || !reader.NextNumber(y)) return false;
            content.folderTimes.push_back({a, x, y});
            return true;
        case 'E': return withMadeTarget && NextFolder(reader, content.madeTarget);
        case 'P': content.planned = true; return true;
        case 'C': content.committed = content.planned; return true;
        case 'U': content.undone = content.planned; return true;
        default: return false;
    }
}

bool IsNumberedName(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
    return name.substr(prefix.size()).find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsOwnBackup(const JournalContent& journal, const std::string& journalFolder) {
    if (journal.backup.size() < 2 || journal.backup.back() != '/') return false;
    const std::string folder = journal.backup.substr(0, journal.backup.size() - 1);
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return false;
    for (const BackupHome& home : BackupHomes(journal.target, journalFolder)) {
        if (folder.compare(0, slash + 1, home.folder) == 0 && slash + 1 == home.folder.size() &&
            IsNumberedName(std::string_view(folder).substr(slash + 1), home.prefix)) {
            return true;
        }
    }
    return false;
}

// The target and its anchor are opened by their paths and checked by device
// and inode; what must hold here is that every path the run walks below the
// anchor is plain.
bool TargetIsSound(const JournalContent& journal) {
    const std::string& target = journal.target;
    if (target.empty() || target[0] != '/' || target.back() != '/' || journal.anchor.empty() ||
        journal.anchor[0] != '/') {
        return false;
    }
    const std::string anchor = journal.anchor == "/" ? std::string("/") : journal.anchor + "/";
    return target.compare(0, anchor.size(), anchor) == 0 && IsPlainRelative(journal.TargetBelowAnchor(), true);
}

}  // namespace

std::string JournalContent::TargetBelowAnchor() const {
    const std::size_t skip = anchor == "/" ? 1 : anchor.size() + 1;
    return target.size() <= skip ? std::string() : target.substr(skip, target.size() - skip - 1);
}

bool JournalIsSound(const JournalContent& journal, const std::string& journalFolder) {
    if (!journal.known || journal.damaged) return false;
    // Cut short before its target: nothing was claimed or changed.
    if (journal.target.empty()) return journal.backup.empty() && journal.files.empty() && journal.createdDirs.empty();
    if (!TargetIsSound(journal) || journal.tag.empty() ||
        journal.tag.find_first_not_of("0123456789-") != std::string::npos) {
        return false;
    }
    if (!journal.backup.empty() && !IsOwnBackup(journal, journalFolder)) return false;
    for (const JournalFile& file : journal.files) {
        if (!IsPlainRelative(file.path) || (file.replaces && journal.backup.empty())) return false;
    }
    for (const AllowedLink& link : journal.links) {
        if (!IsPlainRelative(link.path)) return false;
    }
    for (const std::string& folder : journal.createdDirs) {
        if (!IsPlainRelative(folder)) return false;
    }
    for (const std::string& folder : journal.removedDirs) {
        if (!IsPlainRelative(folder)) return false;
    }
    for (const JournalFolderTime& time : journal.folderTimes) {
        if (!IsPlainRelative(time.path, true)) return false;
    }
    return true;
}

std::vector<BackupHome> BackupHomes(const std::string& target, const std::string& journalFolder) {
    std::vector<BackupHome> homes;
    const std::string trimmed = WithoutTrailingSlashes(target);
    const std::size_t slash = trimmed.rfind('/');
    if (trimmed != "/" && slash != std::string::npos) homes.push_back({trimmed.substr(0, slash + 1), ".xorup"});
    if (!journalFolder.empty()) homes.push_back({WithoutTrailingSlashes(journalFolder) + "/", "xorup"});
    return homes;
}

std::string TemporaryName(const std::string& tag, std::uint64_t index) {
    return ".qorn~" + tag + "." + std::to_string(index);
}

std::string BackupName(std::uint64_t index, std::string_view path) {
    constexpr std::size_t kLongestName = 255;  // NAME_MAX on every file system the installer writes to
    std::string name = std::to_string(index) + "-";
    const std::string_view own = NamePart(path);
    name.append(own.substr(0, kLongestName - name.size()));
    return name;
}

std::string JournalFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/qorn-setup";
    const std::string home = Home();
    return home.empty() ? std::string() : home + "/.local/state/qorn-setup";
}

JournalContent ParseJournal(const std::string& bytes) {
    JournalContent content;
    // A run killed between making the file and its first write: it had
    // claimed nothing yet, and its journal only needs to go.
    for (const char* known : {kHeader, kHeaderFlatBackup, kHeaderMirroredBackup}) {
        if (bytes.size() < sizeof kHeader && std::string_view(known, sizeof kHeader).starts_with(bytes)) {
            content.known = true;
            return content;
        }
    }
    FieldReader reader(bytes);
    std::string header;
    if (!reader.Next(header) || (header != kHeader && header != kHeaderFlatBackup && header != kHeaderMirroredBackup &&
                                 header != kHeaderWithoutInodes)) {
        return content;
    }
    content.known = true;
    const bool withInodes = header != kHeaderWithoutInodes;
    content.inodes = withInodes;
    content.flatBackup = header == kHeader || header == kHeaderFlatBackup;
    while (!reader.AtEnd() && !reader.OnlyZerosLeft()) {
        if (ReadRecord(reader, withInodes, header == kHeader, content)) continue;
        // Only the last record may be cut short; anything else is damage.
        content.damaged = !reader.exhausted();
        break;
    }
    return content;
}

InstallJournal::~InstallJournal() {
    if (descriptor_ >= 0) close(descriptor_);  // ends the lock
}

FileInstance InstanceAt(int folder, const char* name) {
    struct statx found {};
    const int flags = AT_SYMLINK_NOFOLLOW | (name[0] == '\0' ? AT_EMPTY_PATH : 0);
    if (statx(folder, name, flags, STATX_INO | STATX_BTIME, &found) != 0) return FileInstance{};
    return InstanceOf(found);
}

FileInstance InstanceOf(const struct statx& found) {
    FileInstance instance;
    instance.inode = found.stx_ino;
    if ((found.stx_mask & STATX_BTIME) != 0) {
        instance.birthSeconds = found.stx_btime.tv_sec;
        instance.birthNanoseconds = found.stx_btime.tv_nsec;
    }
    return instance;
}

bool MakeJournalFolder(const std::string& folder) { return !folder.empty() && MakeFolders(folder); }

bool InstallJournal::Create(const std::string& folder) {
    if (!MakeJournalFolder(folder)) return false;
    folder_ = folder;
    std::random_device random;
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
        path_ = folder + "/run-" + std::to_string(getpid()) + "-" + std::to_string(random() % 1000000) + ".journal";
        descriptor_ = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor_ < 0 && errno != EEXIST) break;
    }
    if (descriptor_ < 0) return false;
    // Nobody else has the new file yet, so the lock is granted at once.
    if (flock(descriptor_, LOCK_EX | LOCK_NB) != 0) return false;
    buffer_.assign(kHeader, sizeof kHeader);
    return true;
}

void InstallJournal::Record(char kind, std::initializer_list<Field> fields) {
    buffer_ += kind;
    for (const Field& field : fields) {
        buffer_ += field.text();
        buffer_ += '\0';
    }
    if (buffer_.size() < kFlushSize) return;
    failed_ = failed_ || !WriteAll(descriptor_, buffer_);
    buffer_.clear();
}

void InstallJournal::Target(const std::string& target, const std::string& tag, const std::string& anchor,
                            FolderIdentity anchorIdentity) {
    Record('T', {target, tag, anchor, anchorIdentity.device, anchorIdentity.inode});
}
void InstallJournal::Backup(const std::string& backup, FolderIdentity identity) {
    Record('B', {backup, identity.device, identity.inode});
}
void InstallJournal::Link(const AllowedLink& link) { Record('L', {link.path, link.device, link.inode}); }
void InstallJournal::CreatedDir(const std::string& path) { Record('D', {path}); }
void InstallJournal::File(const JournalFile& file) {
    const FileIdentity& w = file.written;
    const FileIdentity& o = file.original;
    if (file.removes) {
        Record('X', {file.path, file.index, o.size, o.seconds, o.nanoseconds, file.originalInstance.inode,
                     file.originalInstance.birthSeconds, file.originalInstance.birthNanoseconds});
    } else if (file.replaces) {
        Record('R', {file.path, file.index, w.size, w.seconds, w.nanoseconds, o.size, o.seconds, o.nanoseconds,
                     file.originalInstance.inode, file.originalInstance.birthSeconds,
                     file.originalInstance.birthNanoseconds});
    } else {
        Record('N', {file.path, file.index, w.size, w.seconds, w.nanoseconds});
    }
}
void InstallJournal::FolderTime(const JournalFolderTime& time) {
    Record('M', {time.path, time.seconds, time.nanoseconds});
}
void InstallJournal::RemovedDir(const std::string& path) { Record('Y', {path}); }
void InstallJournal::PlanComplete() { Record('P', {}); }

bool InstallJournal::MadeTarget(FolderIdentity identity) {
    Record('E', {identity.device, identity.inode});
    return Flush();
}

bool InstallJournal::Written(std::uint64_t index, const FileInstance& instance) {
    const WrittenFile file{index, instance};
    return Written(std::span<const WrittenFile>(&file, 1));
}

bool InstallJournal::Written(std::span<const WrittenFile> files) {
    // One write() for them all, before any is renamed: a killed process leaves every one it made.
    std::string records;
    for (const WrittenFile& file : files) {
        records += 'W';
        for (const std::uint64_t field : {file.index, file.instance.inode}) {
            records += std::to_string(field);
            records += '\0';
        }
        for (const std::int64_t field : {file.instance.birthSeconds, file.instance.birthNanoseconds}) {
            records += std::to_string(field);
            records += '\0';
        }
    }
    const std::lock_guard<std::mutex> lock(writtenMutex_);
    return descriptor_ >= 0 && buffer_.empty() && WriteAll(descriptor_, records);
}

bool InstallJournal::Flush() {
    if (descriptor_ < 0 || failed_ || !WriteAll(descriptor_, buffer_)) return false;
    buffer_.clear();
    return true;
}

bool InstallJournal::Sync() {
    if (!Flush() || fdatasync(descriptor_) != 0) return false;
    // The journal's own name must survive a power loss as well as its bytes.
    if (!folderSynced_) folderSynced_ = SyncFolder(folder_);
    return folderSynced_;
}

bool InstallJournal::MarkCommitted() {
    Record('C', {});
    return Sync();
}

bool InstallJournal::MarkUndone() {
    Record('U', {});
    return Sync();
}

bool AppendUndoneMark(int descriptor) {
    return lseek(descriptor, 0, SEEK_END) >= 0 && WriteAll(descriptor, "U") && fdatasync(descriptor) == 0;
}

JournalContent InstallJournal::Read() const {
    std::string bytes;
    char chunk[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = Retried([&] { return pread(descriptor_, chunk, sizeof chunk, offset); });
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
        offset += got;
    }
    return ParseJournal(bytes + buffer_);
}

void InstallJournal::Remove() {
    if (!path_.empty()) (void)unlink(path_.c_str());  // a journal left behind is found and settled next time
    path_.clear();
}
