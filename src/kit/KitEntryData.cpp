#include "kit/KitEntryData.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/File.h"
#include "platform/SystemPath.h"

ErrorCode ImageEntryData::Copy(std::size_t index, int destination, const CopyObserver* observe) {
    return observe == nullptr ? KitCopyEntryData(kit_, index, destination, buffer_)
                              : KitCopyEntryData(kit_, index, destination, buffer_, *observe);
}

ErrorCode ImageEntryData::Look(std::size_t index, const CopyObserver& observe) {
    if (index >= kit_.entries.size()) return ERR_INVALID_PARAMETER;
    if (kit_.handle == INVALID_FILE_HANDLE) return ERR_INVALID_HANDLE;
    const KitEntry& entry = kit_.entries[index];
    const int image = static_cast<int>(kit_.handle);
    for (std::uint64_t done = 0; done < entry.size;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(entry.size - done, buffer_.size()));
        const ssize_t got = pread(image, buffer_.data(), want, static_cast<off_t>(entry.offset + done));
        if (got < 0 && errno == EINTR) continue;
        // An image that cannot be read back, or ends inside the entry, is a damaged one.
        if (got < 0) return errno == EIO ? ERR_INVALID_DATA : ErrorFromErrno(errno);
        if (got == 0) return ERR_INVALID_DATA;
        observe(buffer_.data(), static_cast<std::size_t>(got));
        done += static_cast<std::uint64_t>(got);
    }
    return ERR_NONE;
}

ErrorCode StreamEntryData::Copy(std::size_t index, int destination, const CopyObserver* observe) {
    if (index >= entries_.size()) return ERR_INVALID_PARAMETER;
    const KitEntry& entry = entries_[index];
    // Straight from the stream's memory into the file: no copy in between.
    return stream_.Read(reader_, entry.offset, entry.size, [&](const unsigned char* piece, std::size_t size) {
        if (observe != nullptr) (*observe)(piece, size);
        std::uint32_t written = 0;
        return FileWrite(destination, piece, static_cast<std::uint32_t>(size), &written);
    });
}

ErrorCode StreamEntryData::Look(std::size_t index, const CopyObserver& observe) {
    if (index >= entries_.size()) return ERR_INVALID_PARAMETER;
    const KitEntry& entry = entries_[index];
    return stream_.Read(reader_, entry.offset, entry.size, [&](const unsigned char* piece, std::size_t size) {
        observe(piece, size);
        return ERR_NONE;
    });
}
