#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <tuple>

#include <gtest/gtest.h>

#include "launcher/ConfigFile.h"
#include "launcher/ScratchDirectory.h"

namespace {

using namespace scratch;

class ConfigFileTest : public ::testing::Test {
protected:
    ConfigEntryList Read(const std::string& bytes) {
        WriteBytes(env_ / "in.cfg", bytes);
        ConfigEntryList list;
        EXPECT_EQ(ReadConfigFile(Wide(env_ / "in.cfg"), list), WholeFileRead::kRead);
        return list;
    }

    // The code WriteConfigFile throws, 0 when it returns.
    int Write(const ConfigEntryList& list, const std::string& name = "out.cfg") try {
        WriteConfigFile(Wide(env_ / name), list);
        return 0;
    } catch (int code) {
        return code;
    }

    Environment env_;
};

const std::string kLongLine = std::string(3000, 'k') + "=" + std::string(5000, 'v') + "\n";

// (name, what is read, what is written back)
const std::tuple<const char*, std::string, std::string> kRewrites[] = {
    {"only empty lines", "\n\n\n", ""},
    {"the key ends at the first equals sign", "a=b=c\nlonely\n=value\n", "a=b=c\nlonely\n=value\n"},
    {"nothing trimmed", " k = v \n", " k = v \n"},
    {"key and value in any case", "Key=Val\nKEY=vAL\n", "Key=Val\n"},
    {"a key's values regrouped, each line its own spelling", "Key=a\nx=1\nkey=b\n", "Key=a\nkey=b\nx=1\n"},
    {"keys regrouped", "a=1\nb=2\n\na=3\nb=4\n", "a=1\na=3\nb=2\nb=4\n"},
    {"carriage returns kept, last line ended", "a=1\r\nb=2\r\nc=3", "a=1\r\nb=2\r\nc=3\n"},
    {"a byte-order mark belongs to the key", "\xEF\xBB\xBFk=v\nk=w\n", "\xEF\xBB\xBFk=v\nk=w\n"},
    {"long lines whole", kLongLine + "k=1\n", kLongLine + "k=1\n"},
    {"Latin-1 bytes", "Name=M\xFCller\nPfad=/home/\xE4\n", "Name=M\xFCller\nPfad=/home/\xE4\n"},
    {"values differing only in undecodable bytes", "k=a\xFF\nk=a\xFE\nk=a\xC3\n", "k=a\xFF\nk=a\xFE\nk=a\xC3\n"},
    {"an emoji and another character with the same low 16 bits", "k=\xF0\x9F\x98\x80\nk=\xF0\xAF\x98\x80\n",
     "k=\xF0\x9F\x98\x80\nk=\xF0\xAF\x98\x80\n"},
    {"a key spelled with undecodable bytes", "\xE4=1\n\xC4=2\nx=\xFF\r\n", "\xE4=1\n\xC4=2\nx=\xFF\r\n"},
    {"a multibyte character cut by the end of the file", "a=1\nb=\xE2\x82", "a=1\nb=\xE2\x82\n"},
};

// Every line read is written back with its own bytes, whatever the locale decodes; only grouping and repeats change.
TEST_F(ConfigFileTest, EveryLineReadIsWrittenBackWithItsOwnBytes) {
    for (const char* locale : {"C.UTF-8", "C"}) {
        setenv("LC_ALL", locale, 1);
        for (const auto& [name, input, rewritten] : kRewrites) {
            SCOPED_TRACE(std::string(locale) + ": " + name);
            EXPECT_EQ(Write(Read(input)), 0);
            EXPECT_EQ(ReadBytes(env_ / "out.cfg"), rewritten);
        }
    }
}

TEST_F(ConfigFileTest, ReplacingThroughSymbolicLinkKeepsLinkAndPermissionBits) {
    WriteBytes(env_ / "real.cfg", "old=1\n");
    ASSERT_EQ(chmod((env_ / "real.cfg").c_str(), 0604), 0);
    ASSERT_EQ(symlink("real.cfg", (env_ / "out.cfg").c_str()), 0);
    EXPECT_EQ(Write(Read("new=2\n")), 0);
    EXPECT_EQ(ReadBytes(env_ / "real.cfg"), "new=2\n");
    EXPECT_TRUE(std::filesystem::is_symlink(env_ / "out.cfg"));
    EXPECT_EQ(std::filesystem::status(env_ / "real.cfg").permissions(), static_cast<std::filesystem::perms>(0604));
}

// A file that already holds the bytes keeps its inode and times; one byte otherwise, and it is replaced.
TEST_F(ConfigFileTest, AFileAlreadyHoldingTheBytesIsLeftAsItIs) {
    const std::string path = env_ / "out.cfg";
    const auto identity = [&path] {
        struct stat status {};
        EXPECT_EQ(stat(path.c_str(), &status), 0);
        return std::tuple(status.st_ino, status.st_mtim.tv_sec, status.st_ctim.tv_sec, status.st_ctim.tv_nsec);
    };
    for (const auto& [held, written, replaced] : {std::tuple{"a=1\n", "a=1\n", false}, {"a=2\n", "a=1\n", true},
                                                   {"a=1\nb", "a=1\n", true}, {"a=1", "a=1\n", true}}) {
        SCOPED_TRACE(held);
        WriteBytes(path, held);
        const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
        const auto before = identity();
        EXPECT_EQ(Write(Read(written)), 0);
        EXPECT_EQ(ReadBytes(path), written);
        EXPECT_EQ(identity() != before, replaced);
    }
}

// Each failure leaves the old file whole, with no temporary file beside it.
TEST_F(ConfigFileTest, FailedWritesThrowTheirCodeAndLeaveTheOldFileWhole) {
    const std::string old = "first=1\nsecond=2\n";
    WriteBytes(env_ / "out.cfg", old);
    ASSERT_EQ(mkdir((env_ / "dir.cfg").c_str(), 0755), 0);
    EXPECT_EQ(Write(Read("a=1\n"), "dir.cfg"), 1);
    EXPECT_EQ(Write(Read("a=1\n"), "missing/out.cfg"), 1);

    const ConfigEntryList big = Read("key=" + std::string(100000, 'v') + "\n");
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small = {4096, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int code = Write(big);  // the file system is "full" after 4 KiB
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(code, 2);

    EXPECT_EQ(ReadBytes(env_ / "out.cfg"), old);
    EXPECT_EQ(Names(env_.root()), (std::vector<std::string>{"dir.cfg", "home", "in.cfg", "out.cfg", "tmp"}));
    EXPECT_EQ(Names(env_ / "dir.cfg"), std::vector<std::string>{});
}

}  // namespace
