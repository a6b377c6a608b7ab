// The template directory the wizard proposes, taken from the launcher's
// recorded locations, and the recording of the directory an installation used.
#pragma once

#include <vector>

#include "launcher/ConfigEntryList.h"
#include "text/WString.h"

struct TemplateDirectoryChoice {
    WString directory;                   // the proposal
    std::vector<ConfigValue> locations;  // the recorded locations, as recorded, each once
    bool alternativeFilePresent = false;
    bool locationsFromAlternative = false;
};

// The local directory (LocalDirectoryOf) of the first recorded location in
// which a file can be created, else the default template directory. Remote
// locations, and locations whose bytes the locale cannot decode, are never
// proposed. The normal launcher file is preferred; the alternative one is
// read only when the normal one is missing. Without `forWriting` (a run that
// only reads, or one told its directory) the first that is a folder is
// proposed, and nothing is created to find out.
TemplateDirectoryChoice ChooseTemplateDirectory(bool forWriting = true);
// Puts `usedDirectory` (without one trailing separator) at the front of
// `locations` and writes the list into the normal launcher file unless the
// locations came from the alternative one, and into the alternative file when
// it was present. Returns the launcher files that should have recorded the
// directory but were left as they were: unreadable, or not writable.
std::vector<WString> RecordTemplateDirectory(const WString& usedDirectory, std::vector<ConfigValue>& locations,
                                             bool alternativeFilePresent, bool locationsFromAlternative);
// Takes every location naming `removedDirectory` out of `locations` and
// writes the list back as RecordTemplateDirectory does (nothing is written
// when no location named it). Returns the launcher files left as they were.
std::vector<WString> ForgetTemplateDirectory(const WString& removedDirectory, std::vector<ConfigValue>& locations,
                                             bool alternativeFilePresent, bool locationsFromAlternative);
