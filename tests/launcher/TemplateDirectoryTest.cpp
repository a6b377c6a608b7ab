#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "launcher/LauncherConfig.h"
#include "launcher/ScratchDirectory.h"
#include "launcher/TemplateDirectory.h"
#include "launcher/TemplateLocations.h"

namespace {

using namespace scratch;

// One recorded template location as the launcher file holds it.
std::string Line(const std::string& location, const std::string& key = "ConfigurationTemplatesLocation") {
    return key + "=" + location + "\n";
}

std::string Replaced(std::string text, const std::string& what, const std::string& by) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + by.size())) {
        text.replace(at, what.size(), by);
    }
    return text;
}

timespec ModificationTime(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_mtim;
}

class LauncherLocationsTest : public ::testing::Test {
protected:
    // A directory in which files can be created.
    std::string Usable(const std::string& name) { return MakeDirectories(env_ / name), env_ / name; }

    void Lay(const std::string& path, const std::string& content) {
        MakeDirectories(path.substr(0, path.rfind('/')));
        WriteBytes(path, content);
    }

    // Chooses, then records the choice as after a successful installation;
    // the launcher files that were left without the record go to `unrecorded`.
    std::string ChooseAndRecord(std::vector<WString>* unrecorded = nullptr) {
        TemplateDirectoryChoice c = ChooseTemplateDirectory();
        const std::vector<WString> left =
            RecordTemplateDirectory(c.directory, c.locations, c.alternativeFilePresent, c.locationsFromAlternative);
        if (unrecorded != nullptr) *unrecorded = left;
        return Narrow(c.directory);
    }

    Environment env_;
    const std::string normal_ = env_.home() + "/.Vq/tavrilon/tavrilon.cfg";
    const std::string alternative_ = env_.home() + "/.Vq/tavrilont/tavrilon.cfg";
    const std::string default_ = env_.home() + "/.qorn/Vq/vq8/tmplts";
};

// Which launcher files are there and what they hold decides the proposal and
// which files get the record ("-" stands for a file that is not there).
TEST_F(LauncherLocationsTest, ProposalAndRecordFollowWhichLauncherFilesExist) {
    const struct {
        const char* name;
        std::string normal, alternative, proposal, normalAfter, alternativeAfter;
    } cases[] = {
        {"no file: the default, only the normal file is created", "-", "-", "@default/", Line("@default"), "-"},
        {"only the alternative, with a location: written alone", "-", Line("@alt"), "@alt", "-", Line("@alt")},
        {"only the alternative, without one: both written", "-", "Other=1\n", "@default/", Line("@default"),
         "Other=1\n" + Line("@default")},
        {"both: the normal file's locations, both get the list", Line("@normal"), Line("@alt"), "@normal",
         Line("@normal"), Line("@normal")},
    };
    Usable("normal"), Usable("alt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(Wide(env_.home() + "/.Vq"));
        const auto expand = [&](const std::string& text) {
            return Replaced(Replaced(text, "@default", default_), "@", env_.root() + "/");
        };
        if (c.normal != "-") Lay(normal_, expand(c.normal));
        if (c.alternative != "-") Lay(alternative_, expand(c.alternative));
        EXPECT_EQ(ChooseAndRecord(), expand(c.proposal));
        EXPECT_EQ(Exists(normal_) ? ReadBytes(normal_) : "-", expand(c.normalAfter));
        EXPECT_EQ(Exists(alternative_) ? ReadBytes(alternative_) : "-", expand(c.alternativeAfter));
    }
}

struct CraftedFile {
    const char* name;
    std::string before;    // "@" stands for a usable directory, "~" for the scratch root
    std::string proposal;  // the same
    std::string after;
};

const std::string kKey = "ConfigurationTemplatesLocation=";

