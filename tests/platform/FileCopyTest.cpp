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
    // What a copy keeps: kind and mode, size (a link's: its target's length), time and content.
    const auto kept = [&](const std::string& name) {
        struct stat status {};
        EXPECT_EQ(lstat((env / name).c_str(), &status), 0) << name;
        return std::tuple(status.st_mode, status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec,
                          scratch::ReadBytes(env / name));
    };
    for (const auto& [name, error] : {std::pair{"file", 0}, {"link", 0}, {"folder", EINVAL}}) {
        SCOPED_TRACE(name);
        const std::string to = std::string(name) + ".copy";
        ASSERT_EQ(utimensat(folder.get(), name, times, AT_SYMLINK_NOFOLLOW), 0);
        EXPECT_EQ(CopyFileSynced(folder.get(), name, folder.get(), to.c_str()), error);
        EXPECT_EQ(scratch::Exists(env / to), error == 0);
        if (error == 0) {
            EXPECT_EQ(kept(to), kept(name));
        }
    }
}

}  // namespace
