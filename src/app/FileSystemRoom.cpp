#include "app/FileSystemRoom.h"

ErrorCode CheckRoom(const struct statvfs& space, const RoomNeeded& needed) {
    const std::uint64_t blockSize = space.f_frsize != 0 ? space.f_frsize : 4096;
    const std::uint64_t bytes = needed.bytes + needed.files * blockSize;
    if (bytes > static_cast<std::uint64_t>(space.f_bavail) * blockSize) return ERR_DISK_FULL;
    const std::uint64_t inodes = needed.files + needed.folders;
    if (space.f_files != 0 && inodes > static_cast<std::uint64_t>(space.f_favail)) return ERR_DISK_FULL;
    return ERR_NONE;
}
