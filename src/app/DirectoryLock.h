// A run's hold on one template directory, keyed on the directory's canonical
// path, so that it exists before the directory does: a lock file of the
// installer's own (named after a hash of the path, holding the path) in
// LockFolder(), opened for writing and flocked, which works on NFS and CIFS
// home folders as well. Runs into different directories, siblings too, go
// side by side; a run into a directory that holds, or lies inside, one a
// live run works in is refused, since either would plan over files the
// other is making. The hold ends with the object or the process.
#pragma once

#include <string>

#include "platform/ErrorCode.h"
#include "platform/FolderBeneath.h"

class DirectoryLock {
public:
    DirectoryLock() = default;
    ~DirectoryLock() { Release(); }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    // Takes the lock on `path` (absolute, canonical, no trailing "/" but for
    // "/") in `folder` (made when missing, private to the user). 0; ERR_BUSY
    // when a live run holds this very directory; ERR_NESTED_BUSY when one
    // holds a directory inside or around it; ERR_CANT_WRITE when the lock
    // file cannot be made.
    ErrorCode Acquire(const std::string& folder, const std::string& path);
    // Whether `path` is the held directory or lies inside it.
    bool Covers(const std::string& path) const;
    // Whether `path` holds the held directory (and is not it).
    bool IsInside(const std::string& path) const;
    // Removes the lock file while still holding it, then lets go.
    void Release();
    const std::string& path() const { return path_; }

private:
    FolderDescriptor folder_;
    FolderDescriptor file_;
    std::string name_;
    std::string path_;
};

// Whether a live run holds `path` in `folder` now; looks without making or
// taking anything, for a run that only reads the tree.
bool IsDirectoryLocked(const std::string& folder, const std::string& path);

// Where lock files live: beside the journal folder, so that a run that
// leaves no journal leaves nothing among journals; empty when no home is known.
std::string LockFolder();

// The canonical form of `anchor` (an existing folder) joined with
// `belowAnchor` (plain components, "" for none); empty when the anchor
// cannot be resolved.
std::string CanonicalDirectory(const std::string& anchor, const std::string& belowAnchor);
