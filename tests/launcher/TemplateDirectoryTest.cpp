#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <tuple>

#include <gtest/gtest.h>

#include "launcher/LauncherConfig.h"
#include "launcher/ScratchDirectory.h"
#include "launcher/TemplateDirectory.h"
#include "launcher/TemplateLocations.h"

namespace {

using namespace scratch;

const std::string kKey = "ConfigurationTemplatesLocation=";

// One recorded template location as the launcher file holds it.
std::string Line(const std::string& location) { return kKey + location + "\n"; }

// Chooses and records as a successful installation does: the proposal and the launcher files left unrecorded.
std::pair<WString, std::vector<WString>> ChooseAndRecord() {
    TemplateDirectoryChoice c = ChooseTemplateDirectory();
    return {c.directory,
            RecordTemplateDirectory(c.directory, c.locations, c.alternativeFilePresent, c.locationsFromAlternative)};
}

class LauncherLocationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDirectories(usable_);
        WriteBytes(env_ / "plain", "a file");
        MakeDirectories(env_ / "t\uFFFD");  // what "~/t\xE4" would name decoded with a replacement mark
    }

    void Lay(const std::string& path, const std::string& content) {
        MakeDirectories(path.substr(0, path.rfind('/')));
        WriteBytes(path, content);
    }

    // "@default" stands for the default template directory, "@" for a usable directory, "~" for the scratch root.
    std::string Expand(std::string text) const {
        for (const auto& [what, by] : {std::pair{"@default", default_}, {"@", usable_}, {"~", env_.root()}}) {
            for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + by.size())) {
                text.replace(at, std::string(what).size(), by);
            }
        }
        return text;
    }

    Environment env_;
    const std::string usable_ = env_ / "usable";
    const std::string normal_ = env_.home() + "/.Vq/tavrilon/tavrilon.cfg";
    const std::string alternative_ = env_.home() + "/.Vq/tavrilont/tavrilon.cfg";
    const std::string default_ = env_.home() + "/.qorn/Vq/vq8/tmplts";
};

// What the launcher files hold before and after ("-": not there; the alternative file unless a case says so).
struct LauncherFiles {
    const char* name;
    std::string normal, proposal, normalAfter, alternative = "-", alternativeAfter = "-";
};

const LauncherFiles kLauncherFiles[] = {
    {"no file: the default, only the normal file is created", "-", "@default/", Line("@default")},
    {"only the alternative, with a location: written alone", "-", "@", "-", Line("@"), Line("@")},
    {"only the alternative, without one: both written", "-", "@default/", Line("@default"), "Other=1\n",
     "Other=1\n" + Line("@default")},
    {"both: the normal file's locations, both get the list", Line("@"), "@", Line("@"), Line("~/plain"), Line("@")},
    {"an emoji in another key and in a location", "Smile=\xF0\x9F\x98\x80\n" + Line("~/\xF0\x9F\x98\x80") + Line("@"),
     "@", "Smile=\xF0\x9F\x98\x80\n" + Line("@") + Line("~/\xF0\x9F\x98\x80")},
    {"CR LF line ends", "A=1\r\n" + kKey + "@\r\nB=\xE4\r\n", "@", "A=1\r\n" + kKey + "@\r\nB=\xE4\r\n"},
    {"CR LF ends on the locations only", "A=1\n" + kKey + "~/gone\r\n" + kKey + "@\r\n", "@",
     "A=1\n" + kKey + "@\n" + kKey + "~/gone\r\n"},
    {"a file:// location in a file of mixed line ends", kKey + "file://@\r\nZ=\xFF\nY=\xC3\r\n", "@",
     kKey + "@\r\nZ=\xFF\nY=\xC3\r\n"},
    {"backslashes, proposed with slashes and kept as written", Line("~\\gone\\") + Line("@\\"), "@/",
     Line("@") + Line("~\\gone\\")},
    {"locations that differ only in undecodable bytes, never proposed", Line("~/t\xE4") + Line("~/t\xFF") + Line("@"),
     "@", Line("@") + Line("~/t\xE4") + Line("~/t\xFF")},
    {"remote locations are not proposed", Line("http://@") + Line("ftp://x") + Line("@"), "@",
     Line("@") + Line("http://@") + Line("ftp://x")},
    {"the key in another case, kept in its spelling; other keys keep their order",
     "First=1\nconfigurationTemplatesLocation=~/gone\nMiddle=2\nconfigurationTemplatesLocation=@/\nFirst=3\n", "@/",
     "First=1\nFirst=3\nconfigurationTemplatesLocation=@\nconfigurationTemplatesLocation=~/gone\nMiddle=2\n"},
    {"unusable locations are skipped but written back", Line("~/plain/sub") + Line("~/missing/sub") + Line("@"), "@",
     Line("@") + Line("~/plain/sub") + Line("~/missing/sub")},
};

