// The in-memory form of a launcher configuration file: keys in the order they
// were first added, each with its values in order. Keys and values compare
// without regard to letter case (see CaseFolding), through an index, so that
// adding or finding one costs the same however long the file is. A value
// read from a file keeps the exact bytes of its line, which is what a rewrite
// writes back; only values the program adds are written from their text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "launcher/CaseFolding.h"
#include "text/WString.h"

struct ConfigValue {
    WString text;            // decoded; may be empty
    std::string line{};      // the line as read, without its line feed; empty for a value the program added
    std::size_t valueAt = 0; // where the value's own bytes start in `line`
    bool exact = true;       // whether `text` stands for the value's bytes (see TextIsExact)

    // The value's own bytes as read, or the 8-bit form of `text` for an added value.
    std::string Bytes() const;
    // The value's own bytes as read; empty for an added value.
    std::string_view ReadBytes() const { return std::string_view(line).substr(line.empty() ? 0 : valueAt); }
    // Whether `text` stands for the bytes read: false when the line held bytes
    // the locale cannot decode or characters beyond U+FFFF.
    bool TextIsExact() const;
};

struct ConfigEntry {
    WString key;           // spelled as first added
    std::string keyBytes;  // the key's bytes as first read from a file; empty for a key the program added
    std::vector<ConfigValue> values;
};

class ConfigEntryList {
public:
    // Takes the letter-case mapping of the environment's locale as it is now.
    ConfigEntryList() = default;

    std::vector<ConfigEntry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<ConfigEntry>::const_iterator end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }
    const ConfigEntry& at(std::size_t index) const { return entries_.at(index); }

    // The line end of the first file line read into the list ("\r\n" or
    // "\n"), which lines the program adds take over; "\n" before any.
    const std::string& lineEnd() const { return lineEnd_; }

    // Adds one non-empty line of a file, split at its first "=" (at `valueAt`
    // - 1; `valueAt` is the line's length when it has no "="), with its
    // decoded value and whether that decoded exactly; `decodeKey` gives the
    // key's text, asked for only when the key is new. False, and nothing
    // changed, when the key already holds a value whose bytes compare equal.
    bool AddLine(std::string_view line, std::size_t valueAt, const WString& value, bool exact,
                 const std::function<WString()>& decodeKey);
    // Records how the first line with a line feed ended, unless one already did.
    void NoteLineEnd(bool carriageReturn);

private:
    friend const std::vector<ConfigValue>* FindConfigValues(const ConfigEntryList& list, const WString& key);
    friend bool AddConfigValue(ConfigEntryList& list, const WString& key, const WString& value);
    friend void SetConfigValues(ConfigEntryList& list, const WString& key, const std::vector<ConfigValue>& values);

    // The folded values of one entry; rebuilt when next needed after the
    // entry's values were replaced whole.
    struct ValueIndex {
        std::unordered_set<std::string> folded;
        bool stale = false;
    };

    std::size_t Find(const std::string& foldedKey) const;
    std::size_t Append(ConfigEntry entry, std::string foldedKey);
    std::size_t EntryFor(const WString& key);  // the key's entry, appended when new
    bool AddValue(std::size_t entry, ConfigValue value, std::string foldedValue);
    std::string FoldedValue(const ConfigValue& value) const;

    CaseFolding folding_;
    std::vector<ConfigEntry> entries_;
    std::unordered_map<std::string, std::size_t> keyIndex_;  // folded key -> entry
    std::vector<ValueIndex> valueIndex_;                     // per entry
    std::string lineEnd_ = "\n";
    bool lineEndKnown_ = false;
};

// The values of the entry whose key equals `key`, or nullptr when there is none.
const std::vector<ConfigValue>* FindConfigValues(const ConfigEntryList& list, const WString& key);
// Appends `value` to `key` (appending a new entry for a new key); false, and
// nothing changed, when the key already holds an equal value.
bool AddConfigValue(ConfigEntryList& list, const WString& key, const WString& value);
// Makes `values` the whole value list of `key`, stored as given (a value that
// carries a line is written back as that line); an existing entry keeps its
// place and spelling, a new one is appended. An empty list leaves the key
// without values, so that it writes no line.
void SetConfigValues(ConfigEntryList& list, const WString& key, const std::vector<ConfigValue>& values);
