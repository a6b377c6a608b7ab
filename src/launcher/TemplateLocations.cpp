#include "launcher/TemplateLocations.h"

#include <sys/stat.h>

#include <fcntl.h>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "launcher/CaseFolding.h"
#include "launcher/LauncherConfig.h"
#include "launcher/LocationCleaning.h"
#include "platform/FileTree.h"
#include "platform/SystemPath.h"
#include "platform/TempSpace.h"
#include "text/Convert.h"

namespace {

// Folded, with a trailing "/" added where the path has no separator at its
// end, so that a path and the same path with a trailing "/" compare alike.
std::string FoldedWithTrailingSlash(std::string_view path, const CaseFolding& folding) {
    std::string key = folding.Fold(path);
    if (!key.empty() && key.back() != '/' && key.back() != '\\') key += '/';
    return key;
}

std::string ComparisonKey(const ConfigValue& location, const CaseFolding& folding) {
    const WString local = location.TextIsExact() ? LocalDirectoryOf(location.text) : WString();
    // A location that cleaning leaves as it is compares by its own bytes.
    if (local.empty() || local == location.text) {
        return location.line.empty() ? FoldedWithTrailingSlash(location.Bytes(), folding)
                                     : FoldedWithTrailingSlash(location.ReadBytes(), folding);
    }
    const AString bytes = ToAString(local);
    return FoldedWithTrailingSlash(std::string_view(bytes.c_str(), bytes.length()), folding);
}

// The modification time of the folder at `path` (8-bit form); none when
// there is no folder there to create a file in.
std::optional<timespec> FolderModificationTime(const AString& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
    return status.st_mtim;
}

}  // namespace

WString TemplateLocationsKey() { return WString(u"ConfigurationTemplatesLocation"); }

void RemoveDuplicatePaths(std::vector<ConfigValue>& paths) {
    const CaseFolding folding;
    std::unordered_set<std::string> seen(paths.size());
    std::vector<ConfigValue> kept;
    kept.reserve(paths.size());
    for (ConfigValue& path : paths) {
        if (seen.insert(ComparisonKey(path, folding)).second) kept.push_back(std::move(path));
    }
    paths.swap(kept);
}

void ReadTemplateLocations(std::vector<ConfigValue>& out, bool alternative) {
    LauncherConfig config;
    config.alternative = alternative;
    LoadLauncherConfig(config);
    CollectConfigValues(config, TemplateLocationsKey(), out);
    RemoveDuplicatePaths(out);
}

bool WriteTemplateLocations(const std::vector<ConfigValue>& locations, bool alternative) {
    LauncherConfig config;
    config.alternative = alternative;
    LoadLauncherConfig(config);
    if (config.ownFile == WholeFileRead::kUnreadable) return false;
    std::vector<ConfigValue> cleaned = locations;
    RemoveDuplicatePaths(cleaned);
    SetConfigValues(config.ownEntries, TemplateLocationsKey(), cleaned);
    try {
        SaveLauncherConfig(config);
    } catch (int) {
        return false;  // the writer leaves the old file whole
    }
    return true;
}

bool CanCreateFileIn(const WString& directory) {
    AString path;
    if (!ToSystemPath(directory, &path)) return false;
    const std::optional<timespec> modified = FolderModificationTime(path);
    if (!modified) return false;
    WString probe;
    if (CreateTempFile(directory, WString(u"Vq"), &probe) != ERR_NONE) return false;
    (void)RemoveFile(probe);  // the probe is best-effort clean-up; creation was the question
    // Looking must not make the folder seem changed; a time that cannot be put back is no reason to refuse it.
    const timespec times[2] = {{0, UTIME_OMIT}, *modified};
    (void)utimensat(AT_FDCWD, path.c_str(), times, 0);
    return true;
}
