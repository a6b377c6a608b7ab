// Failure points for the system calls the installation makes that libfiu's
// POSIX preload does not wrap: the *at family, syncfs and the calls that give
// a file its mode and times. Compiled in only with QORN_FAULT_POINTS (test
// builds), where the linker sends every call of the program's own code here
// (-Wl,--wrap=NAME). Each call fails, as the system call would, when its
// libfiu point ("posix/io/...", beside the preload's own points) is enabled:
// errno is the point's failinfo when one is given, else EIO.
#ifdef QORN_FAULT_POINTS

#include <fcntl.h>
#include <fiu-local.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdint>

namespace {

int Failed() {
    const void* info = fiu_failinfo();
    errno = info != nullptr ? static_cast<int>(reinterpret_cast<std::intptr_t>(info)) : EIO;
    return -1;
}

}  // namespace

extern "C" {

int __real_openat(int folder, const char* path, int flags, ...);
int __real_renameat(int fromFolder, const char* from, int toFolder, const char* to);
int __real_renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags);
int __real_linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags);
int __real_mkdirat(int folder, const char* path, mode_t mode);
int __real_unlinkat(int folder, const char* path, int flags);
int __real_fstatat(int folder, const char* path, struct stat* status, int flags);
int __real_syncfs(int descriptor);
int __real_utimensat(int folder, const char* path, const struct timespec times[2], int flags);
int __real_futimens(int descriptor, const struct timespec times[2]);
int __real_fchmod(int descriptor, mode_t mode);
ssize_t __real_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t length,
                               unsigned int flags);
ssize_t __real_readlinkat(int folder, const char* path, char* buffer, size_t size);

int __wrap_openat(int folder, const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    fiu_return_on("posix/io/oc/openat", Failed());
    return __real_openat(folder, path, flags, mode);
}

int __wrap_renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    fiu_return_on("posix/io/dir/renameat", Failed());
    return __real_renameat(fromFolder, from, toFolder, to);
}

int __wrap_renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags) {
    fiu_return_on("posix/io/dir/renameat2", Failed());
    return __real_renameat2(fromFolder, from, toFolder, to, flags);
}

int __wrap_linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    fiu_return_on("posix/io/dir/linkat", Failed());
    return __real_linkat(fromFolder, from, toFolder, to, flags);
}

int __wrap_mkdirat(int folder, const char* path, mode_t mode) {
    fiu_return_on("posix/io/dir/mkdirat", Failed());
    return __real_mkdirat(folder, path, mode);
}

int __wrap_unlinkat(int folder, const char* path, int flags) {
    fiu_return_on("posix/io/dir/unlinkat", Failed());
    return __real_unlinkat(folder, path, flags);
}

int __wrap_fstatat(int folder, const char* path, struct stat* status, int flags) {
    fiu_return_on("posix/io/stat/fstatat", Failed());
    return __real_fstatat(folder, path, status, flags);
}

int __wrap_syncfs(int descriptor) {
    fiu_return_on("posix/io/sync/syncfs", Failed());
    return __real_syncfs(descriptor);
}

int __wrap_utimensat(int folder, const char* path, const struct timespec times[2], int flags) {
    fiu_return_on("posix/io/stat/utimensat", Failed());
    return __real_utimensat(folder, path, times, flags);
}

int __wrap_futimens(int descriptor, const struct timespec times[2]) {
    fiu_return_on("posix/io/stat/futimens", Failed());
    return __real_futimens(descriptor, times);
}

int __wrap_fchmod(int descriptor, mode_t mode) {
    fiu_return_on("posix/io/stat/fchmod", Failed());
    return __real_fchmod(descriptor, mode);
}

ssize_t __wrap_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t length,
                               unsigned int flags) {
    fiu_return_on("posix/io/rw/copy_file_range", Failed());
    return __real_copy_file_range(in, inOffset, out, outOffset, length, flags);
}

ssize_t __wrap_readlinkat(int folder, const char* path, char* buffer, size_t size) {
    fiu_return_on("posix/io/dir/readlinkat", Failed());
    return __real_readlinkat(folder, path, buffer, size);
}

}  // extern "C"

#endif  // QORN_FAULT_POINTS
