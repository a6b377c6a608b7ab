#include "platform/FindData.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include "platform/SystemPath.h"
#include "text/Convert.h"

namespace {

constexpr unsigned kDirectoryModeBit = 0x4000;

// The last slash of the path; a trailing slash counts as the last one.
AString::size_type LastSlash(const AString& path) {
    if (path.empty()) return AString::npos;
    if (path.back() == '/') return path.length() - 1;
    if (path.length() < 2) return AString::npos;
    return path.rfind('/', path.length() - 2);
}

void SplitSearchPath(FindData& find) {
    const AString::size_type slash = LastSlash(find.fullPath);
    if (slash == AString::npos) {
        find.directory = find.fullPath;
        find.pattern = find.fullPath;
        return;
    }
    find.directory = find.fullPath.substr(0, slash);
    find.pattern = find.fullPath.substr(slash + 1);
}

void CloseStream(FindData& find) {
    if (find.stream != nullptr) ::closedir(find.stream);
    find.stream = nullptr;
}

}  // namespace

void FindInit(FindData& find) {
    find.stream = nullptr;
    find.pattern.clear();
    find.directory.clear();
    find.fullPath.clear();
    find.name.clear();
    find.status = {};
}

bool FindFirst(FindData& find, const WString& path) {
    CloseStream(find);
    AString systemPath;
    if (!ToSystemPath(path, &systemPath)) return false;
    find.fullPath = systemPath;
    SplitSearchPath(find);
    find.stream = ::opendir(find.directory.c_str());
    if (find.stream == nullptr) return false;
    return FindNext(find);
}

bool FindNext(FindData& find) {
    if (find.stream == nullptr) return false;
    for (;;) {
        const dirent* entry = ::readdir(find.stream);
        if (entry == nullptr) {
            CloseStream(find);
            return false;
        }
        const int match = ::fnmatch(find.pattern.c_str(), entry->d_name, FNM_NOESCAPE);
        if (match == FNM_NOMATCH) continue;
        if (match != 0) return false;
        find.name = entry->d_name;
        const AString matchPath = find.directory + "/" + find.name;
        return ::stat(matchPath.c_str(), &find.status) == 0;
    }
}

std::uint32_t FindAttributes(const FindData& find) {
    if (find.stream == nullptr) return 0;
    return (find.status.st_mode & kDirectoryModeBit) ? ATTR_DIRECTORY : 0;
}

WString FindName(const FindData& find) {
    if (find.stream == nullptr) return WString();
    return ToWString(find.name);
}

void FindClose(FindData& find) {
    CloseStream(find);
    FindInit(find);
}

int GetFileSizeByPath(const WString& path, std::uint64_t* size) {
    AString systemPath;
    struct stat status {};
    if (size == nullptr || !ToSystemPath(path, &systemPath) || ::stat(systemPath.c_str(), &status) != 0) return 1;
    *size = static_cast<std::uint64_t>(status.st_size);
    return 0;
}

int GetFileSizeByPath(const WString& path, std::uint32_t* size) {
    std::uint64_t wholeSize = 0;
    if (size == nullptr || GetFileSizeByPath(path, &wholeSize) != 0) return 1;
    *size = static_cast<std::uint32_t>(wholeSize);
    return 0;
}

bool PathExists(const WString& path) {
    AString systemPath;
    struct stat status {};
    return ToSystemPath(path, &systemPath) && ::lstat(systemPath.c_str(), &status) == 0;
}

bool IsDirectory(const WString& path) {
    AString systemPath;
    struct stat status {};
    return ToSystemPath(path, &systemPath) && ::stat(systemPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
