#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include <gtest/gtest.h>

#include "launcher/ConfigFile.h"
#include "launcher/ScratchDirectory.h"

namespace {

using scratch::Narrow;
using scratch::ReadBytes;
using scratch::Wide;
using scratch::WriteBytes;

class ConfigFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return env_.root() + "/" + name; }

    ConfigEntryList Read(const std::string& bytes) {
        WriteBytes(Path("in.cfg"), bytes);
        ConfigEntryList list;
        ReadConfigFile(Wide(Path("in.cfg")), list);
        return list;
    }

    std::string Rewrite(const std::string& bytes) {
        WriteConfigFile(Wide(Path("out.cfg")), Read(bytes));
        return ReadBytes(Path("out.cfg"));
    }

    scratch::Environment env_;
};

struct RewriteCase {
    const char* name;
    std::string input;
    std::string rewritten;
};

class ConfigRewriteTest : public ConfigFileTest, public ::testing::WithParamInterface<RewriteCase> {};

TEST_P(ConfigRewriteTest, ReadThenWriteGivesExpectedLines) {
    EXPECT_EQ(Rewrite(GetParam().input), GetParam().rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Format, ConfigRewriteTest,
    ::testing::Values(
        RewriteCase{"Empty", "", ""},
        RewriteCase{"OnlyEmptyLines", "\n\n\n", ""},
        RewriteCase{"EqualsInValue", "a=b=c\n", "a=b=c\n"},
        RewriteCase{"NoEqualsSign", "lonely\n", "lonely=\n"},
        RewriteCase{"EmptyKey", "=value\n", "=value\n"},
        RewriteCase{"BlanksKept", " k = v \n", " k = v \n"},
        RewriteCase{"SameKeyAndValueInOtherCase", "Key=Val\nKEY=vAL\n", "Key=Val\n"},
        RewriteCase{"SameKeyOtherValues", "Key=a\nx=1\nkey=b\n", "Key=a\nKey=b\nx=1\n"},
        RewriteCase{"AlternatingKeysRegrouped", "a=1\nb=2\n\na=3\nb=4\n", "a=1\na=3\nb=2\nb=4\n"},
        RewriteCase{"CarriageReturnsKept", "a=1\r\nb=2\r\n", "a=1\r\nb=2\r\n"},
        RewriteCase{"LastLineWithoutLineFeed", "a=1\nb=2", "a=1\nb=2\n"},
        RewriteCase{"NonAsciiText", "Schl\xC3\xBC" "ssel=\xE2\x82\xAC\n", "Schl\xC3\xBC" "ssel=\xE2\x82\xAC\n"}),
    [](const ::testing::TestParamInfo<RewriteCase>& info) { return std::string(info.param.name); });

TEST_F(ConfigFileTest, KeyEndsAtFirstEqualsSignAndNothingIsTrimmed) {
    const ConfigEntryList list = Read(" k = v=w \r\n");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(Narrow(list[0].key), " k ");
    ASSERT_EQ(list[0].values.size(), 1u);
    EXPECT_EQ(Narrow(list[0].values[0]), " v=w \r");
}

TEST_F(ConfigFileTest, ByteOrderMarkBelongsToFirstKey) {
    const ConfigEntryList list = Read("\xEF\xBB\xBFk=v\nk=w\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(FindConfigValues(list, Wide("k"))->size(), 1u);
    EXPECT_EQ(Narrow(FindConfigValues(list, Wide("k"))->front()), "w");
}

TEST_F(ConfigFileTest, MissingFileLeavesListUnchanged) {
    ConfigEntryList list;
    AddConfigValue(list, Wide("kept"), Wide("1"));
    ReadConfigFile(Wide(Path("missing.cfg")), list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(Narrow(list[0].key), "kept");
}

TEST_F(ConfigFileTest, LongKeyAndValueAreReadWhole) {
    const std::string key(3000, 'k');
    const std::string value(5000, 'v');
    const ConfigEntryList list = Read(key + "=" + value + "\nnext=1\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(Narrow(list[0].key), key);
    EXPECT_EQ(Narrow(list[0].values[0]), value);
}

// Every way a multibyte character can straddle the 1024-byte read boundary.
TEST_F(ConfigFileTest, CharacterSplitBetweenReadsIsDecodedWhole) {
    const std::string characters[] = {"\xC3\xA9", "\xE2\x82\xAC"};
    for (const std::string& character : characters) {
        for (std::size_t before = 1024 - character.size() + 1; before <= 1024; ++before) {
            const std::string prefix = "k=" + std::string(before - 2, 'x');
            const ConfigEntryList list = Read(prefix + character + "y\n");
            ASSERT_EQ(list.size(), 1u);
            EXPECT_EQ(Narrow(list[0].values[0]), prefix.substr(2) + character + "y") << before;
        }
    }
}

TEST_F(ConfigFileTest, InvalidBytesBecomeOneReplacementEachAndNeighboursSurvive) {
    const ConfigEntryList list = Read("a=x\xFFy\xC3z\nb=\xE2\x82");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].values[0], WString(u"x\uFFFDy\uFFFDz"));
    EXPECT_EQ(list[1].values[0], WString(u"\uFFFD\uFFFD"));
}

TEST_F(ConfigFileTest, AddConfigValueRefusesValueHeldInAnyCase) {
    ConfigEntryList list;
    EXPECT_TRUE(AddConfigValue(list, Wide("Key"), Wide("Value")));
    EXPECT_FALSE(AddConfigValue(list, Wide("KEY"), Wide("vALUE")));
    EXPECT_TRUE(AddConfigValue(list, Wide("key"), Wide("other")));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(Narrow(list[0].key), "Key");
    EXPECT_EQ(list[0].values.size(), 2u);
}

TEST_F(ConfigFileTest, SetConfigValuesKeepsPlaceAndEmptyListWritesNoLine) {
    ConfigEntryList list = Read("a=1\nB=2\nc=3\n");
    SetConfigValues(list, Wide("b"), {Wide("x"), Wide("y")});
    SetConfigValues(list, Wide("c"), {});
    SetConfigValues(list, Wide("d"), {Wide("4")});
    WriteConfigFile(Wide(Path("out.cfg")), list);
    EXPECT_EQ(ReadBytes(Path("out.cfg")), "a=1\nB=x\nB=y\nd=4\n");
}

TEST_F(ConfigFileTest, RewriteKeepsPermissionBits) {
    WriteBytes(Path("out.cfg"), "old=1\n");
    ASSERT_EQ(chmod(Path("out.cfg").c_str(), 0604), 0);
    WriteConfigFile(Wide(Path("out.cfg")), Read("new=2\n"));
    struct stat status {};
    ASSERT_EQ(stat(Path("out.cfg").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_EQ(ReadBytes(Path("out.cfg")), "new=2\n");
}

TEST_F(ConfigFileTest, SymbolicLinkStaysAndItsTargetIsReplaced) {
    WriteBytes(Path("real.cfg"), "old=1\n");
    ASSERT_EQ(symlink("real.cfg", Path("link.cfg").c_str()), 0);
    WriteConfigFile(Wide(Path("link.cfg")), Read("new=2\n"));
    struct stat status {};
    ASSERT_EQ(lstat(Path("link.cfg").c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(ReadBytes(Path("real.cfg")), "new=2\n");
}

class ConfigWriteFailureTest : public ConfigFileTest {
protected:
    void SetUp() override { WriteBytes(Path("out.cfg"), kOld); }

    // The old file is whole and no temporary file was left beside it.
    void ExpectOldFileUntouched() {
        EXPECT_EQ(ReadBytes(Path("out.cfg")), kOld);
        EXPECT_EQ(scratch::Names(env_.root()), (std::vector<std::string>{"home", "in.cfg", "out.cfg", "tmp"}));
    }

    int WriteExpectingThrow(const ConfigEntryList& list) {
        try {
            WriteConfigFile(Wide(Path("out.cfg")), list);
        } catch (int code) {
            return code;
        }
        return 0;
    }

    const std::string kOld = "first=1\nsecond=2\n";
};

TEST_F(ConfigWriteFailureTest, FailedWriteLeavesOldFileWhole) {
    const ConfigEntryList list = Read("key=" + std::string(100000, 'v') + "\n");
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int code = WriteExpectingThrow(list);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(code, 2);
    ExpectOldFileUntouched();
}

TEST_F(ConfigWriteFailureTest, LineBreakInValueIsRefusedBeforeAnythingIsWritten) {
    ConfigEntryList list = Read("a=1\n");
    AddConfigValue(list, Wide("ConfigurationTemplatesLocation"), Wide("/x\nInjected=1"));
    EXPECT_EQ(WriteExpectingThrow(list), 2);
    ExpectOldFileUntouched();
}

TEST_F(ConfigWriteFailureTest, DirectoryInTheWayIsNotReplaced) {
    const ConfigEntryList list = Read("a=1\n");
    ASSERT_EQ(mkdir(Path("dir.cfg").c_str(), 0755), 0);
    WriteBytes(Path("dir.cfg") + "/inside", "kept");
    int code = 0;
    try {
        WriteConfigFile(Wide(Path("dir.cfg")), list);
    } catch (int thrown) {
        code = thrown;
    }
    EXPECT_EQ(code, 1);
    EXPECT_EQ(ReadBytes(Path("dir.cfg") + "/inside"), "kept");
    EXPECT_EQ(scratch::Names(env_.root()), (std::vector<std::string>{"dir.cfg", "home", "in.cfg", "out.cfg", "tmp"}));
}

TEST_F(ConfigWriteFailureTest, MissingDirectoryCannotBeOpened) {
    int code = 0;
    try {
        WriteConfigFile(Wide(Path("missing/out.cfg")), Read("a=1\n"));
    } catch (int thrown) {
        code = thrown;
    }
    EXPECT_EQ(code, 1);
    ExpectOldFileUntouched();
}

}  // namespace
