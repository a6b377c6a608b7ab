// The files of a directory to be packed: regular files only, found
// recursively, in byte order of their relative paths so that the same tree
// always gives the same kit.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct SourceFile {
    std::string relativePath;  // "/"-separated, relative to the root
    std::string fullPath;
    std::int64_t modificationTime = 0;  // POSIX seconds
    std::uint32_t modificationUnits = 0;  // and the 100-ns units below the second
};

struct SourceTree {
    std::vector<SourceFile> files;
    std::vector<std::string> warnings;  // skipped links and special files
};

// Walks `root` without following links. `excludeDevice`/`excludeInode`
// name one file to leave out (the kit being written), 0/0 for none. Returns
// false with `error` set when a directory cannot be read.
bool CollectSourceTree(const std::string& root, dev_t excludeDevice, ino_t excludeInode, SourceTree* tree,
                       std::string* error);
