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

#define QORN_SPY_CALL(name, type, ...)                                  \
    static const auto real = Real<type>(#name);                         \
    return real(__VA_ARGS__)

extern "C" {

int fsync(int fd) {
    Log("fsync", PathOfDescriptor(fd));
    QORN_SPY_CALL(fsync, int (*)(int), fd);
}
int fdatasync(int fd) {
    Log("fdatasync", PathOfDescriptor(fd));
    QORN_SPY_CALL(fdatasync, int (*)(int), fd);
}
int syncfs(int fd) {
    Log("syncfs", PathOfDescriptor(fd));
    QORN_SPY_CALL(syncfs, int (*)(int), fd);
}
void sync() {
    Log("sync", "-");
    static const auto real = Real<void (*)()>("sync");
    real();
}
int rename(const char* from, const char* to) {
    Log("rename", Absolute(AT_FDCWD, from), Absolute(AT_FDCWD, to));
    QORN_SPY_CALL(rename, int (*)(const char*, const char*), from, to);
}
int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    Log("rename", Absolute(fromFolder, from), Absolute(toFolder, to));
    QORN_SPY_CALL(renameat, int (*)(int, const char*, int, const char*), fromFolder, from, toFolder, to);
}
int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    Log("rename", Absolute(fromFolder, from), Absolute(toFolder, to));
    QORN_SPY_CALL(renameat2, int (*)(int, const char*, int, const char*, unsigned), fromFolder, from, toFolder, to,
                  flags);
}
int link(const char* from, const char* to) {
    Log("link", Absolute(AT_FDCWD, from), Absolute(AT_FDCWD, to));
    QORN_SPY_CALL(link, int (*)(const char*, const char*), from, to);
}
int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    Log("link", Absolute(fromFolder, from), Absolute(toFolder, to));
    QORN_SPY_CALL(linkat, int (*)(int, const char*, int, const char*, int), fromFolder, from, toFolder, to, flags);
}
int unlink(const char* path) {
    Log("unlink", Absolute(AT_FDCWD, path));
    QORN_SPY_CALL(unlink, int (*)(const char*), path);
}
int unlinkat(int folder, const char* path, int flags) {
    Log((flags & AT_REMOVEDIR) != 0 ? "rmdir" : "unlink", Absolute(folder, path));
    QORN_SPY_CALL(unlinkat, int (*)(int, const char*, int), folder, path, flags);
}
int rmdir(const char* path) {
    Log("rmdir", Absolute(AT_FDCWD, path));
    QORN_SPY_CALL(rmdir, int (*)(const char*), path);
}
int mkdir(const char* path, mode_t mode) {
    Log("mkdir", Absolute(AT_FDCWD, path));
    QORN_SPY_CALL(mkdir, int (*)(const char*, mode_t), path, mode);
}
int mkdirat(int folder, const char* path, mode_t mode) {
    Log("mkdir", Absolute(folder, path));
    QORN_SPY_CALL(mkdirat, int (*)(int, const char*, mode_t), folder, path, mode);
}
int futimens(int fd, const struct timespec times[2]) {
    Log("futimens", PathOfDescriptor(fd));
    QORN_SPY_CALL(futimens, int (*)(int, const struct timespec[2]), fd, times);
}
int utimensat(int folder, const char* path, const struct timespec times[2], int flags) {
    Log("utimensat", Absolute(folder, path));
    QORN_SPY_CALL(utimensat, int (*)(int, const char*, const struct timespec[2], int), folder, path, times, flags);
}
ssize_t write(int fd, const void* data, size_t size) {
    static const char* watched = std::getenv("QORN_SPY_WRITES");
    if (watched != nullptr && fd > 2) {
        const std::string path = PathOfDescriptor(fd);
        if (path.find(watched) != std::string::npos) Log("write", path, std::to_string(size));
    }
    QORN_SPY_CALL(write, ssize_t (*)(int, const void*, size_t), fd, data, size);
}

}  // extern "C"