// The files decide the proposal and get the record; a rewrite leaves every other line alone.
TEST_F(LauncherLocationsTest, ProposalAndRecordFollowTheLauncherFilesAndKeepEveryOtherByte) {
    // The probe leaves no file behind and the folder's time alone.
    std::filesystem::last_write_time(usable_, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    const TreeState usable = Snapshot(usable_);
    for (const LauncherFiles& c : kLauncherFiles) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(env_.home() + "/.Vq"));
        if (c.normal != "-") Lay(normal_, Expand(c.normal));
        if (c.alternative != "-") Lay(alternative_, Expand(c.alternative));

        const auto [proposal, unrecorded] = ChooseAndRecord();
        EXPECT_EQ(Narrow(proposal), Expand(c.proposal));
        EXPECT_TRUE(unrecorded.empty());
        EXPECT_EQ(Snapshot(usable_), usable);
        EXPECT_EQ(Exists(normal_) ? ReadBytes(normal_) : "-", Expand(c.normalAfter));
        EXPECT_EQ(Exists(alternative_) ? ReadBytes(alternative_) : "-", Expand(c.alternativeAfter));
    }
}

// A run that only reads proposes the first recorded folder without creating a probe in it: its status-change
// time, which the probe's removal and the restored modification time would both move, stays as it was.
TEST_F(LauncherLocationsTest, ChoiceForReadingCreatesNothing) {
    Lay(normal_, Expand(Line("~/plain") + Line("~/missing") + Line("@")));
    struct stat before {};
    ASSERT_EQ(stat(usable_.c_str(), &before), 0);
    EXPECT_EQ(Narrow(ChooseTemplateDirectory(false).directory), usable_);
    struct stat after {};
    ASSERT_EQ(stat(usable_.c_str(), &after), 0);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}

// Duplicates by case, trailing "/" or in the shared file count once, the own file's first.
TEST_F(LauncherLocationsTest, SharedLocationsFollowTheOwnOnesOnce) {
    Lay(normal_, Line("\\data\\Templates") + Line("/DATA/templates/") + Line("/other"));
    Lay(env_.home() + "/.qorn//.Vq/tavrilon/tavrilon.cfg", Line("/other/") + Line("/shared"));
    std::vector<std::string> recorded;
    for (const ConfigValue& location : ChooseTemplateDirectory().locations) recorded.push_back(location.Bytes());
    EXPECT_EQ(recorded, (std::vector<std::string>{"\\data\\Templates", "/other", "/shared"}));
}

TEST_F(LauncherLocationsTest, FailedRecordingIsReportedAndFailedSaveThrows) {
    Lay(normal_, Line("/old"));
    std::vector<ConfigValue> locations;
    EXPECT_EQ(RecordTemplateDirectory(Wide("/bad\nInjected=1"), locations, false, false),
              std::vector<WString>{Wide(normal_)});
    EXPECT_EQ(ReadBytes(normal_), Line("/old"));

    const std::string blocker = env_.home() + "/.Vq/tavrilont";
    WriteBytes(blocker, "a file where the launcher directory belongs");
    EXPECT_THROW(SaveLauncherConfig(LauncherConfig{{}, {}, true}), int);  // the retry fails the same way
    EXPECT_EQ(ReadBytes(blocker), "a file where the launcher directory belongs");
}

// Chooses and records in a child (as nobody if `unprivileged`): 0 when the default was proposed and the launcher
// file reported unrecorded, -1 when it did not end by itself within ten seconds (a read waiting on a pipe).
int ChooseAndRecordInChild(bool unprivileged, const std::string& launcherFile) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);
        constexpr uid_t kNobody = 65534;
        if (unprivileged && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(100);
        }
        const auto [proposal, unrecorded] = ChooseAndRecord();
        _exit((proposal == DefaultTemplateDirectory() ? 0 : 1) |
              (unrecorded == std::vector<WString>{Wide(launcherFile)} ? 0 : 2));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What stands at the launcher path and cannot be read whole is neither waited on nor written.
TEST_F(LauncherLocationsTest, UnreadableLauncherFileIsNeitherWaitedOnNorWritten) {
    const std::string directory = normal_.substr(0, normal_.rfind('/'));
    // (name, unreadable only for lack of permission, how the launcher path is laid out)
    const std::tuple<const char*, bool, void (*)(const std::string&)> cases[] = {
        {"no permission", true, [](const std::string& path) { ASSERT_EQ(chmod(path.c_str(), 0), 0); }},
        {"named pipe", false, [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
        {"directory", false, [](const std::string& path) { MakeDirectories(path); }},
        {"link loop", false, [](const std::string& path) { ASSERT_EQ(symlink("tavrilon.cfg", path.c_str()), 0); }},
    };
    for (const auto& [name, noPermission, lay] : cases) {
        SCOPED_TRACE(name);
        RemoveTree(Wide(directory));
        MakeDirectories(directory);
        if (noPermission) {
            // Anyone may replace the file in its folder; only reading it is refused.
            Lay(normal_, "Secret=1\n" + Line(usable_));
            for (const std::string& path : {env_.root(), env_.home(), env_.home() + "/.Vq"}) chmod(path.c_str(), 0755);
            ASSERT_EQ(chmod(directory.c_str(), 0777), 0);
        }
        lay(normal_);
        const TreeState before = Snapshot(directory);
        EXPECT_EQ(ChooseAndRecordInChild(noPermission, normal_), 0);
        EXPECT_EQ(Snapshot(directory), before);
    }
}

}  // namespace
