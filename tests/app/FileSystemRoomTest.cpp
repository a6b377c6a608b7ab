// Whether a run's writes fit: blocks and inodes, each able to refuse alone.
#include <gtest/gtest.h>

#include "app/FileSystemRoom.h"

namespace {

struct statvfs FileSystem(std::uint64_t freeBlocks, std::uint64_t totalInodes, std::uint64_t freeInodes) {
    struct statvfs space {};
    space.f_frsize = 4096;
    space.f_bavail = freeBlocks;
    space.f_files = totalInodes;
    space.f_favail = freeInodes;
    return space;
}

TEST(FileSystemRoomTest, RefusesWhenBlocksOrInodesFallShort) {
    struct Case {
        const char* name;
        struct statvfs space;
        RoomNeeded needed;
        ErrorCode expected;
    };
    const Case cases[] = {
        {"both fit", FileSystem(1000, 100, 50), {40960, 10, 5}, ERR_NONE},
        {"inodes exactly enough", FileSystem(1000, 100, 15), {0, 10, 5}, ERR_NONE},
        {"one inode short", FileSystem(1000, 100, 14), {0, 10, 5}, ERR_DISK_FULL},
        {"folders alone take the inodes", FileSystem(1000, 100, 4), {0, 0, 5}, ERR_DISK_FULL},
        {"no inode count (btrfs): no limit", FileSystem(1000, 0, 0), {0, 10, 5}, ERR_NONE},
        {"bytes short", FileSystem(10, 100, 50), {40961, 0, 0}, ERR_DISK_FULL},
        {"each file's part block counts", FileSystem(10, 100, 50), {4096, 10, 0}, ERR_DISK_FULL},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckRoom(c.space, c.needed), c.expected) << c.name;
}

}  // namespace
