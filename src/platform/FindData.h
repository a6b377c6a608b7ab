// Directory search with find-first / find-next over the system directory
// stream; the last path component may hold fnmatch wildcards.
#pragma once

#include <sys/stat.h>

#include <cstdint>

#include "text/WString.h"

struct __dirstream;

constexpr std::uint32_t ATTR_DIRECTORY = 16;

struct FindData {
    __dirstream* stream = nullptr;  // null while the search is closed
    AString pattern;
    AString directory;
    AString fullPath;
    AString name;
    struct stat status {};
};

void FindInit(FindData& find);
// True when a first match of `path` (wildcards in its last component) exists.
bool FindFirst(FindData& find, const WString& path);
bool FindNext(FindData& find);
// ATTR_DIRECTORY for a directory match, else 0 (also when closed).
std::uint32_t FindAttributes(const FindData& find);
WString FindName(const FindData& find);
void FindClose(FindData& find);

// 0 and the low 32 bits of the size, or 1 when the path cannot be examined.
int GetFileSizeByPath(const WString& path, std::uint32_t* size);
// 0 and the whole size, or 1.
int GetFileSizeByPath(const WString& path, std::uint64_t* size);

// Whether anything (file, directory, link) exists under exactly this path;
// the path is never treated as a pattern.
bool PathExists(const WString& path);
// Whether a directory (links followed) exists under exactly this path.
bool IsDirectory(const WString& path);
