#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

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
        ReadConfigFile(Wide(env_ / "in.cfg"), list);
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

TEST_F(ConfigFileTest, ReadThenWriteGivesExpectedLines) {
    const std::string longLine = std::string(3000, 'k') + "=" + std::string(5000, 'v') + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {"\n\n\n", ""},                                              // only empty lines
        {"a=b=c\nlonely\n=value\n", "a=b=c\nlonely=\n=value\n"},     // the key ends at the first "="
        {" k = v \n", " k = v \n"},                                  // nothing trimmed
        {"Key=Val\nKEY=vAL\n", "Key=Val\n"},                         // key and value in any case
        {"Key=a\nx=1\nkey=b\n", "Key=a\nKey=b\nx=1\n"},              // a key's values regrouped
        {"a=1\nb=2\n\na=3\nb=4\n", "a=1\na=3\nb=2\nb=4\n"},
        {"a=1\r\nb=2\r\nc=3", "a=1\r\nb=2\r\nc=3\n"},                // carriage returns kept, last line ends
        {"\xEF\xBB\xBFk=v\nk=w\n", "\xEF\xBB\xBFk=v\nk=w\n"},        // the byte-order mark belongs to the key
        {longLine + "k=1\n", longLine + "k=1\n"},
    };
    for (const auto& [input, rewritten] : cases) {
        SCOPED_TRACE(input.substr(0, 40));
        EXPECT_EQ(Write(Read(input)), 0);
        EXPECT_EQ(ReadBytes(env_ / "out.cfg"), rewritten);
    }
}

TEST_F(ConfigFileTest, MultibyteTextIsDecodedWholeAndBadBytesBecomeReplacements) {
    for (const std::string character : {"\xC3\xA9", "\xE2\x82\xAC"}) {  // straddling the 1024-byte read boundary
        for (std::size_t before = 1024 - character.size() + 1; before <= 1024; ++before) {
            const std::string value = std::string(before - 2, 'x') + character + "y";
            EXPECT_EQ(Narrow(Read("k=" + value + "\n").at(0).values.at(0)), value) << before;
        }
    }
    const ConfigEntryList list = Read("a=x\xFFy\xC3z\nb=\xE2\x82");
    EXPECT_EQ(list.at(0).values.at(0) + u"|" + list.at(1).values.at(0), WString(u"x\uFFFDy\uFFFDz|\uFFFD\uFFFD"));
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

// Each failure leaves the old file whole, with no temporary file beside it.
TEST_F(ConfigFileTest, FailedWritesThrowTheirCodeAndLeaveTheOldFileWhole) {
    const std::string old = "first=1\nsecond=2\n";
    WriteBytes(env_ / "out.cfg", old);
    ASSERT_EQ(mkdir((env_ / "dir.cfg").c_str(), 0755), 0);
    EXPECT_EQ(Write(Read("a=1\n"), "dir.cfg"), 1);
    EXPECT_EQ(Write(Read("a=1\n"), "missing/out.cfg"), 1);
    ConfigEntryList injected = Read("a=1\n");
    AddConfigValue(injected, Wide("ConfigurationTemplatesLocation"), Wide("/x\nInjected=1"));
    EXPECT_EQ(Write(injected), 2);

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
