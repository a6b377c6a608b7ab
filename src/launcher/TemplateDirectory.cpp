#include "launcher/TemplateDirectory.h"

#include <algorithm>

#include "launcher/LauncherConfig.h"
#include "launcher/LocationCleaning.h"
#include "launcher/TemplateLocations.h"
#include "platform/FindData.h"

namespace {

std::vector<ConfigValue> RecordedLocations(TemplateDirectoryChoice& choice) {
    std::vector<ConfigValue> locations;
    if (PathExists(LauncherConfigPath(false))) {
        ReadTemplateLocations(locations, false);
    } else if (choice.alternativeFilePresent) {
        ReadTemplateLocations(locations, true);
        choice.locationsFromAlternative = !locations.empty();
    }
    return locations;
}

WString WithoutTrailingSeparator(const WString& directory) {
    if (directory.empty() || (directory.back() != u'/' && directory.back() != u'\\')) return directory;
    return directory.substr(0, directory.length() - 1);
}

void Record(const std::vector<ConfigValue>& locations, bool alternative, std::vector<WString>& unrecorded) {
    if (!WriteTemplateLocations(locations, alternative)) unrecorded.push_back(LauncherConfigPath(alternative));
}

}  // namespace

TemplateDirectoryChoice ChooseTemplateDirectory(bool forWriting) {
    TemplateDirectoryChoice choice;
    choice.alternativeFilePresent = PathExists(LauncherConfigPath(true));
    choice.locations = RecordedLocations(choice);
    for (const ConfigValue& location : choice.locations) {
        // A text that does not stand for the recorded bytes would name some other folder.
        if (!location.TextIsExact()) continue;
        const WString directory = LocalDirectoryOf(location.text);
        if (!directory.empty() && (forWriting ? CanCreateFileIn(directory) : IsDirectory(directory))) {
            choice.directory = directory;
            return choice;
        }
    }
    choice.directory = DefaultTemplateDirectory();
    return choice;
}

std::vector<WString> RecordTemplateDirectory(const WString& usedDirectory, std::vector<ConfigValue>& locations,
                                             bool alternativeFilePresent, bool locationsFromAlternative) {
    locations.insert(locations.begin(), ConfigValue{WithoutTrailingSeparator(usedDirectory), {}, 0, true});
    std::vector<WString> unrecorded;
    if (!locationsFromAlternative) Record(locations, false, unrecorded);
    if (alternativeFilePresent) Record(locations, true, unrecorded);
    return unrecorded;
}

std::vector<WString> ForgetTemplateDirectory(const WString& removedDirectory, std::vector<ConfigValue>& locations,
                                             bool alternativeFilePresent, bool locationsFromAlternative) {
    const WString removed = WithoutTrailingSeparator(removedDirectory);
    const auto named = [&](const ConfigValue& location) {
        return location.TextIsExact() && WithoutTrailingSeparator(LocalDirectoryOf(location.text)) == removed;
    };
    std::vector<WString> unrecorded;
    if (std::none_of(locations.begin(), locations.end(), named)) return unrecorded;
    locations.erase(std::remove_if(locations.begin(), locations.end(), named), locations.end());
    if (!locationsFromAlternative) Record(locations, false, unrecorded);
    if (alternativeFilePresent) Record(locations, true, unrecorded);
    return unrecorded;
}
