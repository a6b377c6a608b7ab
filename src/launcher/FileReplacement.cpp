#include "launcher/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "platform/FolderBeneath.h"

namespace {

constexpr int kCannotOpen = 1;
constexpr int kCannotWrite = 2;
constexpr int kMaxLinkDepth = 40;
constexpr int kMaxNameAttempts = 100;

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path that is finally reached through any chain of symbolic links; a
// link whose target does not exist yet yields that target.
std::string FollowLinks(std::string path) {
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::string target(static_cast<std::size_t>(status.st_size) + 256, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return path;
        target.resize(static_cast<std::size_t>(length));
        path = (!target.empty() && target[0] == '/') ? target : DirectoryOf(path) + "/" + target;
    }
    return path;  // a loop of links: the rename then fails and reports it
}

// A new, exclusively created file beside the target; removed unless released.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        const std::string stem = DirectoryOf(target) + "/." + NameOf(target) + "." + std::to_string(getpid()) + ".";
        for (int attempt = 0; attempt < kMaxNameAttempts && descriptor_ < 0; ++attempt) {
            path_ = stem + std::to_string(attempt);
            descriptor_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor_ < 0 && errno != EEXIST) break;
        }
        if (descriptor_ < 0) throw kCannotOpen;
    }
    ~TemporaryFile() {
        if (descriptor_ >= 0) close(descriptor_);
        if (!path_.empty()) unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int descriptor() const { return descriptor_; }
    const std::string& path() const { return path_; }
    // Closes the file, reporting whether everything written reached it.
    bool Close() {
        const int result = close(descriptor_);
        descriptor_ = -1;
        return result == 0;
    }
    void Release() { path_.clear(); }

private:
    std::string path_;
    int descriptor_ = -1;
};

void TakeOverOwnerAndMode(const TemporaryFile& file, const std::string& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0) return;  // a new file: the umask decides
    // Only a privileged process can hand the file to another owner; for
    // anyone else the owner is already the same, so a failure changes nothing.
    if (fchown(file.descriptor(), status.st_uid, status.st_gid) != 0) {
    }
    if (fchmod(file.descriptor(), status.st_mode & 07777) != 0) throw kCannotOpen;
}

void WriteAll(const TemporaryFile& file, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = write(file.descriptor(), content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw kCannotWrite;
        done += static_cast<std::size_t>(written);
    }
    if (fsync(file.descriptor()) != 0) throw kCannotWrite;
}

// Whether `path` is a regular file of exactly `content`: never waits on a pipe.
bool HoldsExactly(const std::string& path, const std::string& content) {
    const FolderDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!file.valid() || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) != content.size()) {
        return false;
    }
    // One byte more than expected: a file that grew meanwhile is not the same.
    std::string held(content.size() + 1, '\0');
    std::size_t done = 0;
    while (done < held.size()) {
        const ssize_t got = read(file.get(), held.data() + done, held.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done == content.size() && held.compare(0, done, content) == 0;
}

}  // namespace

void ReplaceFileContent(const std::string& path, const std::string& content) {
    const std::string target = FollowLinks(path);
    // Already the same bytes: its time, inode and the disk are left alone.
    if (HoldsExactly(target, content)) return;
    TemporaryFile file(target);
    TakeOverOwnerAndMode(file, target);
    WriteAll(file, content);
    if (!file.Close()) throw kCannotWrite;
    if (rename(file.path().c_str(), target.c_str()) != 0) throw kCannotOpen;
    file.Release();
}
