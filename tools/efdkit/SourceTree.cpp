#include "SourceTree.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "kit/KitEntryName.h"

namespace {

struct DirectoryCloser {
    void operator()(DIR* stream) const { ::closedir(stream); }
};

struct Walk {
    std::string root;
    dev_t excludeDevice;
    ino_t excludeInode;
    SourceTree* tree;
    std::string* error;
};

std::string Join(const std::string& directory, const std::string& name) {
    return directory.empty() ? name : directory + "/" + name;
}

bool WalkDirectory(Walk& walk, const std::string& relative);

bool VisitEntry(Walk& walk, const std::string& relative) {
    const std::string full = walk.root + "/" + relative;
    struct stat status {};
    if (::lstat(full.c_str(), &status) != 0) {
        *walk.error = "cannot examine " + full;
        return false;
    }
    if (S_ISDIR(status.st_mode)) return WalkDirectory(walk, relative);
    if (S_ISLNK(status.st_mode)) {
        walk.tree->warnings.push_back("skipped symbolic link " + relative);
    } else if (!S_ISREG(status.st_mode)) {
        walk.tree->warnings.push_back("skipped special file " + relative);
    } else if (status.st_dev != walk.excludeDevice || status.st_ino != walk.excludeInode) {
        walk.tree->files.push_back({relative, full, static_cast<std::int64_t>(status.st_mtim.tv_sec),
                                     static_cast<std::uint32_t>(status.st_mtim.tv_nsec / 100)});
    }
    return true;
}

bool WalkDirectory(Walk& walk, const std::string& relative) {
    const std::string full = relative.empty() ? walk.root : walk.root + "/" + relative;
    std::unique_ptr<DIR, DirectoryCloser> stream(::opendir(full.c_str()));
    if (!stream) {
        *walk.error = "cannot read directory " + full;
        return false;
    }
    while (const dirent* entry = ::readdir(stream.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        // An installed template directory packed again: its record describes
        // that installation, and no kit may carry one.
        if (relative.empty() && name == kRecordFolder) {
            walk.tree->warnings.push_back(std::string("skipped the installer's record folder ") + kRecordFolder);
            continue;
        }
        if (!VisitEntry(walk, Join(relative, name))) return false;
    }
    return true;
}

}  // namespace

bool CollectSourceTree(const std::string& root, dev_t excludeDevice, ino_t excludeInode, SourceTree* tree,
                       std::string* error) {
    Walk walk{root, excludeDevice, excludeInode, tree, error};
    if (!WalkDirectory(walk, "")) return false;
    std::sort(tree->files.begin(), tree->files.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.relativePath < b.relativePath; });
    return true;
}
