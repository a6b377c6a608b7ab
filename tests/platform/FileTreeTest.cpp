#include "platform/FileTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include "platform/ScratchDirectory.h"

using namespace testing_support;

namespace {

const bool kUtf8 = UseUtf8Locale();

// Names that would change a command line built for a shell.
const char* const kAwkwardNames[] = {
    "plain", "with space", "quote\"d", "single'quote", "dollar$HOME", "$(touch pwned)", "back`id`tick",
    "back\\slash", "new\nline", "-dash", "semi;colon&amp", "Отчёт",
};

class FileTreeTest : public ::testing::Test {
protected:
    ScratchDirectory scratch;
};

TEST_F(FileTreeTest, EveryOperationTakesAwkwardPathsLiterally) {
    for (const char* name : kAwkwardNames) {
        const std::string dir = scratch / name;
        const std::string moved = dir + " moved";
        EXPECT_EQ(MakeDirectoryTree(W(dir + "/inner/deep")), ERR_NONE) << name;
        EXPECT_TRUE(IsDir(dir + "/inner/deep")) << name;
        WriteBytes(dir + "/inner/" + name, "x");
        EXPECT_EQ(MovePath(W(dir), W(moved)), ERR_NONE) << name;
        EXPECT_FALSE(Exists(dir)) << name;
        EXPECT_EQ(ReadBytes(moved + "/inner/" + name), "x") << name;
        EXPECT_EQ(RemoveFile(W(moved + "/inner/" + name)), ERR_NONE) << name;
        EXPECT_FALSE(Exists(moved + "/inner/" + name)) << name;
        EXPECT_EQ(RemoveTree(W(moved)), ERR_NONE) << name;
        EXPECT_FALSE(Exists(moved)) << name;
    }
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
    EXPECT_FALSE(Exists("pwned"));
}

TEST_F(FileTreeTest, MakeDirectoryTreeResults) {
    WriteBytes(scratch / "file", "");
    ::mkdir((scratch / "exists").c_str(), 0755);
    struct Case {
        std::string path;
        ErrorCode expected;
    };
    const Case cases[] = {
        {scratch / "exists", ERR_NONE},
        {scratch / "exists/", ERR_NONE},
        {scratch / "a//b/./c/../d", ERR_NONE},
        {scratch / "file", ERR_FILE_NOT_FOUND},
        {scratch / "file/below", ERR_FILE_NOT_FOUND},
        {"", ERR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) EXPECT_EQ(MakeDirectoryTree(W(c.path)), c.expected) << c.path;
    EXPECT_TRUE(IsDir(scratch / "a/b/d"));
}

TEST_F(FileTreeTest, MovePathResults) {
    WriteBytes(scratch / "file", "f");
    WriteBytes(scratch / "other", "o");
    ::mkdir((scratch / "dir").c_str(), 0755);
    struct Case {
        std::string source;
        std::string destination;
        ErrorCode expected;
    };
    const Case cases[] = {
        {scratch / "missing", scratch / "x", ERR_FILE_NOT_FOUND},
        {scratch / "file", scratch / "file/below", ERR_FILE_NOT_FOUND},
        {scratch / "file", scratch / "nodir/x", ERR_FILE_NOT_FOUND},
        {scratch / "other", scratch / "file", ERR_NONE},  // replaces like mv
        {scratch / "file", scratch / "dir", ERR_NONE},    // into the directory
    };
    for (const Case& c : cases) EXPECT_EQ(MovePath(W(c.source), W(c.destination)), c.expected) << c.source;
    EXPECT_EQ(ReadBytes(scratch / "dir/file"), "o");
    EXPECT_FALSE(Exists(scratch / "other"));
}

TEST_F(FileTreeTest, MovePathCrossesFileSystemsKeepingContentAndTimes) {
    struct stat here {}, shm {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(scratch.path().c_str(), &here) != 0 || here.st_dev == shm.st_dev) {
        GTEST_SKIP() << "no second file system to move to";
    }
    char pattern[] = "/dev/shm/qorn-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string other = pattern;
    const std::string tree = scratch / "tree $x";
    ASSERT_EQ(MakeDirectoryTree(W(tree + "/sub")), ERR_NONE);
    WriteBytes(tree + "/sub/file", "payload");
    struct timeval old[2] {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes((tree + "/sub/file").c_str(), old), 0);

    EXPECT_EQ(MovePath(W(tree), W(other + "/moved")), ERR_NONE);
    EXPECT_FALSE(Exists(tree));
    EXPECT_EQ(ReadBytes(other + "/moved/sub/file"), "payload");
    struct stat moved {};
    ASSERT_EQ(::stat((other + "/moved/sub/file").c_str(), &moved), 0);
    EXPECT_EQ(moved.st_mtime, 1000000000);
    EXPECT_EQ(MovePath(W(other + "/moved/sub/file"), W(scratch / "back")), ERR_NONE);
    EXPECT_EQ(ReadBytes(scratch / "back"), "payload");
    EXPECT_EQ(MovePath(W(other + "/moved"), W(scratch / "missing-parent/x")), ERR_FILE_NOT_FOUND);
    EXPECT_TRUE(Exists(other + "/moved/sub"));
    std::filesystem::remove_all(other);
}

TEST_F(FileTreeTest, RemoveTreeNeverLeavesTheTree) {
    ScratchDirectory outside;
    WriteBytes(outside / "precious", "keep");
    ASSERT_EQ(MakeDirectoryTree(W(scratch / "tree/a/b")), ERR_NONE);
    WriteBytes(scratch / "tree/a/b/file", "");
    ASSERT_EQ(::symlink(outside.path().c_str(), (scratch / "tree/a/link").c_str()), 0);
    ASSERT_EQ(::symlink((outside / "precious").c_str(), (scratch / "tree/filelink").c_str()), 0);
    ::chmod((scratch / "tree/a/b").c_str(), 0500);  // read-only directories still go

    EXPECT_EQ(RemoveTree(W(scratch / "tree")), ERR_NONE);
    EXPECT_FALSE(Exists(scratch / "tree"));
    EXPECT_EQ(ReadBytes(outside / "precious"), "keep");
}

TEST_F(FileTreeTest, RemoveTreeOfALinkRemovesOnlyTheLink) {
    ScratchDirectory outside;
    WriteBytes(outside / "precious", "keep");
    ASSERT_EQ(::symlink(outside.path().c_str(), (scratch / "link").c_str()), 0);
    EXPECT_EQ(RemoveTree(W(scratch / "link/")), ERR_NONE);
    EXPECT_FALSE(Exists(scratch / "link"));
    EXPECT_EQ(ReadBytes(outside / "precious"), "keep");
}

TEST_F(FileTreeTest, RemovalsAlwaysAnswerZeroAndSpareWhatTheyMustNotTouch) {
    ASSERT_EQ(MakeDirectoryTree(W(scratch / "dir/sub")), ERR_NONE);
    WriteBytes(scratch / "file", "");
    const std::string spared[] = {scratch / "dir/sub/..", scratch / "dir/.", ""};
    for (const std::string& path : spared) EXPECT_EQ(RemoveTree(W(path)), ERR_NONE) << path;
    EXPECT_TRUE(IsDir(scratch / "dir/sub"));
    EXPECT_EQ(RemoveTree(W(scratch / "missing")), ERR_NONE);
    EXPECT_EQ(RemoveFile(W(scratch / "missing")), ERR_NONE);
    EXPECT_EQ(RemoveFile(W(scratch / "dir")), ERR_NONE);
    EXPECT_TRUE(IsDir(scratch / "dir"));
    EXPECT_EQ(RemoveTree(W(scratch / "file")), ERR_NONE);
    EXPECT_FALSE(Exists(scratch / "file"));
}

}  // namespace
