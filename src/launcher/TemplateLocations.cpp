#include "launcher/TemplateLocations.h"

#include <set>

#include "launcher/LauncherConfig.h"
#include "platform/FileTree.h"
#include "platform/TempSpace.h"
#include "text/Convert.h"

namespace {

struct NoCaseLess {
    bool operator()(const WString& a, const WString& b) const { return CompareNoCase(a, b) < 0; }
};

// A path and the same path with a trailing "/" compare alike.
WString ComparisonKey(const WString& path) {
    if (path.empty() || path.back() == u'/' || path.back() == u'\\') return path;
    return path + u"/";
}

}  // namespace

WString TemplateLocationsKey() { return WString(u"ConfigurationTemplatesLocation"); }

void RemoveDuplicatePaths(std::vector<WString>& paths) {
    std::set<WString, NoCaseLess> seen;
    std::vector<WString> kept;
    for (const WString& path : paths) {
        if (seen.insert(ComparisonKey(path)).second) kept.push_back(path);
    }
    paths.swap(kept);
}

void ReadTemplateLocations(std::vector<WString>& out, bool alternative) {
    LauncherConfig config;
    config.alternative = alternative;
    LoadLauncherConfig(config);
    CollectConfigValues(config, TemplateLocationsKey(), out);
    for (WString& path : out) ReplaceAll(path, WString(u"\\"), WString(u"/"));
    RemoveDuplicatePaths(out);
}

void WriteTemplateLocations(const std::vector<WString>& locations, bool alternative) {
    LauncherConfig config;
    config.alternative = alternative;
    LoadLauncherConfig(config);
    std::vector<WString> cleaned = locations;
    RemoveDuplicatePaths(cleaned);
    SetConfigValues(config.ownEntries, TemplateLocationsKey(), cleaned);
    SaveLauncherConfig(config);
}

bool CanCreateFileIn(const WString& directory) {
    WString probe;
    if (CreateTempFile(directory, WString(u"Vq"), &probe) != ERR_NONE) return false;
    (void)RemoveFile(probe);  // the probe is best-effort clean-up; creation was the question
    return true;
}
