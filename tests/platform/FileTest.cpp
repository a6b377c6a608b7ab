#include "platform/File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <cstring>

#include "platform/ScratchDirectory.h"

using namespace testing_support;

namespace {

constexpr std::uint64_t kEpoch1970 = 11644473600ull * 10000000ull;

const bool kUtf8 = UseUtf8Locale();

class FileTest : public ::testing::Test {
protected:
    ScratchDirectory scratch;
    std::string tenBytes = scratch / "ten";
    void SetUp() override { WriteBytes(tenBytes, "0123456789"); }
};

TEST(FileTimeTest, ConvertsInWholeSeconds) {
    struct Case {
        std::int64_t seconds;
        std::uint64_t fileTime;
    };
    const Case cases[] = {{0, kEpoch1970}, {1, kEpoch1970 + 10000000}, {-11644473600, 0},
                          {1700000000, kEpoch1970 + 1700000000ull * 10000000ull}};
    for (const Case& c : cases) {
        EXPECT_EQ(FileTimeFromUnixSeconds(c.seconds).value(), c.fileTime) << c.seconds;
        EXPECT_EQ(UnixSecondsFromFileTime(FileTime::fromValue(c.fileTime)), c.seconds) << c.seconds;
    }
    EXPECT_EQ(UnixSecondsFromFileTime(FileTime::fromValue(kEpoch1970 + 9999999)), 0);
    const FileTime split = FileTime::fromValue(kEpoch1970);
    EXPECT_EQ(split.low, std::uint32_t(kEpoch1970));
    EXPECT_EQ(split.high, std::uint32_t(kEpoch1970 >> 32));
}

TEST_F(FileTest, OpenFailuresMapToTwoOrEightySeven) {
    struct Case {
        std::string path;
        std::uint32_t disposition;
        ErrorCode expected;
    };
    const Case cases[] = {
        {scratch / "missing", OPEN_EXISTING, ERR_FILE_NOT_FOUND},
        {scratch / "missing", OPEN_TRUNCATE, ERR_FILE_NOT_FOUND},
        {scratch / "missing", 77, ERR_FILE_NOT_FOUND},  // unknown disposition: existing only
        {scratch / "nodir/new", OPEN_CREATE, ERR_FILE_NOT_FOUND},
        {tenBytes + "/below-a-file", OPEN_CREATE, ERR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        FileHandle handle = 1234;
        EXPECT_EQ(FileOpen(W(c.path), ACCESS_READ | ACCESS_WRITE, 0, c.disposition, &handle), c.expected) << c.path;
        EXPECT_EQ(FileLastError(), c.expected) << c.path;
        EXPECT_EQ(handle, 1234) << "handle must stay untouched: " << c.path;
    }
}

TEST_F(FileTest, PathThatCannotReachTheSystemIntactIsRefused) {
    WString withZero = W(tenBytes);
    withZero.push_back(u'\0');
    withZero += u"x";
    FileHandle handle = INVALID_FILE_HANDLE;
    EXPECT_EQ(FileOpen(withZero, ACCESS_READ, 0, OPEN_EXISTING, &handle), ERR_INVALID_PARAMETER);
    EXPECT_EQ(handle, INVALID_FILE_HANDLE);
}

TEST_F(FileTest, AccessMaskChoosesReadAndWrite) {
    struct Case {
        std::uint32_t access;
        bool canRead;
        bool canWrite;
    };
    const Case cases[] = {{ACCESS_READ | ACCESS_WRITE, true, true},
                          {ACCESS_READ, true, false},
                          {0, true, false},
                          {ACCESS_WRITE, false, true},
                          {0x12345678 & ~ACCESS_WRITE, true, false}};
    for (const Case& c : cases) {
        FileHandleGuard file;
        ASSERT_EQ(FileOpen(W(tenBytes), c.access, 0, OPEN_EXISTING, file.out()), ERR_NONE);
        char byte = 0;
        std::uint32_t count = 0;
        EXPECT_EQ(FileRead(file.get(), &byte, 1, &count) == ERR_NONE, c.canRead) << std::hex << c.access;
        EXPECT_EQ(FileWrite(file.get(), "x", 1, &count) == ERR_NONE, c.canWrite) << std::hex << c.access;
    }
}

TEST_F(FileTest, CreateKeepsContentUntilSetEnd) {
    for (bool cut : {false, true}) {
        WriteBytes(tenBytes, "0123456789");
        FileHandleGuard file;
        ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_WRITE, 0, OPEN_CREATE, file.out()), ERR_NONE);
        std::uint32_t written = 0;
        ASSERT_EQ(FileWrite(file.get(), "abc", 3, &written), ERR_NONE);
        EXPECT_EQ(written, 3u);
        if (cut) {
            ASSERT_EQ(FileSetEnd(file.get()), ERR_NONE);
        }
        file.reset();
        EXPECT_EQ(ReadBytes(tenBytes), cut ? "abc" : "abc3456789");
    }
}

