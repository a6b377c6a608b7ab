#include "launcher/TemplateDirectory.h"

#include "launcher/LauncherConfig.h"
#include "platform/FindData.h"

namespace {

std::vector<WString> RecordedLocations(TemplateDirectoryChoice& choice) {
    std::vector<WString> locations;
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

void WriteIgnoringFailure(const std::vector<WString>& locations, bool alternative) {
    try {
        WriteTemplateLocations(locations, alternative);
    } catch (int) {
        // The installation has succeeded; an unrecorded directory is only a
        // lost convenience, and the writer leaves the old file whole.
    }
}

}  // namespace

TemplateDirectoryChoice ChooseTemplateDirectory() {
    TemplateDirectoryChoice choice;
    choice.alternativeFilePresent = PathExists(LauncherConfigPath(true));
    choice.locations = RecordedLocations(choice);
    for (const WString& location : choice.locations) {
        if (CanCreateFileIn(location)) {
            choice.directory = location;
            return choice;
        }
    }
    choice.directory = DefaultTemplateDirectory();
    return choice;
}

void RecordTemplateDirectory(const WString& usedDirectory, std::vector<WString>& locations,
                             bool alternativeFilePresent, bool locationsFromAlternative) {
    locations.insert(locations.begin(), WithoutTrailingSeparator(usedDirectory));
    if (!locationsFromAlternative) WriteIgnoringFailure(locations, false);
    if (alternativeFilePresent) WriteIgnoringFailure(locations, true);
}