const CraftedFile kCraftedFiles[] = {
    {"Latin-1 bytes", "Name=M\xFCller\n" + kKey + "@\nPfad=\xE4\xF6\n", "@", "Name=M\xFCller\n" + kKey + "@\nPfad=\xE4\xF6\n"},
    {"an emoji in another key and in a location", "Smile=\xF0\x9F\x98\x80\n" + kKey + "~/\xF0\x9F\x98\x80\n" + kKey + "@\n",
     "@", "Smile=\xF0\x9F\x98\x80\n" + kKey + "@\n" + kKey + "~/\xF0\x9F\x98\x80\n"},
    {"CR LF line ends", "A=1\r\n" + kKey + "@\r\nB=\xE4\r\n", "@", "A=1\r\n" + kKey + "@\r\nB=\xE4\r\n"},
    {"CR LF ends on the locations only", "A=1\n" + kKey + "~/gone\r\n" + kKey + "@\r\n", "@",
     "A=1\n" + kKey + "@\n" + kKey + "~/gone\r\n"},
    {"a file:// location in a file of mixed line ends", kKey + "file://@\r\nZ=\xFF\nY=\xC3\r\n", "@",
     kKey + "@\r\nZ=\xFF\nY=\xC3\r\n"},
    {"backslashes, proposed with slashes and kept as written", kKey + "~\\gone\\\n" + kKey + "@\\\n", "@/",
     kKey + "@\n" + kKey + "~\\gone\\\n"},
    {"locations that differ only in undecodable bytes", kKey + "~/t\xE4\n" + kKey + "~/t\xF6\n" + kKey + "@\n", "@",
     kKey + "@\n" + kKey + "~/t\xE4\n" + kKey + "~/t\xF6\n"},
    {"remote locations are not proposed", kKey + "http://@\n" + kKey + "ftp://x\n" + kKey + "@\n", "@",
     kKey + "@\n" + kKey + "http://@\n" + kKey + "ftp://x\n"},
};

// The probe leaves the folder's time alone, and a rewrite changes no line but
// the recorded ones.
TEST_F(LauncherLocationsTest, CraftedFilesComeBackByteForByteExceptTheRecordedLines) {
    const std::string usable = Usable("usable");
    const timespec past = {1234567890, 123456789};
    for (const CraftedFile& file : kCraftedFiles) {
        SCOPED_TRACE(file.name);
        const auto expand = [&](const std::string& text) { return Replaced(Replaced(text, "@", usable), "~", env_.root()); };
        Lay(normal_, expand(file.before));
        const timespec times[2] = {past, past};
        ASSERT_EQ(utimensat(AT_FDCWD, usable.c_str(), times, 0), 0);

        const TemplateDirectoryChoice choice = ChooseTemplateDirectory();
        EXPECT_EQ(Narrow(choice.directory), expand(file.proposal));
        const timespec probed = ModificationTime(usable);
        EXPECT_EQ(probed.tv_sec, past.tv_sec);
        EXPECT_EQ(probed.tv_nsec, past.tv_nsec);
        EXPECT_EQ(Names(usable), std::vector<std::string>{}) << "the probe file is gone";

        std::vector<ConfigValue> locations = choice.locations;
        EXPECT_EQ(RecordTemplateDirectory(choice.directory, locations, false, false), std::vector<WString>{});
        EXPECT_EQ(ReadBytes(normal_), expand(file.after));
    }
}

// Duplicates by case, trailing "/" or in the shared file count once, the own file's first.
TEST_F(LauncherLocationsTest, SharedLocationsFollowTheOwnOnesOnce) {
    Lay(normal_, Line("\\data\\Templates") + Line("/DATA/templates/") + Line("/other"));
    Lay(env_.home() + "/.qorn//.Vq/tavrilon/tavrilon.cfg", Line("/other/") + Line("/shared"));
    std::vector<std::string> recorded;
    for (const ConfigValue& location : ChooseTemplateDirectory().locations) recorded.push_back(location.Bytes());
    EXPECT_EQ(recorded, (std::vector<std::string>{"\\data\\Templates", "/other", "/shared"}));
}

TEST_F(LauncherLocationsTest, UnusableLocationIsSkippedButWrittenBack) {
    WriteBytes(env_ / "plain", "a file");
    const std::string underFile = env_ / "plain/sub", missing = env_ / "missing/sub", usable = Usable("usable");
    Lay(normal_, Line(underFile) + Line(missing) + Line(usable));
    EXPECT_EQ(ChooseAndRecord(), usable);
    EXPECT_EQ(ReadBytes(normal_), Line(usable) + Line(underFile) + Line(missing));
}

