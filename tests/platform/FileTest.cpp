// Times of files to the precision the file system keeps, and the path
// queries that take a path literally, wildcards and dangling links included.
#include "platform/File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FindData.h"

#include "launcher/ScratchDirectory.h"

using scratch::Wide;

namespace {

class FileTest : public ::testing::Test {
protected:
    scratch::Environment env;
    const std::string ten = env / "ten";
    void SetUp() override { scratch::WriteBytes(ten, "0123456789"); }
};

TEST_F(FileTest, SetTimesKeepsTheFractionAndAgeComparesWholeSeconds) {
    const FileTime stamp = FileTime::fromValue(FileTimeFromUnixSeconds(1500000000).value() + 1234567);
    FileHandleGuard file;
    ASSERT_EQ(FileOpen(Wide(ten), ACCESS_WRITE, 0, OPEN_EXISTING, file.out()), ERR_NONE);
    ASSERT_EQ(FileSetTimes(file.get(), nullptr, nullptr, &stamp), ERR_NONE);
    EXPECT_EQ(FileSetTimes(file.get(), nullptr, nullptr, nullptr), ERR_INVALID_PARAMETER);
    FileTime access, write;
    ASSERT_EQ(FileGetTimes(file.get(), nullptr, &access, &write), ERR_NONE);
    EXPECT_EQ(write, FileTimeFromUnixSeconds(1500000000));
    EXPECT_EQ(access, write);
    struct stat status {};
    ASSERT_EQ(stat(ten.c_str(), &status), 0);
    EXPECT_EQ(status.st_mtim.tv_nsec, 123456700);
    // Up to date against its own entry and an earlier whole second, not a later one.
    EXPECT_FALSE(FileIsOlderThan(Wide(ten), stamp));
    EXPECT_FALSE(FileIsOlderThan(Wide(ten), FileTime::fromValue(stamp.value() + 5000000)));
    EXPECT_TRUE(FileIsOlderThan(Wide(ten), FileTimeFromUnixSeconds(1500000001)));
    EXPECT_TRUE(FileIsOlderThan(Wide(env / "missing"), FileTimeFromUnixSeconds(0)));
    EXPECT_EQ(FileTimeFromUnixSeconds(-11644473600).value(), 0u);  // the earliest file time
    EXPECT_EQ(UnixSecondsFromFileTime(FileTime::fromValue(116444736000000000 + 9999999)), 0);
}

TEST_F(FileTest, ExistenceAndDirectoryQueriesTakeThePathLiterally) {
    scratch::WriteBytes(env / "file7", "7");
    ASSERT_EQ(::symlink("nowhere", (env / "dangling").c_str()), 0);
    ASSERT_EQ(::symlink("tmp", (env / "totmp").c_str()), 0);
    const std::tuple<std::string, bool, bool> cases[] = {
        {"ten", true, false},        {"tmp", true, true}, {"missing", false, false},  {"te?", false, false},
        {"file[0-9]", false, false}, {"*", false, false}, {"dangling", true, false}, {"totmp", true, true}};
    for (const auto& [name, exists, directory] : cases) {
        EXPECT_EQ(PathExists(Wide(env / name)), exists) << name;
        EXPECT_EQ(IsDirectory(Wide(env / name)), directory) << name;
    }
}

}  // namespace
