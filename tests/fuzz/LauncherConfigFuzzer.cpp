// Reads arbitrary bytes as a launcher configuration file, adds one value,
// writes the file and reads it again: every line written is a line read,
// byte for byte, except the one added; reading again gives the same entries;
// a write that is refused leaves the old file byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "FuzzScratch.h"
#include "launcher/ConfigFile.h"
#include "text/Convert.h"

namespace {

// The non-empty lines of `content`, each without its line feed.
std::multiset<std::string> Lines(const std::string& content) {
    std::multiset<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.insert(line);
    }
    return lines;
}

// Each key with its values' bytes as a file read back gives them: an added
// value's line ends like the file's first line, and a carriage return before
// the line feed is part of the value read.
using Listing = std::vector<std::pair<std::u16string, std::vector<std::string>>>;
Listing Entries(const ConfigEntryList& list) {
    Listing entries;
    for (const ConfigEntry& entry : list) {
        auto& [key, values] = entries.emplace_back();
        key.assign(entry.key.c_str(), entry.key.length());
        for (const ConfigValue& value : entry.values) {
            values.push_back(value.Bytes() + (value.line.empty() && list.lineEnd() == "\r\n" ? "\r" : ""));
        }
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Multibyte text in the files is read and written in the locale's encoding.
    ::setenv("LC_ALL", "C.UTF-8", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string path = fuzz::ScratchDirectory() + "/config";
    const std::uint8_t which = data[0];
    const std::uint8_t number = data[1];
    const std::string original(reinterpret_cast<const char*>(data + 2), size - 2);
    fuzz::WriteBytes(path, original);
    const WString widePath = ToWString(path.c_str());

    ConfigEntryList list;
    if (ReadConfigFile(widePath, list) != WholeFileRead::kRead) std::abort();
    // An existing key or a new one, and a value that may already be there
    // (never an empty one, as the installer's own). A key read from bytes the
    // locale cannot decode is not found by its text, and lines without a key
    // share the empty one: the installer's key is neither.
    WString key = u"TemplateLocations";
    if (list.size() > 0 && which % 2 == 0) {
        const ConfigEntry& entry = list.at(which / 2 % list.size());
        if (!entry.key.empty() && ToAString(entry.key).c_str() == entry.keyBytes) key = entry.key;
    }
    WString value = WString(u"/home/u/t") + IntToWString(number, 10);
    if (number % 4 == 0 && list.size() > 0 && !list.at(0).values.empty() && !list.at(0).values[0].text.empty()) {
        value = list.at(0).values[0].text;
    }
    const bool added = AddConfigValue(list, key, value);
    if (FindConfigValues(list, key) == nullptr) std::abort();

    try {
        WriteConfigFile(widePath, list);
    } catch (int code) {
        if (code != 2 || fuzz::ReadBytes(path) != original) std::abort();  // the scratch directory is writable
        return 0;
    }
    // Every line written is one that was read, but for the added one; one line a value.
    const std::multiset<std::string> before = Lines(original);
    const std::multiset<std::string> after = Lines(fuzz::ReadBytes(path));
    const auto entries = Entries(list);
    std::size_t foreign = 0, values = 0;
    for (const std::string& line : after) foreign += before.count(line) == 0 ? 1 : 0;
    for (const auto& entry : entries) values += entry.second.size();
    if (foreign > (added ? 1u : 0u) || after.size() != values) std::abort();

    ConfigEntryList again;
    if (ReadConfigFile(widePath, again) != WholeFileRead::kRead || Entries(again) != entries) std::abort();
    return 0;
}
