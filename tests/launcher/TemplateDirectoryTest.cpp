#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/LauncherConfig.h"
#include "launcher/ScratchDirectory.h"
#include "launcher/TemplateDirectory.h"

namespace {

using scratch::Exists;
using scratch::Narrow;
using scratch::ReadBytes;
using scratch::Wide;
using scratch::WriteBytes;

constexpr const char* kKey = "ConfigurationTemplatesLocation";

std::vector<std::string> Narrowed(const std::vector<WString>& texts) {
    std::vector<std::string> out;
    for (const WString& text : texts) out.push_back(Narrow(text));
    return out;
}

class LauncherLocationsTest : public ::testing::Test {
protected:
    std::string Normal() const { return env_.home() + "/.Vq/tavrilon/tavrilon.cfg"; }
    std::string Alternative() const { return env_.home() + "/.Vq/tavrilont/tavrilon.cfg"; }
    std::string Shared() const { return env_.home() + "/.qorn//.Vq/tavrilon/tavrilon.cfg"; }
    std::string Default() const { return env_.home() + "/.qorn/Vq/vq8/tmplts/"; }

    // A directory in which files can be created.
    std::string Usable(const std::string& name) {
        const std::string path = env_.root() + "/" + name;
        scratch::MakeDirectories(path);
        return path;
    }

    void Lay(const std::string& path, const std::string& content) {
        scratch::MakeDirectories(path.substr(0, path.rfind('/')));
        WriteBytes(path, content);
    }

    // Chooses, then records the choice as after a successful installation.
    TemplateDirectoryChoice ChooseAndRecord() {
        TemplateDirectoryChoice choice = ChooseTemplateDirectory();
        RecordTemplateDirectory(choice.directory, choice.locations, choice.alternativeFilePresent,
                                choice.locationsFromAlternative);
        return choice;
    }

