#include "app/DirectoryLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "app/InstallJournal.h"
#include "platform/Retried.h"

namespace {

constexpr char kSuffix[] = ".lock";
constexpr int kContentTries = 200;  // a holder writes its path right after taking the lock

std::string LockName(const std::string& path) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char name[32];
    std::snprintf(name, sizeof name, "%016llx%s", static_cast<unsigned long long>(hash), kSuffix);
    return name;
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

// Whether `inner` is `outer` or lies inside it.
bool Within(const std::string& inner, const std::string& outer) {
    if (outer == "/") return true;
    return inner.compare(0, outer.size(), outer) == 0 && (inner.size() == outer.size() || inner[outer.size()] == '/');
}

// The name still leads to the file open at `file`: it was not removed by
// the run that held it last.
bool StillNamed(int folder, const std::string& name, int file) {
    struct stat opened {};
    struct stat named {};
    return fstat(file, &opened) == 0 && opened.st_nlink > 0 &&
           fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == opened.st_ino &&
           named.st_dev == opened.st_dev;
}

std::string ReadHeldPath(int file) {
    char bytes[PATH_MAX + 1];
    for (int tries = 0; tries < kContentTries; ++tries) {
        const ssize_t got = Retried([&] { return pread(file, bytes, sizeof bytes, 0); });
        if (got > 0) return std::string(bytes, static_cast<std::size_t>(got));
        usleep(1000);
    }
    return std::string();
}

// The lock files this process holds, by name, with their paths. On NFS a
// flock is a POSIX lock: another descriptor of the same process would not
// see it, and closing that descriptor would drop it; so the process never
// opens a lock file it holds a second time.
std::mutex gHeldMutex;
std::map<std::string, std::string> gHeld;

// Whether a held path and `path` lie one in the other; a held path that cannot be read might be anywhere.
bool Nested(const std::string& held, const std::string& path) {
    return held.empty() || Within(held, path) || Within(path, held);
}

// The path of another run's lock file `name` in `folder` while a live run holds it; none when nobody does (a killed
// run's file is removed on the way).
std::optional<std::string> HeldPath(int folder, const std::string& name) {
    {
        const std::lock_guard<std::mutex> guard(gHeldMutex);
        const auto held = gHeld.find(name);
        if (held != gHeld.end()) return held->second;
    }
    const FolderDescriptor other(openat(folder, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!other.valid()) return std::nullopt;  // removed by its holder meanwhile
    if (flock(other.get(), LOCK_EX | LOCK_NB) == 0) {
        // Left by a run that was killed: nobody holds it. Another start may remove it first.
        if (StillNamed(folder, name, other.get())) (void)unlinkat(folder, name.c_str(), 0);
        return std::nullopt;
    }
    return ReadHeldPath(other.get());
}

struct DirectoryCloser {
    void operator()(DIR* stream) const { closedir(stream); }
};

}  // namespace

ErrorCode DirectoryLock::Acquire(const std::string& folder, const std::string& path) {
    Release();
    if (folder.empty() || path.empty() || !MakeFolders(folder)) return ERR_CANT_WRITE;
    folder_.reset(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder_.valid()) return ERR_CANT_WRITE;
    name_ = LockName(path);
    {
        const std::lock_guard<std::mutex> guard(gHeldMutex);
        if (gHeld.contains(name_)) return ERR_BUSY;
    }
    // A lock file is removed by its last holder: one taken on a name that is
    // gone since is no lock, and the file is made again.
    for (int attempt = 0; attempt < 100 && !file_.valid(); ++attempt) {
        FolderDescriptor file(openat(folder_.get(), name_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file.valid()) return ERR_CANT_WRITE;
        if (flock(file.get(), LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK ? ERR_BUSY : ERR_CANT_WRITE;
        if (StillNamed(folder_.get(), name_, file.get())) file_ = std::move(file);
    }
    if (!file_.valid()) return ERR_CANT_WRITE;
    const ssize_t size = static_cast<ssize_t>(path.size());
    if (ftruncate(file_.get(), 0) != 0 || pwrite(file_.get(), path.data(), path.size(), 0) != size) {
        Release();
        return ERR_CANT_WRITE;
    }
    path_ = path;
    {
        const std::lock_guard<std::mutex> guard(gHeldMutex);
        gHeld.emplace(name_, path_);
    }
    // Taken before looking: of two runs that start at once on nested
    // directories, the later to look sees the other's lock.
    const int own = dup(folder_.get());
    std::unique_ptr<DIR, DirectoryCloser> stream(own < 0 ? nullptr : fdopendir(own));
    if (!stream) {
        if (own >= 0) close(own);
        Release();
        return ERR_CANT_WRITE;
    }
    while (const dirent* entry = readdir(stream.get())) {
        const std::string name = entry->d_name;
        if (name == name_ || name.size() <= sizeof kSuffix || !name.ends_with(kSuffix)) continue;
        const std::optional<std::string> held = HeldPath(folder_.get(), name);
        if (held && Nested(*held, path)) {
            Release();
            return ERR_NESTED_BUSY;
        }
    }
    return ERR_NONE;
}

bool DirectoryLock::Covers(const std::string& path) const { return !path_.empty() && Within(path, path_); }

bool DirectoryLock::IsInside(const std::string& path) const {
    return !path_.empty() && path != path_ && Within(path_, path);
}

void DirectoryLock::Release() {
    if (!path_.empty()) {
        const std::lock_guard<std::mutex> guard(gHeldMutex);
        gHeld.erase(name_);
    }
    // Removed while still held: a run that opened it meanwhile sees the name gone and makes it again. One
    // left behind is removed by the next run that looks.
    if (file_.valid() && StillNamed(folder_.get(), name_, file_.get())) (void)unlinkat(folder_.get(), name_.c_str(), 0);
    file_.reset();
    folder_.reset();
    path_.clear();
}

bool IsDirectoryLocked(const std::string& folder, const std::string& path) {
    if (folder.empty() || path.empty()) return false;
    const FolderDescriptor file(open((folder + "/" + LockName(path)).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    // No lock file: no run has this directory. A shared hold is let go at once.
    return file.valid() && flock(file.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

std::string LockFolder() {
    const std::string journals = JournalFolder();
    return journals.empty() ? std::string() : journals + "-locks";
}

std::string CanonicalDirectory(const std::string& anchor, const std::string& belowAnchor) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(anchor.c_str(), nullptr), &std::free);
    if (!resolved) return std::string();
    std::string path = resolved.get();
    if (belowAnchor.empty()) return path;
    return (path == "/" ? path : path + "/") + belowAnchor;
}
