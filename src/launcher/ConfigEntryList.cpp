#include "launcher/ConfigEntryList.h"

#include <utility>

#include "text/Convert.h"

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

}  // namespace

std::string ConfigValue::Bytes() const {
    if (!line.empty()) return std::string(ReadBytes());
    const AString bytes = ToAString(text);
    return std::string(bytes.c_str(), bytes.length());
}

bool ConfigValue::TextIsExact() const { return line.empty() || exact; }

std::string ConfigEntryList::FoldedValue(const ConfigValue& value) const {
    return value.line.empty() ? folding_.Fold(value.text) : folding_.Fold(value.ReadBytes());
}

std::size_t ConfigEntryList::Find(const std::string& foldedKey) const {
    const auto found = keyIndex_.find(foldedKey);
    return found == keyIndex_.end() ? kNone : found->second;
}

std::size_t ConfigEntryList::Append(ConfigEntry entry, std::string foldedKey) {
    keyIndex_.emplace(std::move(foldedKey), entries_.size());
    entries_.push_back(std::move(entry));
    valueIndex_.emplace_back();
    return entries_.size() - 1;
}

std::size_t ConfigEntryList::EntryFor(const WString& key) {
    std::string foldedKey = folding_.Fold(key);
    const std::size_t entry = Find(foldedKey);
    return entry != kNone ? entry : Append(ConfigEntry{key, {}, {}}, std::move(foldedKey));
}

bool ConfigEntryList::AddValue(std::size_t entry, ConfigValue value, std::string foldedValue) {
    ValueIndex& index = valueIndex_[entry];
    if (index.stale) {
        for (const ConfigValue& held : entries_[entry].values) index.folded.insert(FoldedValue(held));
        index.stale = false;
    }
    if (!index.folded.insert(std::move(foldedValue)).second) return false;
    entries_[entry].values.push_back(std::move(value));
    return true;
}

bool ConfigEntryList::AddLine(std::string_view line, std::size_t valueAt, const WString& value, bool exact,
                              const std::function<WString()>& decodeKey) {
    const std::string_view keyBytes = line.substr(0, valueAt == line.size() ? valueAt : valueAt - 1);
    std::string foldedKey = folding_.Fold(keyBytes);
    std::size_t entry = Find(foldedKey);
    if (entry == kNone) entry = Append(ConfigEntry{decodeKey(), std::string(keyBytes), {}}, std::move(foldedKey));
    return AddValue(entry, ConfigValue{value, std::string(line), valueAt, exact}, folding_.Fold(line.substr(valueAt)));
}

void ConfigEntryList::NoteLineEnd(bool carriageReturn) {
    if (lineEndKnown_) return;
    lineEndKnown_ = true;
    lineEnd_ = carriageReturn ? "\r\n" : "\n";
}

const std::vector<ConfigValue>* FindConfigValues(const ConfigEntryList& list, const WString& key) {
    const std::size_t entry = list.Find(list.folding_.Fold(key));
    return entry == kNone ? nullptr : &list.entries_[entry].values;
}

bool AddConfigValue(ConfigEntryList& list, const WString& key, const WString& value) {
    return list.AddValue(list.EntryFor(key), ConfigValue{value, {}, 0, true}, list.folding_.Fold(value));
}

void SetConfigValues(ConfigEntryList& list, const WString& key, const std::vector<ConfigValue>& values) {
    const std::size_t entry = list.EntryFor(key);
    list.entries_[entry].values = values;
    list.valueIndex_[entry] = ConfigEntryList::ValueIndex{{}, true};
}
