// What a recorded template location names as a directory of this machine:
// the same cleaning for the proposal, for the probe and for telling two
// recorded spellings of one location apart.
#pragma once

#include "text/WString.h"

// Removes remote addresses and line breaks from a proposed directory: a
// location with "http://", "https://" or "ftp://" becomes empty; the first
// "file://" is dropped; every LF, then every CR, is removed.
void SanitizeTargetDirectory(WString& directory);

// The directory a recorded location stands for: every backslash turned into
// "/", then sanitised as above; empty for a remote location.
WString LocalDirectoryOf(const WString& recorded);
