// What Tab adds to a path typed at the directory question. The whole typed
// text is one path, blanks and all, cleaned as the answer will be ("~/",
// backslashes), and a relative path is taken from the working directory.
#pragma once

#include <string>
#include <vector>

struct PathCompletion {
    std::string insert;                   // to add at the end of the typed text
    std::vector<std::string> candidates;  // the names that fit, when more than one
};

// Completes the last component of `typed` (bytes in the locale's encoding)
// against the names in its directory: the longest continuation shared by
// every name that begins with it, a "/" after a single directory. Names
// beginning with a dot count only when the component does. Nothing is added
// where nothing fits or the directory cannot be read.
PathCompletion CompletePath(const std::string& typed);
