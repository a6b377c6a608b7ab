// The in-memory form of a launcher configuration file: keys in the order they
// were first added, each with its values in order. Keys and values compare
// without regard to letter case (CompareNoCase).
#pragma once

#include <vector>

#include "text/WString.h"

struct ConfigEntry {
    WString key;                  // spelled as first added
    std::vector<WString> values;  // a value may be empty
};

using ConfigEntryList = std::vector<ConfigEntry>;

// The values of the entry whose key equals `key`, or nullptr when there is none.
const std::vector<WString>* FindConfigValues(const ConfigEntryList& list, const WString& key);
// Appends `value` to `key` (appending a new entry for a new key); false, and
// nothing changed, when the key already holds an equal value.
bool AddConfigValue(ConfigEntryList& list, const WString& key, const WString& value);
// Makes `values` the whole value list of `key`, stored as given; an existing
// entry keeps its place and spelling, a new one is appended. An empty list
// leaves the key without values, so that it writes no line.
void SetConfigValues(ConfigEntryList& list, const WString& key, const std::vector<WString>& values);
