// An installation test's scene: a scratch target, a kit built file by file, the user's files.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "kit/KitReader.h"
#include "kit/KitWriter.h"
#include "launcher/ScratchDirectory.h"

namespace scratch {

constexpr std::int64_t kKitSeconds = 1600000000;

inline void SetTime(const std::string& path, std::int64_t seconds, long nanoseconds = 0) {
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

class InstallFixture : public testing::Test {
protected:
    void SetUp() override {
        unsetenv("XDG_STATE_HOME");
        MakeDirectories(target_);
    }

    // Kit times carry a fraction of a second, as every real kit's do.
    void AddFile(const std::string& name, const std::string& data, std::int64_t seconds = kKitSeconds) {
        const FileTime time = FileTime::fromValue(FileTimeFromUnixSeconds(seconds).value() + 4567891);
        source_.files.push_back({Wide(name), time, data, WString()});
    }

    void OpenKit() {
        const WString kitPath = Wide(env_ / "qorn.efd");
        ASSERT_EQ(WriteKit(source_, kitPath), ERR_NONE);
        ASSERT_EQ(KitOpen(kit_, kitPath), ERR_NONE);
    }

    // A file of the user's own, with permissions and a time of its own.
    void UserFile(const std::string& relative, const std::string& content, std::int64_t seconds) {
        const std::string path = target_ + relative;
        MakeDirectories(path.substr(0, path.rfind('/')));
        WriteBytes(path, content);
        ASSERT_EQ(chmod(path.c_str(), 0604), 0);
        SetTime(path, seconds);
    }

    std::string JournalFolderPath() const { return env_.home() + "/.local/state/qorn-setup"; }

    Environment env_;
    const std::string target_ = env_ / "Templates/";
    KitSource source_;
    KitReader kit_;
};

}  // namespace scratch
