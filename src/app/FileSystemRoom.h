// Whether what a run writes fits into the free room of the file system that
// receives it: blocks for the bytes, and one inode for every file or folder
// it makes. A file system of many small files runs out of inodes long
// before it runs out of blocks.
#pragma once

#include <sys/statvfs.h>

#include <cstdint>

#include "platform/ErrorCode.h"

struct RoomNeeded {
    std::uint64_t bytes = 0;    // file data
    std::uint64_t files = 0;    // files made (each takes part of a block more than its bytes, and an inode)
    std::uint64_t folders = 0;  // folders made (an inode each)
};

// 0 when `needed` fits into the blocks and inodes `space` reports as free to
// the calling user; ERR_DISK_FULL when either falls short. A file system that
// reports no inodes at all (btrfs, some network ones) sets no limit on them.
ErrorCode CheckRoom(const struct statvfs& space, const RoomNeeded& needed);
