// One launcher configuration: its own file, the only one ever written, and a
// shared file consulted beside it, loaded and saved as a whole.
#pragma once

#include <vector>

#include "launcher/ConfigEntryList.h"
#include "launcher/LauncherPaths.h"
#include "launcher/WholeFileRead.h"
#include "text/WString.h"

struct LauncherConfig {
    ConfigEntryList ownEntries;     // from LauncherConfigPath(alternative)
    ConfigEntryList sharedEntries;  // from SharedLauncherConfigPath(alternative)
    bool alternative = false;       // the alternative launcher directory ".Vq/tavrilont"
    WholeFileRead ownFile = WholeFileRead::kMissing;  // how the own file was found by LoadLauncherConfig
};

// Reads both files of the config's mode; a missing or unreadable file adds
// nothing, and `ownFile` tells which the own one was.
void LoadLauncherConfig(LauncherConfig& config);
// Replaces the own file by `ownEntries`, creating its directory when the file
// is missing; after a failure, creates the directory and tries once more.
// Throws int 1 or 2 when the second attempt fails; the old file stays whole.
// Throws int 1 at once, touching nothing, when the own file was there but
// could not be read whole: writing it would lose what could not be read.
void SaveLauncherConfig(const LauncherConfig& config);
// Appends the key's values from the own, then the shared entries to `out`;
// a value both files hold comes twice (RemoveDuplicatePaths drops the second).
void CollectConfigValues(const LauncherConfig& config, const WString& key, std::vector<ConfigValue>& out);
