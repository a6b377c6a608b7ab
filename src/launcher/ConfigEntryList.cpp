#include "launcher/ConfigEntryList.h"

#include <utility>

#include "text/Convert.h"

std::string ConfigValue::Bytes() const {
    if (!line.empty()) return line.substr(valueAt);
    const AString bytes = ToAString(text);
    return std::string(bytes.c_str(), bytes.length());
}

bool ConfigValue::TextIsExact() const {
    if (line.empty()) return true;
    const AString bytes = ToAString(text);
    return std::string_view(bytes.c_str(), bytes.length()) == std::string_view(line).substr(valueAt);
}

std::string ConfigEntryList::FoldedValue(const ConfigValue& value) const {
    return value.line.empty() ? folding_.Fold(value.text) : folding_.Fold(std::string_view(value.line).substr(value.valueAt));
}

std::size_t ConfigEntryList::FindOrAppend(const WString& key, std::string_view keyBytes, const std::string& folded) {
    const auto [slot, added] = keyIndex_.try_emplace(folded, entries_.size());
    if (added) {
        entries_.push_back(ConfigEntry{key, std::string(keyBytes), {}});
        valueIndex_.emplace_back();
    }
    return slot->second;
}

bool ConfigEntryList::Append(std::size_t entry, ConfigValue value, std::string foldedValue) {
    if (!valueIndex_[entry].insert(std::move(foldedValue)).second) return false;
    entries_[entry].values.push_back(std::move(value));
    return true;
}

bool ConfigEntryList::AddLine(std::string_view line, std::size_t valueAt, const WString& key, const WString& value) {
    const std::string_view keyBytes = line.substr(0, valueAt == line.size() ? valueAt : valueAt - 1);
    const std::size_t entry = FindOrAppend(key, keyBytes, folding_.Fold(keyBytes));
    return Append(entry, ConfigValue{value, std::string(line), valueAt}, folding_.Fold(line.substr(valueAt)));
}

void ConfigEntryList::NoteLineEnd(bool carriageReturn) {
    if (lineEndKnown_) return;
    lineEndKnown_ = true;
    lineEnd_ = carriageReturn ? "\r\n" : "\n";
}

const std::vector<ConfigValue>* FindConfigValues(const ConfigEntryList& list, const WString& key) {
    const auto found = list.keyIndex_.find(list.folding_.Fold(key));
    return found == list.keyIndex_.end() ? nullptr : &list.entries_[found->second].values;
}

bool AddConfigValue(ConfigEntryList& list, const WString& key, const WString& value) {
    const std::size_t entry = list.FindOrAppend(key, {}, list.folding_.Fold(key));
    return list.Append(entry, ConfigValue{value, {}, 0}, list.folding_.Fold(value));
}

void SetConfigValues(ConfigEntryList& list, const WString& key, const std::vector<ConfigValue>& values) {
    const std::size_t entry = list.FindOrAppend(key, {}, list.folding_.Fold(key));
    list.entries_[entry].values = values;
    std::unordered_set<std::string>& index = list.valueIndex_[entry];
    index.clear();
    for (const ConfigValue& value : values) index.insert(list.FoldedValue(value));
}