    scratch::Environment env_;
};

TEST_F(LauncherLocationsTest, PathsFollowTheHomeDirectory) {
    const std::string home = env_.home();
    EXPECT_EQ(Narrow(HomeDirectory()), home);
    EXPECT_EQ(Narrow(ProductUserDirectory()), home + "/.qorn/");
    EXPECT_EQ(Narrow(LauncherConfigDirectory(false)), home + "/.Vq/tavrilon");
    EXPECT_EQ(Narrow(LauncherConfigDirectory(true)), home + "/.Vq/tavrilont");
    EXPECT_EQ(Narrow(LauncherConfigPath(false)), Normal());
    EXPECT_EQ(Narrow(LauncherConfigPath(true)), Alternative());
    EXPECT_EQ(Narrow(SharedLauncherConfigPath(false)), Shared());
    EXPECT_EQ(Narrow(SharedLauncherConfigPath(true)), Normal());
    EXPECT_EQ(Narrow(DefaultTemplateBase()), home + "/.qorn/Vq/vq8/");
}

TEST_F(LauncherLocationsTest, HomeWithShellSyntaxIsTakenLiterally) {
    const std::string marker = env_.root() + "/ran";
    const std::string hostile = env_.root() + "/$(touch " + marker + ")`touch " + marker + "`";
    setenv("HOME", hostile.c_str(), 1);
    EXPECT_EQ(Narrow(HomeDirectory()), hostile);
    EXPECT_FALSE(Exists(marker));
}

TEST_F(LauncherLocationsTest, NoFileProposesDefaultAndCreatesOnlyNormalFile) {
    const TemplateDirectoryChoice choice = ChooseAndRecord();
    EXPECT_EQ(Narrow(choice.directory), Default());
    EXPECT_FALSE(choice.alternativeFilePresent);
    EXPECT_EQ(ReadBytes(Normal()), std::string(kKey) + "=" + env_.home() + "/.qorn/Vq/vq8/tmplts\n");
    EXPECT_FALSE(Exists(Alternative()));
    EXPECT_FALSE(Exists(env_.home() + "/.Vq/tavrilont"));
}

TEST_F(LauncherLocationsTest, OnlyAlternativeWithLocationsIsProposedAndWrittenAlone) {
    const std::string recorded = Usable("alt");
    Lay(Alternative(), std::string(kKey) + "=" + recorded + "\n");
    const TemplateDirectoryChoice choice = ChooseAndRecord();
    EXPECT_EQ(Narrow(choice.directory), recorded);
    EXPECT_TRUE(choice.locationsFromAlternative);
    EXPECT_FALSE(Exists(Normal()));
    EXPECT_EQ(ReadBytes(Alternative()), std::string(kKey) + "=" + recorded + "\n");
}

TEST_F(LauncherLocationsTest, OnlyAlternativeWithoutLocationsWritesBothFiles) {
    Lay(Alternative(), "Other=1\n");
    const TemplateDirectoryChoice choice = ChooseAndRecord();
    EXPECT_EQ(Narrow(choice.directory), Default());
    EXPECT_FALSE(choice.locationsFromAlternative);
    const std::string line = std::string(kKey) + "=" + env_.home() + "/.qorn/Vq/vq8/tmplts\n";
    EXPECT_EQ(ReadBytes(Normal()), line);
    EXPECT_EQ(ReadBytes(Alternative()), "Other=1\n" + line);
}

TEST_F(LauncherLocationsTest, BothFilesProposeNormalLocationsAndGetTheSameList) {
    const std::string normal = Usable("normal");
    const std::string alternative = Usable("alternative");
    Lay(Normal(), std::string(kKey) + "=" + normal + "\n");
    Lay(Alternative(), std::string(kKey) + "=" + alternative + "\n");
    const TemplateDirectoryChoice choice = ChooseAndRecord();
    EXPECT_EQ(Narrow(choice.directory), normal);
    EXPECT_EQ(ReadBytes(Normal()), std::string(kKey) + "=" + normal + "\n");
    EXPECT_EQ(ReadBytes(Alternative()), std::string(kKey) + "=" + normal + "\n");
}

TEST_F(LauncherLocationsTest, BackslashesBecomeSlashes) {
    const std::string recorded = Usable("with/inner");
    std::string written = recorded;
    std::replace(written.begin(), written.end(), '/', '\\');
    Lay(Normal(), std::string(kKey) + "=" + written + "\n");
    EXPECT_EQ(Narrow(ChooseTemplateDirectory().directory), recorded);
}

TEST_F(LauncherLocationsTest, DuplicatesByCaseTrailingSlashOrSharedFileCountOnce) {
    Lay(Normal(), std::string(kKey) + "=/data/Templates\n" + kKey + "=/DATA/templates/\n" + kKey + "=/other\n");
    Lay(Shared(), std::string(kKey) + "=/other/\n" + kKey + "=/shared\n");
    std::vector<WString> locations;
    ReadTemplateLocations(locations, false);
    EXPECT_EQ(Narrowed(locations), (std::vector<std::string>{"/data/Templates", "/other", "/shared"}));
}

TEST_F(LauncherLocationsTest, RemoveDuplicatePathsKeepsFirstSpellingInOrder) {
    std::vector<WString> paths = {Wide("/a"), Wide(""), Wide("/B/"), Wide("/A/"), Wide("/b"), Wide(""),
                                  Wide("c\\"), Wide("C\\"), Wide("/c")};
    RemoveDuplicatePaths(paths);
    EXPECT_EQ(Narrowed(paths), (std::vector<std::string>{"/a", "", "/B/", "c\\", "/c"}));
}

TEST_F(LauncherLocationsTest, UnusableLocationIsSkippedButWrittenBack) {
    WriteBytes(env_.root() + "/plain", "a file");
    const std::string underFile = env_.root() + "/plain/sub";
    const std::string missing = env_.root() + "/missing/sub";
    const std::string usable = Usable("usable");
    Lay(Normal(), std::string(kKey) + "=" + underFile + "\n" + kKey + "=" + missing + "\n" + kKey + "=" + usable + "\n");
    EXPECT_FALSE(CanCreateFileIn(Wide(underFile)));
    EXPECT_FALSE(CanCreateFileIn(Wide(missing)));
    const TemplateDirectoryChoice choice = ChooseAndRecord();
    EXPECT_EQ(Narrow(choice.directory), usable);
    EXPECT_EQ(ReadBytes(Normal()), std::string(kKey) + "=" + usable + "\n" + kKey + "=" + underFile + "\n" + kKey +
                                       "=" + missing + "\n");
    EXPECT_EQ(scratch::Names(usable), std::vector<std::string>{});
}

TEST_F(LauncherLocationsTest, OtherKeysKeepTheirOrderAndLocationsAreReplacedWhole) {
    const std::string used = Usable("used");
    Lay(Normal(), "First=1\n" + std::string(kKey) + "=/old\nMiddle=2\nFirst=3\nLast=\n");
    std::vector<WString> locations = {Wide("/new")};
    RecordTemplateDirectory(Wide(used + "/"), locations, false, false);
    EXPECT_EQ(ReadBytes(Normal()),
              "First=1\nFirst=3\n" + std::string(kKey) + "=" + used + "\n" + kKey + "=/new\nMiddle=2\nLast=\n");
}

TEST_F(LauncherLocationsTest, KeyInOtherCaseIsUpdatedInPlaceInItsOwnSpelling) {
    Lay(Normal(), "a=1\nconfigurationtemplateslocation=/old\nz=2\n");
    std::vector<WString> locations;
    ReadTemplateLocations(locations, false);
    ASSERT_EQ(Narrowed(locations), std::vector<std::string>{"/old"});
    RecordTemplateDirectory(Wide("/new/"), locations, false, false);
    EXPECT_EQ(ReadBytes(Normal()), "a=1\nconfigurationtemplateslocation=/new\nconfigurationtemplateslocation=/old\nz=2\n");
}

TEST_F(LauncherLocationsTest, RecordedDirectoryReplacesOlderSpellingOfItself) {
    Lay(Normal(), std::string(kKey) + "=/x\n" + kKey + "=/Data/T/\n");
    std::vector<WString> locations;
    ReadTemplateLocations(locations, false);
    RecordTemplateDirectory(Wide("/data/t/"), locations, false, false);
    EXPECT_EQ(ReadBytes(Normal()), std::string(kKey) + "=/data/t\n" + kKey + "=/x\n");
}

TEST_F(LauncherLocationsTest, FailedRecordingIsSwallowedAndLeavesFileWhole) {
    const std::string old = std::string(kKey) + "=/old\n";
    Lay(Normal(), old);
    std::vector<WString> locations;
    RecordTemplateDirectory(Wide("/bad\nInjected=1"), locations, false, false);
    EXPECT_EQ(ReadBytes(Normal()), old);
}

TEST_F(LauncherLocationsTest, SaveCreatesMissingDirectoryOfItsOwnFile) {
    LauncherConfig config;
    config.alternative = true;
    AddConfigValue(config.ownEntries, Wide("k"), Wide("v"));
    SaveLauncherConfig(config);
    EXPECT_EQ(ReadBytes(Alternative()), "k=v\n");
}

TEST_F(LauncherLocationsTest, SaveThatFailsTwicePropagatesTheCode) {
    WriteBytes(env_.home() + "/.Vq", "a file where the launcher directory belongs");
    LauncherConfig config;
    AddConfigValue(config.ownEntries, Wide("k"), Wide("v"));
    int code = 0;
    try {
        SaveLauncherConfig(config);
    } catch (int thrown) {
        code = thrown;
    }
    EXPECT_EQ(code, 1);
    EXPECT_EQ(ReadBytes(env_.home() + "/.Vq"), "a file where the launcher directory belongs");
}

}  // namespace
