// Whether a run's writes fit: blocks and inodes, each able to refuse alone.
#include <gtest/gtest.h>

#include "app/FileSystemRoom.h"

TEST(FileSystemRoomTest, RefusesWhenBlocksOrInodesFallShort) {
    struct Case {
        const char* name;
        std::uint64_t freeBlocks, totalInodes, freeInodes;  // of 4 KiB blocks
        RoomNeeded needed;                                   // bytes, files, folders
        ErrorCode expected;
    } const cases[] = {
        {"inodes exactly enough", 1000, 100, 15, {40960, 10, 5}, ERR_NONE},
        {"one inode short", 1000, 100, 14, {0, 10, 5}, ERR_DISK_FULL},
        {"no inode count (btrfs): no limit", 1000, 0, 0, {0, 10, 5}, ERR_NONE},
        {"each file's part block counts", 10, 100, 50, {4096, 10, 0}, ERR_DISK_FULL},
    };
    for (const Case& c : cases) {
        struct statvfs space {};
        space.f_frsize = 4096;
        space.f_bavail = c.freeBlocks;
        space.f_files = c.totalInodes;
        space.f_favail = c.freeInodes;
        EXPECT_EQ(CheckRoom(space, c.needed), c.expected) << c.name;
    }
}
