// Preloaded (LD_PRELOAD) to record, in call order, every call of the program
// that changes or syncs the file system: one line per call in the file named
// by QORN_SPY_LOG, "name path [second path]", paths made absolute. Writes are
// recorded only to files whose path contains QORN_SPY_WRITES (when set), as
// "write path byte-count". A test then checks the order, e.g. that a journal
// is synced before the first change it protects.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string PathOfDescriptor(int descriptor) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    char path[4096];
    const ssize_t length = readlink(link, path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "?";
}

std::string Absolute(int folder, const char* path) {
    if (path == nullptr) return "?";
    if (path[0] == '/') return path;
    char cwd[4096];
    const std::string base = folder != AT_FDCWD ? PathOfDescriptor(folder) : getcwd(cwd, sizeof cwd) ? cwd : "?";
    return base + "/" + path;
}

// One write(2) per line, straight to the kernel: the spy's own output must
// not pass through the write it watches.
void Log(const char* name, const std::string& first, const std::string& second = std::string()) {
    static const char* file = std::getenv("QORN_SPY_LOG");
    if (file == nullptr) return;
    const std::string line = std::string(name) + " " + first + (second.empty() ? "" : " " + second) + "\n";
    const long out = syscall(SYS_openat, AT_FDCWD, file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (out < 0) return;
    (void)syscall(SYS_write, out, line.data(), line.size());
    (void)syscall(SYS_close, out);
}

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// Each wrapper logs, then calls the next definition (the C library's).
#define QORN_SPY(type, name, params, args, ...)                      \
    extern "C" type name params {                                    \
        Log(__VA_ARGS__);                                            \
        static const auto real = Real<type(*) params>(#name);        \
        return real args;                                            \
    }

QORN_SPY(int, fsync, (int fd), (fd), "fsync", PathOfDescriptor(fd))
QORN_SPY(int, fdatasync, (int fd), (fd), "fdatasync", PathOfDescriptor(fd))
QORN_SPY(int, syncfs, (int fd), (fd), "syncfs", PathOfDescriptor(fd))
QORN_SPY(int, rename, (const char* from, const char* to), (from, to), "rename", Absolute(AT_FDCWD, from),
         Absolute(AT_FDCWD, to))
QORN_SPY(int, renameat, (int fromFolder, const char* from, int toFolder, const char* to),
         (fromFolder, from, toFolder, to), "rename", Absolute(fromFolder, from), Absolute(toFolder, to))
QORN_SPY(int, linkat, (int fromFolder, const char* from, int toFolder, const char* to, int flags),
         (fromFolder, from, toFolder, to, flags), "link", Absolute(fromFolder, from), Absolute(toFolder, to))
QORN_SPY(int, unlink, (const char* path), (path), "unlink", Absolute(AT_FDCWD, path))
QORN_SPY(int, unlinkat, (int folder, const char* path, int flags), (folder, path, flags),
         (flags & AT_REMOVEDIR) != 0 ? "rmdir" : "unlink", Absolute(folder, path))
QORN_SPY(int, rmdir, (const char* path), (path), "rmdir", Absolute(AT_FDCWD, path))
QORN_SPY(int, mkdir, (const char* path, mode_t mode), (path, mode), "mkdir", Absolute(AT_FDCWD, path))
QORN_SPY(int, mkdirat, (int folder, const char* path, mode_t mode), (folder, path, mode), "mkdir",
         Absolute(folder, path))
QORN_SPY(int, futimens, (int fd, const struct timespec times[2]), (fd, times), "futimens", PathOfDescriptor(fd))
QORN_SPY(int, utimensat, (int folder, const char* path, const struct timespec times[2], int flags),
         (folder, path, times, flags), "utimensat", Absolute(folder, path))

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const char* watched = std::getenv("QORN_SPY_WRITES");
    if (watched != nullptr && fd > 2) {
        const std::string path = PathOfDescriptor(fd);
        if (path.find(watched) != std::string::npos) Log("write", path, std::to_string(size));
    }
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    return real(fd, data, size);
}
