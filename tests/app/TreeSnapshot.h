// What a person would compare after an installation: every entry below a
// directory with its kind, permission bits, modification time and content.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <string>

#include "launcher/ScratchDirectory.h"

namespace scratch {

struct EntryState {
    mode_t mode = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    std::string content;
    friend bool operator==(const EntryState&, const EntryState&) = default;
};
using TreeState = std::map<std::string, EntryState>;

inline void Capture(const std::string& root, const std::string& relative, TreeState& state) {
    const std::string path = root + relative;
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) return;
    EntryState entry{status.st_mode, status.st_mtim.tv_sec, status.st_mtim.tv_nsec, {}};
    if (S_ISREG(status.st_mode)) entry.content = ReadBytes(path);
    state[relative.empty() ? "." : relative] = entry;
    if (!S_ISDIR(status.st_mode)) return;
    for (const std::string& name : Names(path)) Capture(root, relative + "/" + name, state);
}

inline TreeState Snapshot(const std::string& root) {
    TreeState state;
    Capture(root, "", state);
    return state;
}

}  // namespace scratch
