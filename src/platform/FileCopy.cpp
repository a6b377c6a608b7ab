#include "platform/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/File.h"

namespace {

constexpr unsigned kCopyBuffer = 1024 * 1024;

int BufferedCopy(int source, off_t offset, off_t length, int destination, unsigned char* buffer, unsigned size,
                 const CopyObserver* observe = nullptr) {
    while (length > 0) {
        const ssize_t got = pread(source, buffer, static_cast<size_t>(length < size ? length : size), offset);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return EIO;
        if (observe != nullptr) (*observe)(buffer, static_cast<std::size_t>(got));
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(destination, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return put < 0 ? errno : EIO;
            done += put;
        }
        offset += got;
        length -= got;
    }
    return 0;
}

// A link is copied as a link, with its own time: the copy is what stood there.
int CopyLink(int fromFolder, const char* from, int toFolder, const char* to) {
    struct stat status {};
    if (fstatat(fromFolder, from, &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (!S_ISLNK(status.st_mode)) return ELOOP;
    std::string text(static_cast<std::size_t>(status.st_size) + 1, '\0');
    const ssize_t length = readlinkat(fromFolder, from, text.data(), text.size());
    if (length < 0) return errno;
    if (static_cast<std::size_t>(length) >= text.size()) return EAGAIN;  // it changed under the copy
    text.resize(static_cast<std::size_t>(length));
    if (symlinkat(text.c_str(), toFolder, to) != 0) return errno;
    const timespec times[2] = {status.st_atim, status.st_mtim};
    if (utimensat(toFolder, to, times, AT_SYMLINK_NOFOLLOW) == 0) return 0;
    const int error = errno;
    (void)unlinkat(toFolder, to, 0);  // never leave a copy that looks like another
    return error;
}

}  // namespace

int CopyRange(int source, long long offset, long long length, int destination, unsigned char* buffer,
              unsigned bufferSize) {
    off_t from = static_cast<off_t>(offset);
    off_t left = static_cast<off_t>(length);
    // A small file costs less through the buffer: the kernel's copy sets up a
    // pipe of its own for every call.
    if (left <= static_cast<off_t>(bufferSize)) return BufferedCopy(source, from, left, destination, buffer, bufferSize);
    while (left > 0) {
        const ssize_t copied = copy_file_range(source, &from, destination, nullptr, static_cast<size_t>(left), 0);
        if (copied < 0 && errno == EINTR) continue;
        if (copied == 0) return EIO;
        if (copied > 0) {
            left -= copied;
            continue;
        }
        // Across file systems, or where the kernel has no such copy: the buffer.
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM) {
            return BufferedCopy(source, from, left, destination, buffer, bufferSize);
        }
        return errno;
    }
    return 0;
}

int CopyRangeObserved(int source, long long offset, long long length, int destination, unsigned char* buffer,
                      unsigned bufferSize, const CopyObserver& observe) {
    return BufferedCopy(source, static_cast<off_t>(offset), static_cast<off_t>(length), destination, buffer, bufferSize,
                        &observe);
}

int CopyFileSynced(int fromFolder, const char* from, int toFolder, const char* to) {
    const FileHandleGuard sourceGuard(openat(fromFolder, from, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    const int source = static_cast<int>(sourceGuard.get());
    if (source < 0 && errno == ELOOP) return CopyLink(fromFolder, from, toFolder, to);
    struct stat status {};
    if (source < 0 || fstat(source, &status) != 0) return errno;
    if (!S_ISREG(status.st_mode)) return EINVAL;
    FileHandleGuard copyGuard(openat(toFolder, to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    const int copy = static_cast<int>(copyGuard.get());
    if (copy < 0) return errno;
    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[kCopyBuffer]);
    const timespec times[2] = {status.st_atim, status.st_mtim};
    int error = CopyRange(source, 0, status.st_size, copy, buffer.get(), kCopyBuffer);
    if (error == 0 && fchmod(copy, status.st_mode & 07777) != 0) error = errno;
    if (error == 0 && futimens(copy, times) != 0) error = errno;
    if (error == 0 && fsync(copy) != 0) error = errno;
    // The close reports a write the file system could not keep.
    if (error == 0 && close(static_cast<int>(copyGuard.release())) != 0) error = errno;
    if (error != 0) (void)unlinkat(toFolder, to, 0);  // never leave a partial copy that looks whole
    return error;
}