// Other keys keep their order; the recorded directory replaces an older spelling of itself.
TEST_F(LauncherLocationsTest, KeyInOtherCaseIsUpdatedInPlaceInItsOwnSpelling) {
    const std::string key = "configurationtemplateslocation";
    Lay(normal_, "First=1\n" + Line("/old", key) + "Middle=2\n" + Line("/Data/T/", key) + "First=3\nLast=\n");
    std::vector<ConfigValue> locations;
    ReadTemplateLocations(locations, false);
    RecordTemplateDirectory(Wide("/data/t/"), locations, false, false);
    EXPECT_EQ(ReadBytes(normal_), "First=1\nFirst=3\n" + Line("/data/t", key) + Line("/old", key) + "Middle=2\nLast=\n")
        << "other keys keep their order";
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

// What stands at the normal launcher path and cannot be read whole.
enum class Unreadable { kNoPermission, kNamedPipe, kDirectory, kLinkLoop };

// Runs the start and the recording in a child, as nobody when `unprivileged`
// and this process is root. The child's status holds 1 when the default was
// not proposed, 2 when the launcher file was not reported as unrecorded; -1
// when it did not end by itself within ten seconds (a read that waits on a pipe).
int ChooseAndRecordInChild(bool unprivileged, const std::string& launcherFile) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);
        constexpr uid_t kNobody = 65534;
        if (unprivileged && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(100);
        }
        TemplateDirectoryChoice c = ChooseTemplateDirectory();
        const std::vector<WString> left =
            RecordTemplateDirectory(c.directory, c.locations, c.alternativeFilePresent, c.locationsFromAlternative);
        const bool proposedDefault = c.directory == DefaultTemplateDirectory();
        _exit((proposedDefault ? 0 : 1) | (left == std::vector<WString>{Wide(launcherFile)} ? 0 : 2));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LauncherLocationsTest, UnreadableLauncherFileIsNeitherWaitedOnNorWritten) {
    const std::string directory = normal_.substr(0, normal_.rfind('/'));
    for (const Unreadable how : {Unreadable::kNoPermission, Unreadable::kNamedPipe, Unreadable::kDirectory,
                                 Unreadable::kLinkLoop}) {
        SCOPED_TRACE(static_cast<int>(how));
        RemoveTree(Wide(directory));
        MakeDirectories(directory);
        switch (how) {
            case Unreadable::kNoPermission:
                // Anyone may replace the file in its folder; only reading it is refused.
                Lay(normal_, "Secret=1\n" + Line(Usable("recorded")));
                for (const std::string& path : {env_.root(), env_.home(), env_.home() + "/.Vq"}) chmod(path.c_str(), 0755);
                ASSERT_EQ(chmod(directory.c_str(), 0777), 0);
                ASSERT_EQ(chmod(normal_.c_str(), geteuid() == 0 ? 0600 : 0200), 0);
                break;
            case Unreadable::kNamedPipe: ASSERT_EQ(mkfifo(normal_.c_str(), 0644), 0); break;
            case Unreadable::kDirectory: MakeDirectories(normal_); break;
            case Unreadable::kLinkLoop: ASSERT_EQ(symlink("tavrilon.cfg", normal_.c_str()), 0); break;
        }
        struct stat before {};
        ASSERT_EQ(lstat(normal_.c_str(), &before), 0);

        EXPECT_EQ(ChooseAndRecordInChild(how == Unreadable::kNoPermission, normal_), 0);

        struct stat after {};
        ASSERT_EQ(lstat(normal_.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        EXPECT_EQ(Names(directory), std::vector<std::string>{"tavrilon.cfg"});
        if (how == Unreadable::kNoPermission) {
            EXPECT_EQ(ReadBytes(normal_), "Secret=1\n" + Line(env_ / "recorded"));
        }
    }
}

}  // namespace
