// A private home and temporary directory for one test, and helpers to lay out, inspect and snapshot files in them.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FileTree.h"
#include "text/Convert.h"
#include "text/EnvironmentLocale.h"

namespace scratch {

inline std::string MakeTempDirectory() {
    std::string pattern = "/tmp/qorn-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    return pattern;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE((std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes).good()) << path;
}

// `size` bytes that hardly compress and differ with `seed`: a kit made of them is mostly its files' data, and a
// piece taken from the wrong place shows.
inline std::string Noise(std::size_t seed, std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = static_cast<std::uint32_t>(seed) * 2654435761u + 7;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 23);
    }
    return bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(std::filesystem::symlink_status(path)); }

inline std::string Narrow(const WString& text) { return ToAString(text).c_str(); }
inline WString Wide(const std::string& text) { return ToWString(text.c_str()); }
inline void MakeDirectories(const std::string& path) { ASSERT_EQ(MakeDirectoryTree(Wide(path)), 0u) << path; }

// Names in a directory, sorted; empty when it cannot be read.
inline std::vector<std::string> Names(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// An entry's kind and mode bits, time and (a file's) content.
struct EntryState {
    mode_t mode = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    std::string content;
    friend bool operator==(const EntryState&, const EntryState&) = default;
};
using TreeState = std::map<std::string, EntryState>;

// Each entry below `root` by its path from there, `root` itself as "".
inline TreeState Snapshot(const std::string& root) {
    TreeState state;
    const auto capture = [&](const std::string& path) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0) return;
        const std::string content = S_ISREG(status.st_mode) ? ReadBytes(path) : "";
        state[path.substr(root.size())] = {status.st_mode, status.st_mtim.tv_sec, status.st_mtim.tv_nsec, content};
    };
    capture(root);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ignored)) capture(entry.path());
    return state;
}

// HOME and TMPDIR at fresh directories and the locale at UTF-8 for the object's life; removed and restored after.
class Environment {
public:
    Environment() : root_(MakeTempDirectory()), home_(root_ + "/home"), temp_(root_ + "/tmp") {
        MakeDirectories(home_);
        MakeDirectories(temp_);
        for (const auto& [name, value] : {std::pair{"HOME", home_}, {"TMPDIR", temp_}, {"LC_ALL", "C.UTF-8"}}) {
            const char* old = getenv(name);
            saved_.emplace_back(name, old == nullptr ? std::nullopt : std::optional<std::string>(old));
            setenv(name, value.c_str(), 1);
        }
        ReloadEnvironmentLocale();
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        ReloadEnvironmentLocale();
        RemoveTree(Wide(root_));
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    const std::string& root() const { return root_; }
    const std::string& home() const { return home_; }
    const std::string& temp() const { return temp_; }
    std::string operator/(const std::string& name) const { return root_ + "/" + name; }

private:
    std::string root_, home_, temp_;
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace scratch
