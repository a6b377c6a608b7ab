#include "platform/File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "launcher/ScratchDirectory.h"

using scratch::ReadBytes;
using scratch::Wide;

namespace {

class FileTest : public ::testing::Test {
protected:
    scratch::Environment env;
    const std::string ten = env / "ten";
    void SetUp() override { scratch::WriteBytes(ten, "0123456789"); }

    static FileHandleGuard Open(const std::string& path, std::uint32_t access, std::uint32_t disposition = OPEN_EXISTING) {
        FileHandle handle = INVALID_FILE_HANDLE;
        EXPECT_EQ(FileOpen(Wide(path), access, 0, disposition, &handle), ERR_NONE) << path;
        return FileHandleGuard(handle);
    }
};

TEST_F(FileTest, FailedOpensGiveTwoOrEightySevenAndLeaveTheHandle) {
    WString withZero = Wide(ten);
    withZero.push_back(u'\0');  // must not open "ten"
    const std::tuple<WString, std::uint32_t, ErrorCode> cases[] = {
        {Wide(env / "missing"), OPEN_EXISTING, ERR_FILE_NOT_FOUND}, {Wide(env / "gone"), OPEN_TRUNCATE, ERR_FILE_NOT_FOUND},
        {Wide(env / "gone"), 77, ERR_FILE_NOT_FOUND},  // an unknown disposition opens existing files only
        {Wide(env / "no/new"), OPEN_CREATE, ERR_FILE_NOT_FOUND}, {Wide(ten + "/x"), OPEN_CREATE, ERR_INVALID_PARAMETER},
        {withZero, OPEN_EXISTING, ERR_INVALID_PARAMETER}};
    for (const auto& [path, disposition, expected] : cases) {
        FileHandle handle = 1234;
        EXPECT_EQ(FileOpen(path, ACCESS_READ | ACCESS_WRITE, 0, disposition, &handle), expected) << disposition;
        EXPECT_EQ(FileLastError(), expected);
        EXPECT_EQ(handle, 1234);
    }
}

TEST_F(FileTest, DispositionsKeepCutOrCreate) {
    std::uint32_t count = 0;
    FileHandleGuard writeOnly = Open(ten, ACCESS_WRITE, OPEN_CREATE);
    EXPECT_EQ(FileRead(writeOnly.get(), &count, 1, &count), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileWrite(writeOnly.get(), "abc", 3, &count), ERR_NONE);
    writeOnly.reset();
    EXPECT_EQ(ReadBytes(ten), "abc3456789");
    Open(ten, ACCESS_WRITE, OPEN_TRUNCATE);
    EXPECT_EQ(ReadBytes(ten), "");
    const mode_t previous = ::umask(022);
    Open(env / "new", ACCESS_WRITE, OPEN_CREATE);
    ::umask(previous);
    struct stat status {};
    ASSERT_EQ(::stat((env / "new").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(FileTest, ReadStopsAtTheEndAndNeedsACountUnlessOverlapped) {
    FileHandleGuard file = Open(ten, 0);  // no write bit: read only
    char buffer[100] = {};
    std::uint32_t count = 99;
    EXPECT_EQ(FileWrite(file.get(), "zz", 2, &count), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileRead(file.get(), buffer, 4, nullptr), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileWrite(file.get(), "zz", 2, nullptr), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileLastError(), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileRead(file.get(), buffer, 4, nullptr, &count), ERR_NONE);  // does nothing
    EXPECT_EQ(FileWrite(file.get(), "zz", 2, nullptr, &count), ERR_NONE);
    EXPECT_EQ(FileRead(file.get(), buffer, 100, &count), ERR_NONE);
    EXPECT_EQ(std::string(buffer, count), "0123456789");
    EXPECT_EQ(FileRead(file.get(), buffer, 100, &count), ERR_NONE);
    EXPECT_EQ(count, 0u);
}

TEST_F(FileTest, SeekAndSetEndAndInvalidHandles) {
    FileHandleGuard file = Open(ten, ACCESS_READ | ACCESS_WRITE);
    EXPECT_EQ(FileSeek(file.get(), 0, nullptr, SEEK_FROM_END), 10u);
    EXPECT_EQ(FileSeek(file.get(), -1, nullptr, SEEK_FROM_BEGIN), 0xFFFFFFFFu);
    std::uint64_t high = 1;
    EXPECT_EQ(FileSeek(file.get(), 5, &high, SEEK_FROM_BEGIN), 5u);  // 4 GiB + 5
    EXPECT_EQ(high, 1u);
    EXPECT_EQ(FileSeek(file.get(), 2, nullptr, 99), 2u);  // an unknown method counts from the beginning
    EXPECT_EQ(FileSeek(file.get(), 1, nullptr, SEEK_FROM_CURRENT), 3u);
    EXPECT_EQ(FileSetEnd(file.get()), ERR_NONE);
    EXPECT_EQ(ReadBytes(ten), "012");
    EXPECT_EQ(FileSetEnd(INVALID_FILE_HANDLE), ERR_INVALID_HANDLE);
    EXPECT_EQ(FileSeek(INVALID_FILE_HANDLE, 0, nullptr, SEEK_FROM_END), 0xFFFFFFFFu);
    EXPECT_EQ(FileLastError(), ERR_INVALID_HANDLE);
    const FileHandle handle = file.release();
    EXPECT_EQ(FileClose(handle), ERR_NONE);
    EXPECT_EQ(FileLastError(), ERR_INVALID_HANDLE);  // a success keeps the last error
    EXPECT_EQ(FileClose(handle), ERR_INVALID_PARAMETER);
}

TEST_F(FileTest, SetTimesKeepsTheFractionAndAgeComparesWholeSeconds) {
    const FileTime stamp = FileTime::fromValue(FileTimeFromUnixSeconds(1500000000).value() + 1234567);
    FileHandleGuard file = Open(ten, ACCESS_WRITE);
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

}  // namespace
