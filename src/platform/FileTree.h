// Creating, moving and removing files and directory trees. No command line
// is ever built from a path: paths with quotes, "$" or newlines are just paths.
#pragma once

#include <string>
#include <vector>

#include "platform/ErrorCode.h"
#include "text/WString.h"

// Creates the directory with its missing parents: 0, or 2 when it cannot.
ErrorCode MakeDirectoryTree(const WString& path);
// Removes a file or a directory with everything in it; always 0.
ErrorCode RemoveTree(const WString& path);
// The same for a path already in the system's bytes.
void RemoveSystemTree(const std::string& path);
// Moves (renames, across file systems too): 0, or 2 when the source is
// missing or the move fails; 87 when the move cannot be attempted.
ErrorCode MovePath(const WString& source, const WString& destination);
// Removes one file; always 0.
ErrorCode RemoveFile(const WString& path);
// The names in the open folder `folder` (which stays open, its position
// untouched), without "." and ".."; false when it cannot be read.
bool ListFolderNames(int folder, std::vector<std::string>* names);
