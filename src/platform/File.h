// File handles in the manner of a classic desktop file API: access masks,
// creation dispositions, 100-nanosecond file times and a process-wide last
// error. Every operation returns an ErrorCode and records a failure as the
// last error (ENOENT gives 2, any other system error 87).
#pragma once

#include <time.h>

#include <cstdint>

#include "platform/ErrorCode.h"
#include "text/WString.h"

using FileHandle = std::int64_t;
constexpr FileHandle INVALID_FILE_HANDLE = -1;

constexpr std::uint32_t ACCESS_READ = 0x80000000u;
constexpr std::uint32_t ACCESS_WRITE = 0x40000000u;

constexpr std::uint32_t OPEN_CREATE = 2;    // create when missing, keep content
constexpr std::uint32_t OPEN_EXISTING = 3;  // existing file only (also any unknown value)
constexpr std::uint32_t OPEN_TRUNCATE = 5;  // existing file, cut to 0

constexpr std::uint32_t SEEK_FROM_BEGIN = 0;
constexpr std::uint32_t SEEK_FROM_CURRENT = 1;
constexpr std::uint32_t SEEK_FROM_END = 2;

// 100-nanosecond intervals since 1601-01-01 UTC, as two 32-bit words.
struct FileTime {
    std::uint32_t low = 0;
    std::uint32_t high = 0;

    std::uint64_t value() const { return (std::uint64_t{high} << 32) | low; }
    static FileTime fromValue(std::uint64_t v) { return {std::uint32_t(v), std::uint32_t(v >> 32)}; }
    friend bool operator==(const FileTime&, const FileTime&) = default;
};

FileTime FileTimeFromUnixSeconds(std::int64_t seconds);
std::int64_t UnixSecondsFromFileTime(FileTime time);  // sub-second part dropped
// The same instant to the nanosecond, for giving a file its exact time.
timespec TimespecFromFileTime(FileTime time);
// Whether a file whose modification time has `fileSeconds` whole seconds is
// as new as an entry of `entryTime`: whole seconds on both sides, so that file
// systems with coarse times and files from earlier runs compare alike.
bool IsUpToDate(std::int64_t fileSeconds, FileTime entryTime);

// Opens `path`; on success stores the descriptor in *handle, on failure
// leaves *handle untouched. Created files get mode 0660 less the umask.
ErrorCode FileOpen(const WString& path, std::uint32_t access, std::uint32_t share, std::uint32_t disposition,
                   FileHandle* handle);
// Returns the low 32 bits of the new position, 0xFFFFFFFF on failure (handle
// -1 records 6; a failed system seek records nothing). With `high` the
// distance is extended by high * 2^32 and the new upper word stored there.
std::uint32_t FileSeek(FileHandle handle, std::int64_t distance, std::uint64_t* high, std::uint32_t method);
ErrorCode FileLastError();
// Reads until `length` bytes or end of file; a short count is not an error.
ErrorCode FileRead(FileHandle handle, void* buffer, std::uint32_t length, std::uint32_t* bytesRead,
                   void* overlapped = nullptr);
// One write of `length` bytes; writing fewer is a failure.
ErrorCode FileWrite(FileHandle handle, const void* buffer, std::uint32_t length, std::uint32_t* bytesWritten,
                    void* overlapped = nullptr);
ErrorCode FileClose(FileHandle handle);
ErrorCode FileGetTimes(FileHandle handle, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite);
// Sets access and modification time to `lastWrite`, to the precision the
// file system keeps.
ErrorCode FileSetTimes(FileHandle handle, const FileTime* creation, const FileTime* lastAccess,
                       const FileTime* lastWrite);
// Cuts or extends the file to the descriptor's current position.
ErrorCode FileSetEnd(FileHandle handle);
// True when `path` cannot be opened or its last-write time, in whole
// seconds, is before the whole seconds of `time`.
bool FileIsOlderThan(const WString& path, FileTime time);

// Closes the handle it holds when it goes out of scope.
class FileHandleGuard {
public:
    explicit FileHandleGuard(FileHandle handle = INVALID_FILE_HANDLE) : handle_(handle) {}
    ~FileHandleGuard() { reset(); }
    FileHandleGuard(const FileHandleGuard&) = delete;
    FileHandleGuard& operator=(const FileHandleGuard&) = delete;
    FileHandle get() const { return handle_; }
    FileHandle* out() { return &handle_; }
    FileHandle release() { FileHandle h = handle_; handle_ = INVALID_FILE_HANDLE; return h; }
    void reset(FileHandle handle = INVALID_FILE_HANDLE) {
        if (handle_ != INVALID_FILE_HANDLE) (void)FileClose(handle_);  // nothing to report on cleanup
        handle_ = handle;
    }

private:
    FileHandle handle_;
};
