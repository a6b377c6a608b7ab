#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/SystemPath.h"

namespace {

constexpr std::uint64_t kUnitsPerSecond = 10000000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::uint32_t kSeekFailed = 0xFFFFFFFFu;

// Process-wide by design; atomic only so that the hand-over between the
// interface thread and the worker is not a data race.
std::atomic<ErrorCode> g_lastError{ERR_NONE};

void SetLastError(ErrorCode code) { g_lastError.store(code, std::memory_order_relaxed); }

ErrorCode Fail(ErrorCode code) {
    SetLastError(code);
    return code;
}

ErrorCode FailFromErrno() { return Fail(ErrorFromErrno(errno)); }

int Descriptor(FileHandle handle) { return static_cast<int>(handle); }

int OpenFlags(std::uint32_t access, std::uint32_t disposition) {
    int flags = O_RDONLY;
    if (access & ACCESS_WRITE) flags = (access & ACCESS_READ) ? O_RDWR : O_WRONLY;
    if (disposition == OPEN_TRUNCATE) flags |= O_TRUNC;
    if (disposition == OPEN_CREATE) flags |= O_CREAT;
    return flags | O_CLOEXEC;
}

int SeekWhence(std::uint32_t method) {
    if (method == SEEK_FROM_CURRENT) return SEEK_CUR;
    if (method == SEEK_FROM_END) return SEEK_END;
    return SEEK_SET;
}

}  // namespace

FileTime FileTimeFromUnixSeconds(std::int64_t seconds) {
    return FileTime::fromValue(static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * kUnitsPerSecond);
}

std::int64_t UnixSecondsFromFileTime(FileTime time) {
    return static_cast<std::int64_t>(time.value() / kUnitsPerSecond) - kSecondsFrom1601To1970;
}

timespec TimespecFromFileTime(FileTime time) {
    timespec result{};
    result.tv_sec = static_cast<time_t>(UnixSecondsFromFileTime(time));
    result.tv_nsec = static_cast<long>(time.value() % kUnitsPerSecond) * 100;
    return result;
}

bool IsUpToDate(std::int64_t fileSeconds, FileTime entryTime) {
    return fileSeconds >= UnixSecondsFromFileTime(entryTime);
}

ErrorCode FileOpen(const WString& path, std::uint32_t access, std::uint32_t /*share*/, std::uint32_t disposition,
                   FileHandle* handle) {
    SetLastError(ERR_NONE);
    if (handle == nullptr) return Fail(ERR_INVALID_PARAMETER);
    AString systemPath;
    if (!ToSystemPath(path, &systemPath)) return Fail(ERR_INVALID_PARAMETER);
    const int fd = ::open(systemPath.c_str(), OpenFlags(access, disposition), 0660);
    if (fd < 0) return FailFromErrno();
    *handle = fd;
    return ERR_NONE;
}

std::uint32_t FileSeek(FileHandle handle, std::int64_t distance, std::uint64_t* high, std::uint32_t method) {
    SetLastError(ERR_NONE);
    if (handle == INVALID_FILE_HANDLE) {
        SetLastError(ERR_INVALID_HANDLE);
        return kSeekFailed;
    }
    if (high != nullptr) distance += static_cast<std::int64_t>(*high << 32);
    const off_t position = ::lseek(Descriptor(handle), distance, SeekWhence(method));
    if (position < 0) {
        if (high != nullptr) *high = kSeekFailed;
        return kSeekFailed;
    }
    if (high != nullptr) *high = static_cast<std::uint64_t>(position) >> 32;
    return static_cast<std::uint32_t>(position);
}

ErrorCode FileLastError() { return g_lastError.load(std::memory_order_relaxed); }

