// What is left of a kit's stream once its directory has been read: the open
// kit, its mapping, the inflater where the directory left it and the bytes it
// had already inflated past the directory. The files' data goes on from
// here, without inflating the directory again.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>

#include "kit/FileMapping.h"
#include "kit/RawInflater.h"
#include "platform/File.h"

struct KitTail {
    // Whether the kit file is still as it was when its directory was read:
    // a mapping of a file cut short since would end the process at a read.
    bool Unchanged() const;

    FileHandleGuard file;
    struct stat opened {};  // the kit file's status when it was opened
    std::unique_ptr<FileMapping> mapping;
    std::unique_ptr<RawInflater> inflater;  // reads the mapping: declared after it, so it goes first
    std::string unread;                     // inflated bytes that follow the directory
    std::uint64_t dataStart = 0;            // the image position of unread's first byte
    bool ended = false;                     // the inflater has reached the stream's end
};
