// Replaces the whole content of a file in one step: the new bytes go into a
// temporary file beside it, which is then renamed over it. Whatever fails, the
// old file stays whole, and no temporary file is left behind.
#pragma once

#include <string>

// Replaces the content of `path` (8-bit form) by `content`. A symbolic link is
// followed: the file it points to is replaced and the link stays. An existing
// file keeps its permission bits; a new one gets 0666 less the umask.
// Throws int 1 when the temporary file cannot be created or put in place,
// int 2 when the content cannot be written.
void ReplaceFileContent(const std::string& path, const std::string& content);
