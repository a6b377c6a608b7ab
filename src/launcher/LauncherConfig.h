// One launcher configuration: its own file, the only one ever written, and a
// shared file consulted beside it, loaded and saved as a whole.
#pragma once

#include <vector>

#include "launcher/ConfigEntryList.h"
#include "launcher/LauncherPaths.h"
#include "launcher/TemplateLocations.h"
#include "text/WString.h"

struct LauncherConfig {
    ConfigEntryList ownEntries;     // from LauncherConfigPath(alternative)
    ConfigEntryList sharedEntries;  // from SharedLauncherConfigPath(alternative)
    bool alternative = false;       // the alternative launcher directory ".Vq/tavrilont"
};

// Reads both files of the config's mode; a missing or unreadable file adds nothing.
void LoadLauncherConfig(LauncherConfig& config);
// Replaces the own file by `ownEntries`, creating its directory when the file
// is missing; after a failure, creates the directory and tries once more.
// Throws int 1 or 2 when the second attempt fails; the old file stays whole.
void SaveLauncherConfig(const LauncherConfig& config);
// Appends the key's values from the own, then the shared entries to `out`,
// each text once (compared without regard to letter case).
void CollectConfigValues(const LauncherConfig& config, const WString& key, std::vector<WString>& out);
