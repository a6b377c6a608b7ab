// The template directory the wizard proposes, taken from the launcher's
// recorded locations, and the recording of the directory an installation used.
#pragma once

#include <vector>

#include "text/WString.h"

struct TemplateDirectoryChoice {
    WString directory;               // the proposal
    std::vector<WString> locations;  // the recorded locations, cleaned
    bool alternativeFilePresent = false;
    bool locationsFromAlternative = false;
};

// The first recorded location in which a file can be created, else the
// default template directory. The normal launcher file is preferred; the
// alternative one is read only when the normal one is missing.
TemplateDirectoryChoice ChooseTemplateDirectory();
// Puts `usedDirectory` (without one trailing separator) at the front of
// `locations` and writes the list into the normal launcher file unless the
// locations came from the alternative one, and into the alternative file when
// it was present. Write failures are not reported: the old files stay whole.
void RecordTemplateDirectory(const WString& usedDirectory, std::vector<WString>& locations,
                             bool alternativeFilePresent, bool locationsFromAlternative);