TEST_F(FileTest, CreateMakesMissingFileWithGroupAccessLessUmask) {
    const mode_t previous = ::umask(022);
    FileHandleGuard file;
    const ErrorCode result = FileOpen(W(scratch / "new"), ACCESS_WRITE, 0, OPEN_CREATE, file.out());
    ::umask(previous);
    ASSERT_EQ(result, ERR_NONE);
    struct stat status {};
    ASSERT_EQ(::stat((scratch / "new").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(FileTest, TruncateEmptiesExistingFile) {
    FileHandleGuard file;
    ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_WRITE, 0, OPEN_TRUNCATE, file.out()), ERR_NONE);
    file.reset();
    EXPECT_EQ(ReadBytes(tenBytes), "");
}

TEST_F(FileTest, ReadStopsAtEndWithoutError) {
    WriteBytes(tenBytes, std::string(30, 'r'));
    FileHandleGuard file;
    ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_READ, 0, OPEN_EXISTING, file.out()), ERR_NONE);
    char buffer[100];
    std::uint32_t count = 99;
    EXPECT_EQ(FileRead(file.get(), buffer, 100, &count), ERR_NONE);
    EXPECT_EQ(count, 30u);
    EXPECT_EQ(FileRead(file.get(), buffer, 100, &count), ERR_NONE);
    EXPECT_EQ(count, 0u);
    count = 7;
    EXPECT_EQ(FileRead(INVALID_FILE_HANDLE, buffer, 0, &count), ERR_NONE);  // no system call at all
    EXPECT_EQ(count, 0u);
}

TEST_F(FileTest, ReadAndWriteOptionalArguments) {
    FileHandleGuard file;
    ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_READ | ACCESS_WRITE, 0, OPEN_EXISTING, file.out()), ERR_NONE);
    char buffer[4] = {'k', 'k', 'k', 'k'};
    int overlapped = 0;
    EXPECT_EQ(FileRead(file.get(), buffer, 4, nullptr), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileLastError(), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileRead(file.get(), buffer, 4, nullptr, &overlapped), ERR_NONE);
    EXPECT_EQ(std::string(buffer, 4), "kkkk");
    EXPECT_EQ(FileWrite(file.get(), "zz", 2, nullptr), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileWrite(file.get(), "zz", 2, nullptr, &overlapped), ERR_NONE);
    file.reset();
    EXPECT_EQ(ReadBytes(tenBytes), "0123456789");
}

TEST(FileInvalidHandleTest, OperationsReportSix) {
    std::uint32_t count = 0;
    FileTime time;
    EXPECT_EQ(FileWrite(INVALID_FILE_HANDLE, "x", 1, &count), ERR_INVALID_HANDLE);
    EXPECT_EQ(FileLastError(), ERR_INVALID_HANDLE);
    EXPECT_EQ(FileGetTimes(INVALID_FILE_HANDLE, nullptr, nullptr, &time), ERR_INVALID_HANDLE);
    EXPECT_EQ(FileSetTimes(INVALID_FILE_HANDLE, nullptr, nullptr, &time), ERR_INVALID_HANDLE);
    EXPECT_EQ(FileSetEnd(INVALID_FILE_HANDLE), ERR_INVALID_HANDLE);
    EXPECT_EQ(FileSeek(INVALID_FILE_HANDLE, 0, nullptr, SEEK_FROM_END), 0xFFFFFFFFu);
    EXPECT_EQ(FileLastError(), ERR_INVALID_HANDLE);
}

