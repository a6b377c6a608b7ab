// Removes a temporary file when a multi-step operation fails part way,
// unless the operation succeeded and released it.
#pragma once

#include "platform/FileTree.h"
#include "text/WString.h"

class TemporaryFileGuard {
public:
    explicit TemporaryFileGuard(const WString& path) : path_(path) {}
    ~TemporaryFileGuard() {
        if (!released_ && !path_.empty()) (void)RemoveFile(path_);  // always 0 by contract
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    void release() { released_ = true; }

private:
    WString path_;
    bool released_ = false;
};
