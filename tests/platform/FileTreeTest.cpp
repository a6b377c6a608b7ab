#include "platform/FileTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include "launcher/ScratchDirectory.h"

using scratch::Names;
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
    EXPECT_EQ(scratch::ReadBytes(env.home() + "/precious"), "keep");
    EXPECT_FALSE(scratch::Exists("pwned"));
}

}  // namespace