TEST_F(FileTest, SeekPositionsAndFailsQuietly) {
    FileHandleGuard file;
    ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_READ, 0, OPEN_EXISTING, file.out()), ERR_NONE);
    EXPECT_EQ(FileSeek(file.get(), 0, nullptr, SEEK_FROM_END), 10u);
    EXPECT_EQ(FileSeek(file.get(), 4, nullptr, SEEK_FROM_BEGIN), 4u);
    EXPECT_EQ(FileSeek(file.get(), 2, nullptr, SEEK_FROM_CURRENT), 6u);
    EXPECT_EQ(FileSeek(file.get(), 3, nullptr, 99), 3u);  // unknown method counts from the beginning
    EXPECT_EQ(FileSeek(file.get(), -1, nullptr, SEEK_FROM_BEGIN), 0xFFFFFFFFu);
    EXPECT_EQ(FileLastError(), ERR_NONE);
    std::uint64_t high = 1;
    EXPECT_EQ(FileSeek(file.get(), 5, &high, SEEK_FROM_BEGIN), 5u);  // 4 GiB + 5, beyond the end
    EXPECT_EQ(high, 1u);
    high = 0;
    EXPECT_EQ(FileSeek(file.get(), -20, &high, SEEK_FROM_BEGIN), 0xFFFFFFFFu);
    EXPECT_EQ(high, 0xFFFFFFFFu);
}

TEST_F(FileTest, TimesFollowTheModificationTime) {
    struct timeval epoch[2] {};
    ASSERT_EQ(::utimes(tenBytes.c_str(), epoch), 0);
    FileHandleGuard file;
    ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_READ, 0, OPEN_EXISTING, file.out()), ERR_NONE);
    FileTime access, write;
    ASSERT_EQ(FileGetTimes(file.get(), nullptr, &access, &write), ERR_NONE);
    EXPECT_EQ(write.value(), kEpoch1970);
    EXPECT_EQ(access.value(), kEpoch1970);
}

TEST_F(FileTest, SetTimesDropsTheFractionSoTheFileLooksOlder) {
    const FileTime stamp = FileTime::fromValue(kEpoch1970 + 1500000000ull * 10000000ull + 1234567);
    {
        FileHandleGuard file;
        ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_WRITE, 0, OPEN_EXISTING, file.out()), ERR_NONE);
        ASSERT_EQ(FileSetTimes(file.get(), nullptr, nullptr, &stamp), ERR_NONE);
        EXPECT_EQ(FileSetTimes(file.get(), nullptr, nullptr, nullptr), ERR_INVALID_PARAMETER);
    }
    struct stat status {};
    ASSERT_EQ(::stat(tenBytes.c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1500000000);
    EXPECT_EQ(status.st_atime, 1500000000);
    EXPECT_TRUE(FileIsOlderThan(W(tenBytes), stamp));
    EXPECT_FALSE(FileIsOlderThan(W(tenBytes), FileTimeFromUnixSeconds(1500000000)));
    EXPECT_FALSE(FileIsOlderThan(W(tenBytes), FileTimeFromUnixSeconds(1400000000)));
    EXPECT_TRUE(FileIsOlderThan(W(scratch / "missing"), FileTimeFromUnixSeconds(0)));
}

TEST_F(FileTest, CloseKeepsLastErrorAndReportsBadHandle) {
    FileHandle handle = INVALID_FILE_HANDLE;
    ASSERT_EQ(FileOpen(W(tenBytes), ACCESS_READ, 0, OPEN_EXISTING, &handle), ERR_NONE);
    FileHandle unused = INVALID_FILE_HANDLE;
    ASSERT_EQ(FileOpen(W(scratch / "missing"), ACCESS_READ, 0, OPEN_EXISTING, &unused), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(FileClose(handle), ERR_NONE);
    EXPECT_EQ(FileLastError(), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(FileClose(handle), ERR_INVALID_PARAMETER);
    EXPECT_EQ(FileLastError(), ERR_INVALID_PARAMETER);
}

}  // namespace
