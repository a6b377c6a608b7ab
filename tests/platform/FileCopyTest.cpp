// A saved original is recognised by its copy: the same kind (a link as a link), mode, size and time.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "launcher/ScratchDirectory.h"
#include "platform/FileCopy.h"

namespace {

TEST(CopyFileSynced, GivesTheSameEntryWithItsTime) {
    scratch::Environment env;
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        int error;
    };
    const Case cases[] = {
        {"file", [](const std::string& p) { scratch::WriteBytes(p, "content"); ASSERT_EQ(chmod(p.c_str(), 0604), 0); }, 0},
        {"link", [](const std::string& p) { ASSERT_EQ(symlink("somewhere/else", p.c_str()), 0); }, 0},
        {"folder", [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0700), 0); }, EINVAL},
    };
    const int folder = open(env.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string from = env / (std::string(c.name) + ".from");
        c.make(from);
        const timespec times[2] = {{1000, 5}, {1200000000, 123456789}};
        ASSERT_EQ(utimensat(folder, from.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
        const std::string to = std::string(c.name) + ".to";
        EXPECT_EQ(CopyFileSynced(folder, (std::string(c.name) + ".from").c_str(), folder, to.c_str()), c.error);
        struct stat original {};
        struct stat copy {};
        ASSERT_EQ(lstat(from.c_str(), &original), 0);
        if (c.error != 0) {
            EXPECT_FALSE(scratch::Exists(env / to));
            continue;
        }
        ASSERT_EQ(lstat((env / to).c_str(), &copy), 0);
        EXPECT_EQ(copy.st_mode, original.st_mode);
        EXPECT_EQ(copy.st_size, original.st_size);
        EXPECT_EQ(copy.st_mtim.tv_sec, original.st_mtim.tv_sec);
        EXPECT_EQ(copy.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
    }
    close(folder);
}

}  // namespace
