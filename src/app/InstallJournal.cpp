#include "app/InstallJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>

#include "launcher/LauncherPaths.h"
#include "platform/SystemPath.h"

namespace {

// Records are a kind letter followed by NUL-terminated fields; paths hold no
// NUL, so any byte sequence of a path is kept exactly.
constexpr char kHeader[] = "qorn-setup-journal 1";
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
        const ssize_t put = write(descriptor, bytes.data() + done, bytes.size() - done);
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
        if (end == std::string::npos) return false;
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
    bool NextKind(char& kind) {
        if (AtEnd()) return false;
        kind = bytes_[at_++];
        return true;
    }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

// Reads one record into `content`; false at the end or at a record cut short.
bool ReadRecord(FieldReader& reader, JournalContent& content) {
    char kind = 0;
    if (!reader.NextKind(kind)) return false;
    std::string a;
    std::int64_t x = 0;
    std::int64_t y = 0;
    switch (kind) {
        case 'T': {
            std::string tag;
            if (!reader.Next(a) || !reader.Next(tag)) return false;
            content.target = a;
            content.tag = tag;
            return true;
        }
        case 'B': if (!reader.Next(a)) return false; content.backup = a; return true;
        case 'D': if (!reader.Next(a)) return false; content.createdDirs.push_back(a); return true;
        case 'N':
        case 'R':
            if (!reader.Next(a) || !reader.NextNumber(x)) return false;
            content.files.push_back({a, static_cast<std::uint64_t>(x), kind == 'R'});
            return true;
        case 'M':
            if (!reader.Next(a) || !reader.NextNumber(x) || !reader.NextNumber(y)) return false;
            content.folderTimes.push_back({a, x, y});
            return true;
        case 'P': content.planned = true; return true;
        case 'C': content.committed = content.planned; return true;
        default: return false;
    }
}

}  // namespace

std::string TemporaryName(const std::string& tag, std::uint64_t index) {
    return ".qorn~" + tag + "." + std::to_string(index);
}

std::string JournalFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/qorn-setup";
    const std::string home = Home();
    return home.empty() ? std::string() : home + "/.local/state/qorn-setup";
}

JournalContent ParseJournal(const std::string& bytes) {
    JournalContent content;
    FieldReader reader(bytes);
    std::string header;
    if (!reader.Next(header) || header != kHeader) return content;
    while (ReadRecord(reader, content)) {
    }
    return content;
}

InstallJournal::~InstallJournal() {
    if (descriptor_ >= 0) close(descriptor_);  // ends the lock
}

bool InstallJournal::Create(const std::string& folder) {
    if (folder.empty() || !MakeFolders(folder)) return false;
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

void InstallJournal::Record(char kind, std::initializer_list<std::string> fields) {
    buffer_ += kind;
    for (const std::string& field : fields) {
        buffer_ += field;
        buffer_ += '\0';
    }
    if (buffer_.size() < kFlushSize) return;
    failed_ = failed_ || !WriteAll(descriptor_, buffer_);
    buffer_.clear();
}

void InstallJournal::Target(const std::string& target, const std::string& tag) { Record('T', {target, tag}); }
void InstallJournal::Backup(const std::string& backup) { Record('B', {backup}); }
void InstallJournal::CreatedDir(const std::string& path) { Record('D', {path}); }
void InstallJournal::File(const JournalFile& file) {
    Record(file.replaces ? 'R' : 'N', {file.path, std::to_string(file.index)});
}
void InstallJournal::FolderTime(const JournalFolderTime& time) {
    Record('M', {time.path, std::to_string(time.seconds), std::to_string(time.nanoseconds)});
}
void InstallJournal::PlanComplete() { Record('P', {}); }

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

JournalContent InstallJournal::Read() const {
    std::string bytes;
    char chunk[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = pread(descriptor_, chunk, sizeof chunk, offset);
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
