#include "platform/FindData.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "launcher/ScratchDirectory.h"

using scratch::Wide;

namespace {

class FindDataTest : public ::testing::Test {
protected:
    scratch::Environment env;
    FindData find;
    void SetUp() override {
        FindInit(find);
        for (const char* name : {"a.txt", "b.txt", "back\\slash", "file7", "lit[0-9]", "star*", "stark"}) {
            scratch::WriteBytes(env / name, "12345");
        }
    }
    void TearDown() override { FindClose(find); }

    // Each match with "/" appended for a directory.
    std::set<std::string> AllMatches(const std::string& path) {
        std::set<std::string> names;
        for (bool found = FindFirst(find, Wide(path)); found; found = FindNext(find)) {
            names.insert(scratch::Narrow(FindName(find)) + (FindAttributes(find) == ATTR_DIRECTORY ? "/" : ""));
        }
        return names;
    }
};

TEST_F(FindDataTest, WildcardsInTheLastComponentFindEveryMatch) {
    const std::pair<std::string, std::set<std::string>> cases[] = {
        {"*", {"./", "../", "a.txt", "b.txt", "back\\slash", "file7", "home/", "lit[0-9]", "star*", "stark", "tmp/"}},
        {"?.txt", {"a.txt", "b.txt"}},     {"back\\slash", {"back\\slash"}},  // the backslash is literal
        {"file[0-9]", {"file7"}},          {"star*", {"star*", "stark"}},  // an existence test finds others too
        {"tmp", {"tmp/"}},                 {"lit[0-9]", {}},  // a bracket expression does not find itself
        {"missing", {}},                   {"nodir/missing", {}},
        {"", {}}};
    for (const auto& [pattern, names] : cases) EXPECT_EQ(AllMatches(env / pattern), names) << pattern;
    EXPECT_EQ(AllMatches("/etc"), std::set<std::string>{});  // the only slash first: no directory part
    EXPECT_TRUE(FindName(find).empty());
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(env.root());
    const std::set<std::string> withoutSlash = AllMatches("tmp");  // searches tmp/tmp
    std::filesystem::current_path(previous);
    EXPECT_TRUE(withoutSlash.empty());
}

TEST_F(FindDataTest, FileSizeByPathKeepsTheLowWordAndLeavesTheOutputOnFailure) {
    std::error_code error;
    std::filesystem::resize_file(env / "a.txt", 5ull << 30, error);
    if (error) GTEST_SKIP() << "no sparse 5 GiB file here";
    std::uint32_t size32 = 0;
    std::uint64_t size64 = 0;
    EXPECT_EQ(GetFileSizeByPath(Wide(env / "a.txt"), &size32) + GetFileSizeByPath(Wide(env / "a.txt"), &size64), 0);
    EXPECT_EQ(size32, 1u << 30);
    EXPECT_EQ(size64, 5ull << 30);
    EXPECT_EQ(GetFileSizeByPath(Wide(env / "missing"), &size32), 1);
    EXPECT_EQ(size32, 1u << 30);
}

TEST_F(FindDataTest, ExistenceAndDirectoryQueriesTakeThePathLiterally) {
    ASSERT_EQ(::symlink("nowhere", (env / "dangling").c_str()), 0);
    ASSERT_EQ(::symlink("tmp", (env / "totmp").c_str()), 0);
    const std::tuple<std::string, bool, bool> cases[] = {
        {"a.txt", true, false},      {"tmp", true, true}, {"missing", false, false},  {"a.tx?", false, false},
        {"file[0-9]", false, false}, {"*", false, false}, {"dangling", true, false}, {"totmp", true, true}};
    for (const auto& [name, exists, directory] : cases) {
        EXPECT_EQ(PathExists(Wide(env / name)), exists) << name;
        EXPECT_EQ(IsDirectory(Wide(env / name)), directory) << name;
    }
}

}  // namespace
