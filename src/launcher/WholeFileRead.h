// Reading a small file whole, for a caller that must never act on half of
// it: a file that is missing is told apart from one that is there but cannot
// be read to its end, and nothing at the path can make the read wait.
#pragma once

#include <string>

enum class WholeFileRead {
    kRead,        // `content` holds every byte of a regular file
    kMissing,     // nothing at the path (or a folder on the way is missing)
    kUnreadable,  // something is there but could not be read whole: no permission, a read
                  // error, or not a regular file (a folder, named pipe, socket or device)
};

// Replaces `content` by the bytes of the file at `path` (8-bit form). A named
// pipe, socket or device is recognised before anything is read from it, so
// the call returns at once whatever stands at the path.
WholeFileRead ReadWholeFile(const std::string& path, std::string& content);
