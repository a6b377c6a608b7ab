// A private home and temporary directory for one test, removed afterwards,
// with small helpers to lay out and inspect files in them.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FileTree.h"
#include "text/Convert.h"

namespace scratch {

inline std::string MakeTempDirectory() {
    std::string pattern = "/tmp/qorn-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    return pattern;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline bool Exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

inline void MakeDirectories(const std::string& path) {
    ASSERT_EQ(MakeDirectoryTree(ToWString(path.c_str())), 0u) << path;
}

// Names in a directory, "." and ".." left out, sorted.
inline std::vector<std::string> Names(const std::string& directory) {
    std::vector<std::string> names;
    if (DIR* stream = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(stream)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(stream);
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline std::string Narrow(const WString& text) { return ToAString(text).c_str(); }
inline WString Wide(const std::string& text) { return ToWString(text.c_str()); }

// Points HOME and TMPDIR at fresh directories and the locale at UTF-8 for the
// life of the object, restoring them afterwards.
class Environment {
public:
    Environment() : root_(MakeTempDirectory()) {
        Save("HOME");
        Save("TMPDIR");
        Save("LC_ALL");
        home_ = root_ + "/home";
        temp_ = root_ + "/tmp";
        MakeDirectories(home_);
        MakeDirectories(temp_);
        setenv("HOME", home_.c_str(), 1);
        setenv("TMPDIR", temp_.c_str(), 1);
        setenv("LC_ALL", "C.UTF-8", 1);
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value.first) setenv(name.c_str(), value.second.c_str(), 1);
            else unsetenv(name.c_str());
        }
        RemoveTree(ToWString(root_.c_str()));
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    const std::string& root() const { return root_; }
    const std::string& home() const { return home_; }
    const std::string& temp() const { return temp_; }

private:
    void Save(const char* name) {
        const char* value = getenv(name);
        saved_.push_back({name, {value != nullptr, value != nullptr ? value : ""}});
    }

    std::string root_;
    std::string home_;
    std::string temp_;
    std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved_;
};

}  // namespace scratch
