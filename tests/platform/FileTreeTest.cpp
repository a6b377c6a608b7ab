#include "platform/FileTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include "launcher/ScratchDirectory.h"

using scratch::Names;
using scratch::ReadBytes;
using scratch::Wide;
using Listing = std::vector<std::string>;

namespace {

// Every path holds what a command line built for a shell would misread.
class FileTreeTest : public ::testing::Test {
protected:
    scratch::Environment env;
    const std::string odd = " \"q\" 'q' $HOME $(touch pwned) `id` \\;&\nОтчёт";
    const std::string file = env / ("file" + odd), dir = env / ("dir" + odd);
    void SetUp() override {
        scratch::WriteBytes(file, "f");
        scratch::MakeDirectories(dir + "/sub");
    }
};

TEST_F(FileTreeTest, MakeDirectoryTreeResults) {
    const std::pair<std::string, ErrorCode> cases[] = {{dir + "/", ERR_NONE},    {dir + "//a/./b/../c", ERR_NONE},
                                                       {file, ERR_FILE_NOT_FOUND}, {file + "/x", ERR_FILE_NOT_FOUND},
                                                       {"", ERR_FILE_NOT_FOUND}};
    for (const auto& [path, expected] : cases) EXPECT_EQ(MakeDirectoryTree(Wide(path)), expected) << path;
    EXPECT_EQ(Names(dir), (Listing{"a", "sub"}));
    EXPECT_EQ(Names(dir + "/a"), (Listing{"b", "c"}));
}

TEST_F(FileTreeTest, MovePathResults) {
    scratch::WriteBytes(file + "2", "2");
    const std::tuple<std::string, std::string, ErrorCode> cases[] = {
        {env / "missing", env / "x", ERR_FILE_NOT_FOUND},
        {file, file + "/below", ERR_FILE_NOT_FOUND},
        {file, env / "nodir/x", ERR_FILE_NOT_FOUND},
        {file + "2", file, ERR_NONE},  // replaces, like mv
        {file, dir, ERR_NONE},         // into the directory
        {dir, dir + " moved", ERR_NONE},
    };
    for (const auto& [from, to, expected] : cases) EXPECT_EQ(MovePath(Wide(from), Wide(to)), expected) << from << to;
    EXPECT_EQ(Names(env.root()), (Listing{"dir" + odd + " moved", "home", "tmp"}));
    EXPECT_EQ(ReadBytes(dir + " moved/file" + odd), "2");
}

TEST_F(FileTreeTest, MovePathCrossesFileSystemsKeepingContentAndTimes) {
    struct stat here {}, shm {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(env.root().c_str(), &here) != 0 || here.st_dev == shm.st_dev) {
        GTEST_SKIP() << "no second file system to move to";
    }
    char other[] = "/dev/shm/qorn-test-XXXXXX";
    ASSERT_NE(::mkdtemp(other), nullptr);
    const std::string moved = std::string(other) + "/moved" + odd;
    const timeval old[2] {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(file.c_str(), old), 0);
    EXPECT_EQ(MovePath(Wide(file), Wide(dir + "/sub/f")), ERR_NONE);
    EXPECT_EQ(MovePath(Wide(dir), Wide(moved)), ERR_NONE);
    EXPECT_EQ(MovePath(Wide(moved), Wide(env / "nodir/x")), ERR_FILE_NOT_FOUND);
    struct stat status {};
    ASSERT_EQ(::stat((moved + "/sub/f").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1000000000);
    EXPECT_EQ(Names(env.root()), (Listing{"home", "tmp"}));
    EXPECT_EQ(RemoveTree(Wide(other)), ERR_NONE);
}

TEST_F(FileTreeTest, RemovalsAnswerZeroAndNeverFollowLinksOutOfTheTree) {
    scratch::WriteBytes(env.home() + "/precious", "keep");
    ASSERT_EQ(::symlink(env.home().c_str(), (dir + "/sub/link").c_str()), 0);
    ASSERT_EQ(::symlink((env.home() + "/precious").c_str(), (dir + "/filelink").c_str()), 0);
    ASSERT_EQ(::symlink(env.home().c_str(), (env / "link").c_str()), 0);
    ::chmod((dir + "/sub").c_str(), 0500);  // read-only directories still go
    for (const std::string& spared : {dir + "/sub/..", dir + "/.", std::string(), env / "missing"}) {
        EXPECT_EQ(RemoveTree(Wide(spared)), ERR_NONE) << spared;
    }
    EXPECT_EQ(RemoveFile(Wide(dir)), ERR_NONE);
    EXPECT_EQ(RemoveFile(Wide(env / "missing")), ERR_NONE);
    EXPECT_EQ(Names(env.root()), (Listing{"dir" + odd, "file" + odd, "home", "link", "tmp"}));
    for (const std::string& path : {file, dir, env / "link/"}) EXPECT_EQ(RemoveTree(Wide(path)), ERR_NONE) << path;
    EXPECT_EQ(Names(env.root()), (Listing{"home", "tmp"}));
    EXPECT_EQ(ReadBytes(env.home() + "/precious"), "keep");
    EXPECT_FALSE(scratch::Exists("pwned"));
}

}  // namespace