ErrorCode FileRead(FileHandle handle, void* buffer, std::uint32_t length, std::uint32_t* bytesRead,
                   void* overlapped) {
    SetLastError(ERR_NONE);
    if (bytesRead == nullptr) return overlapped == nullptr ? Fail(ERR_INVALID_PARAMETER) : ERR_NONE;
    *bytesRead = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (*bytesRead < length) {
        const ssize_t got = ::read(Descriptor(handle), bytes + *bytesRead, length - *bytesRead);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return FailFromErrno();
        if (got == 0) break;
        *bytesRead += static_cast<std::uint32_t>(got);
    }
    return ERR_NONE;
}

ErrorCode FileWrite(FileHandle handle, const void* buffer, std::uint32_t length, std::uint32_t* bytesWritten,
                    void* overlapped) {
    SetLastError(ERR_NONE);
    if (bytesWritten == nullptr && overlapped == nullptr) return Fail(ERR_INVALID_PARAMETER);
    if (handle == INVALID_FILE_HANDLE) return Fail(ERR_INVALID_HANDLE);
    if (bytesWritten == nullptr) return ERR_NONE;
    *bytesWritten = 0;
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    // A short write is continued rather than failed at once: only an error
    // or a write that makes no progress means the data cannot be stored.
    while (*bytesWritten < length) {
        const ssize_t put = ::write(Descriptor(handle), bytes + *bytesWritten, length - *bytesWritten);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return FailFromErrno();
        if (put == 0) return Fail(ERR_INVALID_PARAMETER);
        *bytesWritten += static_cast<std::uint32_t>(put);
    }
    return ERR_NONE;
}

ErrorCode FileClose(FileHandle handle) {
    if (::close(Descriptor(handle)) != 0) return FailFromErrno();
    return ERR_NONE;
}

ErrorCode FileGetTimes(FileHandle handle, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) {
    SetLastError(ERR_NONE);
    struct stat status {};
    if (handle == INVALID_FILE_HANDLE || ::fstat(Descriptor(handle), &status) != 0) return Fail(ERR_INVALID_HANDLE);
    if (creation != nullptr) *creation = FileTimeFromUnixSeconds(status.st_ctime);
    if (lastAccess != nullptr) *lastAccess = FileTimeFromUnixSeconds(status.st_atime);
    if (lastWrite != nullptr) *lastWrite = FileTimeFromUnixSeconds(status.st_mtime);
    return ERR_NONE;
}

ErrorCode FileSetTimes(FileHandle handle, const FileTime* /*creation*/, const FileTime* /*lastAccess*/,
                       const FileTime* lastWrite) {
    SetLastError(ERR_NONE);
    if (handle == INVALID_FILE_HANDLE) return Fail(ERR_INVALID_HANDLE);
    if (lastWrite == nullptr) return Fail(ERR_INVALID_PARAMETER);
    const timespec times[2] = {TimespecFromFileTime(*lastWrite), TimespecFromFileTime(*lastWrite)};
    // A time that cannot be set would make the file look out of date (or up
    // to date) wrongly later on, so the failure is reported.
    if (::futimens(Descriptor(handle), times) != 0) return FailFromErrno();
    return ERR_NONE;
}

ErrorCode FileSetEnd(FileHandle handle) {
    SetLastError(ERR_NONE);
    if (handle == INVALID_FILE_HANDLE) return Fail(ERR_INVALID_HANDLE);
    const off_t position = ::lseek(Descriptor(handle), 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(Descriptor(handle), position) != 0) return FailFromErrno();
    return ERR_NONE;
}

bool FileIsOlderThan(const WString& path, FileTime time) {
    FileHandleGuard file;
    if (FileOpen(path, ACCESS_READ, 0, OPEN_EXISTING, file.out()) != ERR_NONE) return true;
    FileTime lastWrite;
    // A file whose time cannot be read is treated as out of date: installing
    // over it is the safe side.
    if (FileGetTimes(file.get(), nullptr, nullptr, &lastWrite) != ERR_NONE) return true;
    return !IsUpToDate(UnixSecondsFromFileTime(lastWrite), time);
}
