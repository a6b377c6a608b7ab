#include "kit/KitReader.h"

#include <sys/file.h>

#include <algorithm>
#include <cerrno>

#include "kit/KitDirectory.h"
#include "kit/KitTail.h"
#include "kit/TemporaryFileGuard.h"
#include "platform/FileCopy.h"
#include "platform/FileTree.h"
#include "platform/SystemPath.h"
#include "platform/TempSpace.h"
#include "text/Convert.h"

namespace {

constexpr std::uint32_t kCopyBufferSize = 1048576;

// Inside KitOpen every failure is thrown as its ErrorCode to the one
// recovery path in KitOpen itself.
void ThrowOnFailure(ErrorCode code) {
    if (code != ERR_NONE) throw code;
}

void CloseImage(KitReader& reader) {
    if (reader.handle != INVALID_FILE_HANDLE) {
        (void)FileClose(reader.handle);   // read-only use: nothing to lose on close
        (void)RemoveFile(reader.tempPath);  // always 0 by contract
        reader.handle = INVALID_FILE_HANDLE;
    }
    // Released only after the removal, so the image is never taken for a dead run's.
    if (reader.imageLock != INVALID_FILE_HANDLE) (void)FileClose(reader.imageLock);
    reader.imageLock = INVALID_FILE_HANDLE;
}

// Locks the new image before anything is written into it.
void LockImage(KitReader& reader) {
    FileHandleGuard lock;
    ThrowOnFailure(FileOpen(reader.tempPath, ACCESS_READ, 0, OPEN_EXISTING, lock.out()));
    if (flock(static_cast<int>(lock.get()), LOCK_EX | LOCK_NB) != 0) throw ERR_CANT_WRITE;
    reader.imageLock = lock.release();
}

void OpenImage(KitReader& reader, const WString& kitPath, const KitSlice& slice, const FreeSpaceProbe& freeSpace) {
    WString directory;
    (void)GetTempDirectory(&directory);  // always succeeds
    ThrowOnFailure(CreateTempFile(directory, ToWString(kImagePrefix), &reader.tempPath));
    TemporaryFileGuard removeOnFailure(reader.tempPath);
    LockImage(reader);
    ThrowOnFailure(InflateFile(kitPath, slice, reader.tempPath, freeSpace));
    FileHandleGuard image;
    ThrowOnFailure(FileOpen(reader.tempPath, ACCESS_READ | ACCESS_WRITE, 0, OPEN_EXISTING, image.out()));
    ThrowOnFailure(ReadKitDirectory(image.get(), reader.descriptions, reader.entries));
    reader.handle = image.release();
    removeOnFailure.release();
}

}  // namespace

void KitClose(KitReader& reader) {
    CloseImage(reader);
    reader.tail.reset();
}

namespace {

ErrorCode SeekImage(const KitReader& reader, std::uint32_t offset) {
    std::uint64_t high = 0;
    (void)FileSeek(reader.handle, offset, &high, SEEK_FROM_BEGIN);  // success is told by `high`
    if (high == 0) return ERR_NONE;
    return FileLastError() != ERR_NONE ? FileLastError() : ERR_INVALID_DATA;
}

ErrorCode CopyImageBytes(KitReader& reader, std::uint32_t size, FileHandle destination) {
    std::uint32_t remaining = size;
    while (remaining > 0) {
        std::uint32_t got = 0;
        std::uint32_t written = 0;
        ErrorCode code = FileRead(reader.handle, reader.copyBuffer.get(), std::min(remaining, reader.copyBufferSize), &got);
        if (code != ERR_NONE) return code;
        if (got == 0) return ERR_INVALID_DATA;  // the image ended inside the entry
        code = FileWrite(destination, reader.copyBuffer.get(), got, &written);
        if (code != ERR_NONE) return code;
        remaining -= got;
    }
    return ERR_NONE;
}

}  // namespace

KitReader::KitReader() : copyBufferSize(kCopyBufferSize), copyBuffer(new unsigned char[kCopyBufferSize]) {}

