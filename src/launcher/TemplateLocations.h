// The template directories a launcher configuration records under the key
// "ConfigurationTemplatesLocation": read cleaned, written back whole, probed.
#pragma once

#include <vector>

#include "text/WString.h"

// The key under which the launcher records template directories.
WString TemplateLocationsKey();
// Drops every path that names an earlier one again, differing only in letter
// case or a trailing "/"; survivors keep their order and their spelling.
void RemoveDuplicatePaths(std::vector<WString>& paths);
// Appends the recorded template locations of one launcher configuration to
// `out`, with "/" for every backslash and without duplicates.
void ReadTemplateLocations(std::vector<WString>& out, bool alternative);
// Records `locations` (without duplicates) as the whole value list of the
// template key in the own file; every other key keeps its values and place.
// Throws int 1 or 2 as SaveLauncherConfig does.
void WriteTemplateLocations(const std::vector<WString>& locations, bool alternative);
// Whether a new file can be created in exactly `directory` (probed and removed).
bool CanCreateFileIn(const WString& directory);
