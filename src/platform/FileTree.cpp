#include "platform/FileTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "platform/RunUtility.h"
#include "platform/SystemPath.h"

namespace {

struct DirectoryCloser {
    void operator()(DIR* stream) const { ::closedir(stream); }
};
using DirectoryStream = std::unique_ptr<DIR, DirectoryCloser>;

bool IsDirectoryPath(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string LastComponent(const std::string& path) {
    const std::string trimmed = WithoutTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

// Creates one directory level; an existing directory (or a link to one) is
// fine, anything else that stops the creation is a failure.
bool EnsureDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    return IsDirectoryPath(path);
}

std::vector<std::string> EntryNames(DIR* stream) {
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    return names;
}

void RemoveEntryAt(int parent, const char* name);

// Empties the directory open on `directory`, taking ownership of it.
void RemoveContents(int directory) {
    DirectoryStream stream(::fdopendir(directory));
    if (!stream) {
        ::close(directory);
        return;
    }
    for (const std::string& name : EntryNames(stream.get())) RemoveEntryAt(::dirfd(stream.get()), name.c_str());
}

// Removes one entry relative to `parent` without following links: a link
// to a directory elsewhere is removed as a link, never entered.
void RemoveEntryAt(int parent, const char* name) {
    struct stat status {};
    if (::fstatat(parent, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISDIR(status.st_mode)) {
        (void)::unlinkat(parent, name, 0);  // removal is best effort by contract
        return;
    }
    const int directory = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (directory >= 0) RemoveContents(directory);
    (void)::unlinkat(parent, name, AT_REMOVEDIR);  // removal is best effort by contract
}

// The working directory, its parent and the root are never removed as trees.
bool IsProtectedTree(const std::string& path) {
    const std::string last = LastComponent(path);
    return path.empty() || last.empty() || last == "." || last == "..";
}

ErrorCode MoveAcrossFileSystems(const std::string& source, const std::string& destination) {
    switch (RunUtility({"mv", "--", source, destination})) {
        case UtilityOutcome::Succeeded: return ERR_NONE;
        case UtilityOutcome::NotStarted: return ERR_INVALID_PARAMETER;
        case UtilityOutcome::Failed: break;
    }
    return ERR_FILE_NOT_FOUND;
}

}  // namespace

ErrorCode MakeDirectoryTree(const WString& path) {
    AString systemPath;
    if (!ToSystemPath(path, &systemPath) || systemPath.empty()) return ERR_FILE_NOT_FOUND;
    const std::string full = systemPath.c_str();
    for (std::size_t slash = full.find('/', 1); slash != std::string::npos; slash = full.find('/', slash + 1)) {
        if (full[slash - 1] == '/') continue;
        if (!EnsureDirectory(full.substr(0, slash))) return ERR_FILE_NOT_FOUND;
    }
    return EnsureDirectory(full) ? ERR_NONE : ERR_FILE_NOT_FOUND;
}

ErrorCode RemoveTree(const WString& path) {
    AString systemPath;
    if (ToSystemPath(path, &systemPath)) RemoveSystemTree(systemPath.c_str());
    return ERR_NONE;
}

void RemoveSystemTree(const std::string& path) {
    const std::string target = WithoutTrailingSlashes(path);
    if (!IsProtectedTree(target)) RemoveEntryAt(AT_FDCWD, target.c_str());
}

ErrorCode MovePath(const WString& source, const WString& destination) {
    AString systemSource;
    AString systemDestination;
    if (!ToSystemPath(source, &systemSource) || !ToSystemPath(destination, &systemDestination)) {
        return ERR_INVALID_PARAMETER;
    }
    const std::string from = systemSource.c_str();
    const std::string to = systemDestination.c_str();
    struct stat status {};
    if (from.empty() || to.empty() || ::lstat(from.c_str(), &status) != 0) return ERR_FILE_NOT_FOUND;
    // Like the mv utility: a destination that is a directory receives the
    // source under its own name.
    const std::string target = IsDirectoryPath(to) ? WithoutTrailingSlashes(to) + "/" + LastComponent(from) : to;
    if (::rename(from.c_str(), target.c_str()) == 0) return ERR_NONE;
    if (errno == EXDEV) return MoveAcrossFileSystems(from, to);
    return ERR_FILE_NOT_FOUND;
}

ErrorCode RemoveFile(const WString& path) {
    AString systemPath;
    if (ToSystemPath(path, &systemPath)) (void)::unlink(systemPath.c_str());  // never reports failure
    return ERR_NONE;
}

bool ListFolderNames(int folder, std::vector<std::string>* names) {
    // A descriptor of its own: the stream closes it, and reads from its own position.
    const int copy = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (copy < 0) return false;
    DirectoryStream stream(::fdopendir(copy));
    if (!stream) {
        ::close(copy);
        return false;
    }
    std::vector<std::string> found = EntryNames(stream.get());
    names->insert(names->end(), found.begin(), found.end());
    return true;
}
