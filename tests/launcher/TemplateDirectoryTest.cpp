#include <gtest/gtest.h>

#include "launcher/LauncherConfig.h"
#include "launcher/ScratchDirectory.h"
#include "launcher/TemplateDirectory.h"

namespace {

using namespace scratch;

// One recorded template location as the launcher file holds it.
std::string Line(const std::string& location, const std::string& key = "ConfigurationTemplatesLocation") {
    return key + "=" + location + "\n";
}

class LauncherLocationsTest : public ::testing::Test {
protected:
    // A directory in which files can be created.
    std::string Usable(const std::string& name) { return MakeDirectories(env_ / name), env_ / name; }

    void Lay(const std::string& path, const std::string& content) {
        MakeDirectories(path.substr(0, path.rfind('/')));
        WriteBytes(path, content);
    }

    // Chooses, then records the choice as after a successful installation.
    std::string ChooseAndRecord() {
        TemplateDirectoryChoice c = ChooseTemplateDirectory();
        RecordTemplateDirectory(c.directory, c.locations, c.alternativeFilePresent, c.locationsFromAlternative);
        return Narrow(c.directory);
    }

    Environment env_;
    const std::string normal_ = env_.home() + "/.Vq/tavrilon/tavrilon.cfg";
    const std::string alternative_ = env_.home() + "/.Vq/tavrilont/tavrilon.cfg";
    const std::string default_ = env_.home() + "/.qorn/Vq/vq8/tmplts";
};

TEST_F(LauncherLocationsTest, NoFileProposesDefaultAndCreatesOnlyNormalFile) {
    EXPECT_EQ(ChooseAndRecord(), default_ + "/");
    EXPECT_EQ(ReadBytes(normal_), Line(default_));
    EXPECT_FALSE(Exists(env_.home() + "/.Vq/tavrilont"));
}

TEST_F(LauncherLocationsTest, OnlyAlternativeWithLocationsIsProposedAndWrittenAlone) {
    Lay(alternative_, Line(Usable("alt")));
    EXPECT_EQ(ChooseAndRecord(), env_ / "alt");
    EXPECT_FALSE(Exists(normal_));
    EXPECT_EQ(ReadBytes(alternative_), Line(env_ / "alt"));
}

TEST_F(LauncherLocationsTest, OnlyAlternativeWithoutLocationsWritesBothFiles) {
    Lay(alternative_, "Other=1\n");
    EXPECT_EQ(ChooseAndRecord(), default_ + "/");
    EXPECT_EQ(ReadBytes(normal_), Line(default_));
    EXPECT_EQ(ReadBytes(alternative_), "Other=1\n" + Line(default_));
}

TEST_F(LauncherLocationsTest, BothFilesProposeNormalLocationsAndGetTheSameList) {
    Lay(normal_, Line(Usable("normal")));
    Lay(alternative_, Line(Usable("alternative")));
    EXPECT_EQ(ChooseAndRecord(), env_ / "normal");
    EXPECT_EQ(ReadBytes(normal_), Line(env_ / "normal"));
    EXPECT_EQ(ReadBytes(alternative_), Line(env_ / "normal"));
}

// Backslashes become slashes; duplicates by case, trailing "/" or in the shared file count once.
TEST_F(LauncherLocationsTest, RecordedLocationsAreCleaned) {
    Lay(normal_, Line("\\data\\Templates") + Line("/DATA/templates/") + Line("/other"));
    Lay(env_.home() + "/.qorn//.Vq/tavrilon/tavrilon.cfg", Line("/other/") + Line("/shared"));
    const std::vector<WString> cleaned = {Wide("/data/Templates"), Wide("/other"), Wide("/shared")};
    EXPECT_EQ(ChooseTemplateDirectory().locations, cleaned);
}

TEST_F(LauncherLocationsTest, UnusableLocationIsSkippedButWrittenBack) {
    WriteBytes(env_ / "plain", "a file");
    const std::string underFile = env_ / "plain/sub", missing = env_ / "missing/sub", usable = Usable("usable");
    Lay(normal_, Line(underFile) + Line(missing) + Line(usable));
    EXPECT_EQ(ChooseAndRecord(), usable);
    EXPECT_EQ(ReadBytes(normal_), Line(usable) + Line(underFile) + Line(missing));
    EXPECT_EQ(Names(usable), std::vector<std::string>{});  // the probe file is gone
}

// Other keys keep their order; the recorded directory replaces an older spelling of itself.
TEST_F(LauncherLocationsTest, KeyInOtherCaseIsUpdatedInPlaceInItsOwnSpelling) {
    const std::string key = "configurationtemplateslocation";
    Lay(normal_, "First=1\n" + Line("/old", key) + "Middle=2\n" + Line("/Data/T/", key) + "First=3\nLast=\n");
    std::vector<WString> locations;
    ReadTemplateLocations(locations, false);
    RecordTemplateDirectory(Wide("/data/t/"), locations, false, false);
    EXPECT_EQ(ReadBytes(normal_), "First=1\nFirst=3\n" + Line("/data/t", key) + Line("/old", key) + "Middle=2\nLast=\n")
        << "other keys keep their order";
}

TEST_F(LauncherLocationsTest, FailedRecordingIsSwallowedAndFailedSaveThrows) {
    Lay(normal_, Line("/old"));
    std::vector<WString> locations;
    RecordTemplateDirectory(Wide("/bad\nInjected=1"), locations, false, false);
    EXPECT_EQ(ReadBytes(normal_), Line("/old"));

    const std::string blocker = env_.home() + "/.Vq/tavrilont";
    WriteBytes(blocker, "a file where the launcher directory belongs");
    EXPECT_THROW(SaveLauncherConfig(LauncherConfig{{}, {}, true}), int);  // the retry fails the same way
    EXPECT_EQ(ReadBytes(blocker), "a file where the launcher directory belongs");
}

}  // namespace
