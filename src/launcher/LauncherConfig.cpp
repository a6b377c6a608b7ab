#include "launcher/LauncherConfig.h"

#include <exception>
#include <set>

#include "launcher/ConfigFile.h"
#include "platform/FileTree.h"
#include "platform/FindData.h"
#include "text/Convert.h"

namespace {

struct NoCaseLess {
    bool operator()(const WString& a, const WString& b) const { return CompareNoCase(a, b) < 0; }
};

// Everything before the last "/" or backslash; a path without either whole.
WString DirectoryPart(const WString& path) {
    const WString::size_type slash = path.rfind(u'/');
    const WString::size_type backslash = path.rfind(u'\\');
    WString::size_type last = slash;
    if (last == WString::npos || (backslash != WString::npos && backslash > last)) last = backslash;
    return last == WString::npos ? path : path.substr(0, last);
}

void ReadIgnoringFailure(const WString& path, ConfigEntryList& list) {
    try {
        ReadConfigFile(path, list);
    } catch (const std::exception&) {
        // A file that cannot be read contributes nothing; the other one still counts.
    }
}

void AppendNew(const std::vector<WString>* values, std::set<WString, NoCaseLess>& seen, std::vector<WString>& out) {
    if (values == nullptr) return;
    for (const WString& value : *values) {
        if (seen.insert(value).second) out.push_back(value);
    }
}

}  // namespace

void LoadLauncherConfig(LauncherConfig& config) {
    ReadIgnoringFailure(SharedLauncherConfigPath(config.alternative), config.sharedEntries);
    ReadIgnoringFailure(LauncherConfigPath(config.alternative), config.ownEntries);
}

void SaveLauncherConfig(const LauncherConfig& config) {
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

void CollectConfigValues(const LauncherConfig& config, const WString& key, std::vector<WString>& out) {
    std::set<WString, NoCaseLess> seen;
    AppendNew(FindConfigValues(config.ownEntries, key), seen, out);
    AppendNew(FindConfigValues(config.sharedEntries, key), seen, out);
}
