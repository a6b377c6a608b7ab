// The template directories a launcher configuration records under the key
// "ConfigurationTemplatesLocation": read as recorded, written back whole,
// probed without leaving a trace.
#pragma once

#include <vector>

#include "launcher/ConfigEntryList.h"
#include "text/WString.h"

// The key under which the launcher records template directories.
WString TemplateLocationsKey();
// Drops every location that names an earlier one again: the same local
// directory (LocalDirectoryOf) up to letter case and a trailing "/", or, for a
// remote location or one whose text does not stand for its bytes, the same
// bytes up to letter case and a trailing "/". Survivors keep their order and
// their bytes.
void RemoveDuplicatePaths(std::vector<ConfigValue>& paths);
// Appends the recorded template locations of one launcher configuration to
// `out` as recorded, each location once.
void ReadTemplateLocations(std::vector<ConfigValue>& out, bool alternative);
// Records `locations` (without duplicates) as the whole value list of the
// template key in the own file; every other line keeps its bytes, a location
// that was read from a launcher file its line. False, with the file left as
// it was, when the own file could not be read whole or not be written.
[[nodiscard]] bool WriteTemplateLocations(const std::vector<ConfigValue>& locations, bool alternative);
// Whether a new file can be created in exactly `directory` (probed and
// removed); the directory's modification time is put back afterwards.
bool CanCreateFileIn(const WString& directory);
