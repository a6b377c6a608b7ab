#include "platform/FindData.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "platform/ScratchDirectory.h"

using namespace testing_support;

namespace {

const bool kUtf8 = UseUtf8Locale();

class FindDataTest : public ::testing::Test {
protected:
    ScratchDirectory scratch;
    FindData find;

    void SetUp() override {
        FindInit(find);
        WriteBytes(scratch / "a.txt", "12345");
        WriteBytes(scratch / "b.txt", "");
        WriteBytes(scratch / "back\\slash", "");
        WriteBytes(scratch / "file7", "");
        WriteBytes(scratch / "star*", "");
        ::mkdir((scratch / "sub").c_str(), 0755);
    }
    void TearDown() override { FindClose(find); }

    std::set<std::string> AllMatches(const std::string& path) {
        std::set<std::string> names;
        for (bool found = FindFirst(find, W(path)); found; found = FindNext(find)) names.insert(A(FindName(find)));
        return names;
    }
};

TEST_F(FindDataTest, ExactPathFindsItselfWithItsAttributes) {
    ASSERT_TRUE(FindFirst(find, W(scratch / "a.txt")));
    EXPECT_EQ(A(FindName(find)), "a.txt");
    EXPECT_EQ(FindAttributes(find), 0u);
    ASSERT_TRUE(FindFirst(find, W(scratch / "sub")));
    EXPECT_EQ(FindAttributes(find), ATTR_DIRECTORY);
}

TEST_F(FindDataTest, SearchesThatFindNothing) {
    WriteBytes(scratch / "lit[0-9]", "");
    const std::string cases[] = {
        scratch / "missing",
        scratch / "nodir/missing",
        scratch.path() + "/",    // empty pattern
        "/" + std::string("etc"),  // only slash first: empty directory part
        "",
        scratch / "lit[0-9]",    // a bracket expression does not find itself
    };
    for (const std::string& path : cases) {
        EXPECT_FALSE(FindFirst(find, W(path))) << path;
        EXPECT_EQ(FindAttributes(find), 0u) << path;
        EXPECT_TRUE(FindName(find).empty()) << path;
    }
}

TEST_F(FindDataTest, WildcardsAreTheLastComponentsPatterns) {
    struct Case {
        std::string pattern;
        std::set<std::string> names;
    };
    const Case cases[] = {
        {"*", {".", "..", "a.txt", "b.txt", "back\\slash", "file7", "star*", "sub"}},
        {"?.txt", {"a.txt", "b.txt"}},
        {"back\\slash", {"back\\slash"}},  // the backslash is literal
        {"file[0-9]", {"file7"}},
        {"star*", {"star*"}},              // an existence test of "star*" ...
        {"a.tx?", {"a.txt"}},
    };
    for (const Case& c : cases) EXPECT_EQ(AllMatches(scratch / c.pattern), c.names) << c.pattern;
    EXPECT_FALSE(FindNext(find));  // exhausted searches are closed
}

TEST_F(FindDataTest, ExistenceTestOfAStarNameAlsoFindsOthers) {
    WriteBytes(scratch / "stark", "");
    EXPECT_EQ(AllMatches(scratch / "star*").size(), 2u);
}

TEST_F(FindDataTest, PathWithoutSlashSearchesDirectoryOfThatName) {
    const std::string previous = std::filesystem::current_path();
    ::mkdir((scratch / "same").c_str(), 0755);
    WriteBytes(scratch / "same/same", "");
    ASSERT_EQ(::chdir(scratch.path().c_str()), 0);
    const bool found = FindFirst(find, W("same"));
    const bool foundOther = FindFirst(find, W("sub"));
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_TRUE(found);
    EXPECT_FALSE(foundOther);
}

TEST_F(FindDataTest, CloseAndClosedStateAnswerEmpty) {
    ASSERT_TRUE(FindFirst(find, W(scratch / "*")));
    FindClose(find);
    EXPECT_EQ(find.stream, nullptr);
    EXPECT_FALSE(FindNext(find));
    EXPECT_TRUE(FindName(find).empty());
    EXPECT_TRUE(find.fullPath.empty());
}

TEST_F(FindDataTest, FileSizeByPathKeepsLowWordAndLeavesOutputOnFailure) {
    const std::string big = scratch / "big";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const bool sparse = ::ftruncate(fd, 5ll << 30) == 0;
    ::close(fd);
    if (!sparse) GTEST_SKIP() << "no sparse 5 GiB file here";
    std::uint32_t size32 = 0;
    std::uint64_t size64 = 0;
    EXPECT_EQ(GetFileSizeByPath(W(big), &size32), 0);
    EXPECT_EQ(size32, 1u << 30);
    EXPECT_EQ(GetFileSizeByPath(W(big), &size64), 0);
    EXPECT_EQ(size64, 5ull << 30);
    size32 = 42;
    EXPECT_EQ(GetFileSizeByPath(W(scratch / "missing"), &size32), 1);
    EXPECT_EQ(size32, 42u);
    EXPECT_EQ(GetFileSizeByPath(W(scratch / "a.txt"), static_cast<std::uint32_t*>(nullptr)), 1);
}

TEST_F(FindDataTest, ExistenceAndDirectoryQueriesTakeThePathLiterally) {
    ASSERT_EQ(::symlink("nowhere", (scratch / "dangling").c_str()), 0);
    ASSERT_EQ(::symlink("sub", (scratch / "tosub").c_str()), 0);
    struct Case {
        std::string name;
        bool exists;
        bool directory;
    };
    const Case cases[] = {{"a.txt", true, false},   {"sub", true, true},     {"missing", false, false},
                          {"a.tx?", false, false},  {"*", false, false},     {"dangling", true, false},
                          {"tosub", true, true},    {"file[0-9]", false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(PathExists(W(scratch / c.name)), c.exists) << c.name;
        EXPECT_EQ(IsDirectory(W(scratch / c.name)), c.directory) << c.name;
    }
}

}  // namespace
