#include "platform/FolderCursor.h"

#include <cerrno>

#include "platform/Retried.h"

int FolderCursor::At(std::string_view folder) {
    if (root_ < 0) return -1;
    if (!opened_ || folder != path_) {
        folder_.reset();  // first: with few descriptors left, the next one may need its number
        folder_.reset(Retried([&] { return OpenFolderBeneath(root_, folder, links_); }));
        error_ = folder_.valid() ? 0 : errno;
        path_ = folder;
        opened_ = true;
    }
    return folder_.get();
}

int FolderCursor::error() const { return root_ < 0 ? ENOENT : error_; }
