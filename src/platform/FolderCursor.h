// Walking the files of one tree in an order that keeps folders together
// (the kit's order, a journal's, a record's): each folder is opened once
// for the consecutive paths in it, never through a link the caller did not
// allow.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/FolderBeneath.h"

class FolderCursor {
public:
    // `root` < 0 stands for a tree that is not there at all.
    FolderCursor(int root, std::span<const AllowedLink> links) : root_(root), links_(links) {}

    // The folder `folder` below the root, open until another folder is asked
    // for; -1 when it cannot be opened (error() says why).
    int At(std::string_view folder);
    // Why the last folder asked for could not be opened (ENOENT when there is no tree at all).
    int error() const;

private:
    int root_;
    std::span<const AllowedLink> links_;
    FolderDescriptor folder_;
    std::string path_;
    bool opened_ = false;
    int error_ = 0;
};
