// A saved original is recognised by its copy: the same kind (a link as a link), content, mode and time.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "launcher/ScratchDirectory.h"
#include "platform/FileCopy.h"
#include "platform/FolderBeneath.h"

namespace {

TEST(CopyFileSynced, GivesTheSameEntryWithItsTime) {
    scratch::Environment env;
    scratch::WriteBytes(env / "file", "content");
    ASSERT_EQ(chmod((env / "file").c_str(), 0604), 0);
    ASSERT_EQ(symlink("somewhere/else", (env / "link").c_str()), 0);
    ASSERT_EQ(mkdir((env / "folder").c_str(), 0700), 0);
    const FolderDescriptor folder(open(env.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const timespec times[2] = {{1000, 5}, {1200000000, 123456789}};
    for (const auto& [name, error] : {std::pair{"file", 0}, {"link", 0}, {"folder", EINVAL}}) {
        SCOPED_TRACE(name);
        const std::string from = env / name, to = std::string(name) + ".copy";
        ASSERT_EQ(utimensat(folder.get(), name, times, AT_SYMLINK_NOFOLLOW), 0);
        EXPECT_EQ(CopyFileSynced(folder.get(), name, folder.get(), to.c_str()), error);
        if (error != 0) {
            EXPECT_FALSE(scratch::Exists(env / to));
            continue;
        }
        struct stat original {};
        struct stat copy {};
        ASSERT_EQ(lstat(from.c_str(), &original), 0);
        ASSERT_EQ(lstat((env / to).c_str(), &copy), 0);
        EXPECT_EQ(copy.st_mode, original.st_mode);
        EXPECT_EQ(copy.st_size, original.st_size);
        EXPECT_EQ(scratch::ReadBytes(env / to), scratch::ReadBytes(from));
        EXPECT_EQ(copy.st_mtim.tv_sec, original.st_mtim.tv_sec);
        EXPECT_EQ(copy.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
    }
}

}  // namespace