KitReader::~KitReader() { CloseImage(*this); }

ErrorCode KitOpen(KitReader& reader, const WString& kitPath, const FreeSpaceProbe& freeSpace) {
    return KitOpen(reader, kitPath, KitSlice{}, freeSpace);
}

ErrorCode KitOpen(KitReader& reader, const WString& path, const KitSlice& slice, const FreeSpaceProbe& freeSpace) {
    KitClose(reader);
    try {
        OpenImage(reader, path, slice, freeSpace);
        return ERR_NONE;
    } catch (ErrorCode code) {
        // Nothing of a kit that failed stays, whichever field it failed at.
        std::vector<KitEntry>().swap(reader.entries);
        reader.descriptions.clear();
        CloseImage(reader);
        return code;
    }
}

ErrorCode KitExtractEntry(KitReader& reader, std::size_t index, const WString& destination) {
    if (index >= reader.entries.size()) return ERR_INVALID_PARAMETER;
    if (reader.handle == INVALID_FILE_HANDLE) return ERR_INVALID_HANDLE;
    const KitEntry& entry = reader.entries[index];
    FileHandleGuard out;
    ErrorCode code = FileOpen(destination, ACCESS_WRITE, 0, OPEN_CREATE, out.out());
    if (code != ERR_NONE) return code;
    if ((code = SeekImage(reader, entry.offset)) != ERR_NONE) return code;
    if ((code = CopyImageBytes(reader, entry.size, out.get())) != ERR_NONE) return code;
    if ((code = FileSetEnd(out.get())) != ERR_NONE) return code;
    if ((code = FileSetTimes(out.get(), nullptr, nullptr, &entry.lastWriteTime)) != ERR_NONE) return code;
    return FileClose(out.release());
}

namespace {

ErrorCode CopyEntryData(const KitReader& reader, std::size_t index, int destination, std::span<unsigned char> buffer,
                        const CopyObserver* observe) {
    if (index >= reader.entries.size()) return ERR_INVALID_PARAMETER;
    if (reader.handle == INVALID_FILE_HANDLE) return ERR_INVALID_HANDLE;
    const KitEntry& entry = reader.entries[index];
    const int source = static_cast<int>(reader.handle);
    const auto size = static_cast<unsigned>(buffer.size());
    const int error = observe != nullptr
                          ? CopyRangeObserved(source, entry.offset, entry.size, destination, buffer.data(), size, *observe)
                          : CopyRange(source, entry.offset, entry.size, destination, buffer.data(), size);
    if (error == EIO) return ERR_INVALID_DATA;
    return error == 0 ? ERR_NONE : ErrorFromErrno(error);
}

}  // namespace

ErrorCode KitCopyEntryData(const KitReader& reader, std::size_t index, int destination,
                           std::span<unsigned char> buffer) {
    return CopyEntryData(reader, index, destination, buffer, nullptr);
}

ErrorCode KitCopyEntryData(const KitReader& reader, std::size_t index, int destination,
                           std::span<unsigned char> buffer, const CopyObserver& observe) {
    return CopyEntryData(reader, index, destination, buffer, &observe);
}

void KitFindDescription(const std::vector<KitDescription>& descriptions, const WString& language,
                        WString* productName, WString* providerName) {
    const auto match = std::find_if(descriptions.begin(), descriptions.end(), [&](const KitDescription& d) {
        return CompareNoCase(d.language, language) == 0;
    });
    const bool found = match != descriptions.end();
    if (productName != nullptr) *productName = found ? match->productName : WString();
    if (providerName != nullptr) *providerName = found ? match->providerName : WString();
}

WString KitDescriptionFile(const std::vector<KitDescription>& descriptions, const WString& language) {
    for (const KitDescription& d : descriptions) {
        if (CompareNoCase(d.language, language) != 0) continue;
        if (!d.descriptionFile.empty()) return d.descriptionFile;
        break;
    }
    for (const KitDescription& d : descriptions) {
        if (CompareNoCase(d.language, WString(u"en")) == 0) return d.descriptionFile;
    }
    return WString();
}
