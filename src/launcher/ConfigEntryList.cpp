#include "launcher/ConfigEntryList.h"

#include <algorithm>

#include "text/Convert.h"

namespace {

bool SameText(const WString& a, const WString& b) { return CompareNoCase(a, b) == 0; }

ConfigEntry* FindEntry(ConfigEntryList& list, const WString& key) {
    auto it = std::find_if(list.begin(), list.end(), [&](const ConfigEntry& e) { return SameText(e.key, key); });
    return it == list.end() ? nullptr : &*it;
}

}  // namespace

const std::vector<WString>* FindConfigValues(const ConfigEntryList& list, const WString& key) {
    auto it = std::find_if(list.begin(), list.end(), [&](const ConfigEntry& e) { return SameText(e.key, key); });
    return it == list.end() ? nullptr : &it->values;
}

bool AddConfigValue(ConfigEntryList& list, const WString& key, const WString& value) {
    ConfigEntry* entry = FindEntry(list, key);
    if (entry == nullptr) {
        list.push_back(ConfigEntry{key, {value}});
        return true;
    }
    const bool held = std::any_of(entry->values.begin(), entry->values.end(),
                                  [&](const WString& v) { return SameText(v, value); });
    if (held) return false;
    entry->values.push_back(value);
    return true;
}

void SetConfigValues(ConfigEntryList& list, const WString& key, const std::vector<WString>& values) {
    ConfigEntry* entry = FindEntry(list, key);
    if (entry == nullptr) {
        list.push_back(ConfigEntry{key, values});
        return;
    }
    entry->values = values;
}
