#include "launcher/LauncherConfig.h"

#include <exception>

#include "launcher/ConfigFile.h"
#include "platform/FileTree.h"
#include "platform/FindData.h"

namespace {

constexpr int kCannotOpen = 1;

// Everything before the last "/" or backslash; a path without either whole.
WString DirectoryPart(const WString& path) {
    const WString::size_type slash = path.rfind(u'/');
    const WString::size_type backslash = path.rfind(u'\\');
    WString::size_type last = slash;
    if (last == WString::npos || (backslash != WString::npos && backslash > last)) last = backslash;
    return last == WString::npos ? path : path.substr(0, last);
}

WholeFileRead ReadIgnoringFailure(const WString& path, ConfigEntryList& list) {
    try {
        return ReadConfigFile(path, list);
    } catch (const std::exception&) {
        // A file that cannot be read contributes nothing; the other one still counts.
        return WholeFileRead::kUnreadable;
    }
}

void Append(const std::vector<ConfigValue>* values, std::vector<ConfigValue>& out) {
    if (values != nullptr) out.insert(out.end(), values->begin(), values->end());
}

}  // namespace

void LoadLauncherConfig(LauncherConfig& config) {
    // The shared file only lends values, so how it was found does not matter.
    (void)ReadIgnoringFailure(SharedLauncherConfigPath(config.alternative), config.sharedEntries);
    config.ownFile = ReadIgnoringFailure(LauncherConfigPath(config.alternative), config.ownEntries);
}

void SaveLauncherConfig(const LauncherConfig& config) {
    if (config.ownFile == WholeFileRead::kUnreadable) throw kCannotOpen;
    const WString path = LauncherConfigPath(config.alternative);
    // A failure to create the directory shows up as the write's own failure.
    if (!PathExists(path)) (void)MakeDirectoryTree(DirectoryPart(path));
    try {
        WriteConfigFile(path, config.ownEntries);
    } catch (int) {
        (void)MakeDirectoryTree(DirectoryPart(path));  // the retry reports its own failure
        WriteConfigFile(path, config.ownEntries);
    }
}

void CollectConfigValues(const LauncherConfig& config, const WString& key, std::vector<ConfigValue>& out) {
    Append(FindConfigValues(config.ownEntries, key), out);
    Append(FindConfigValues(config.sharedEntries, key), out);
}
