// Reads arbitrary bytes as a launcher configuration file, adds one value,
// writes the file and reads it again: every line written is a line read,
// byte for byte, except the one added; reading again gives the same entries;
// a write that is refused leaves the old file byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "FuzzScratch.h"
#include "launcher/ConfigFile.h"
#include "text/Convert.h"

namespace {

// The non-empty lines of `content`, each without its line feed.
std::multiset<std::string> Lines(std::string_view content) {
    std::multiset<std::string> lines;
    for (std::size_t start = 0; start < content.size();) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        if (end > start) lines.emplace(content.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::size_t ValueCount(const ConfigEntryList& list) {
    std::size_t count = 0;
    for (const ConfigEntry& entry : list) count += entry.values.size();
    return count;
}

// The lines themselves are compared byte for byte above.
bool SameEntries(const ConfigEntryList& a, const ConfigEntryList& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto& left = a.at(i).values;
        const auto& right = b.at(i).values;
        if (!(a.at(i).key == b.at(i).key) || left.size() != right.size()) return false;
        for (std::size_t j = 0; j < left.size(); ++j) {
            // An added value's line ends like the file's first line, and a
            // carriage return before the line feed is part of the value read.
            std::string expected = left[j].Bytes();
            if (left[j].line.empty() && a.lineEnd() == "\r\n") expected += '\r';
            if (expected != right[j].Bytes()) return false;
        }
    }
    return true;
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
    // The first byte picks an existing key or a new one; the value may
    // already be there (the installer records a directory, never an empty
    // value). An existing key is taken only when its text stands for its
    // bytes, as the installer's own key always does: a key read from bytes
    // the locale cannot decode is not found by its decoded text.
    WString key = u"TemplateLocations";
    if (list.size() > 0 && which % 2 == 0) {
        const ConfigEntry& entry = list.at(which / 2 % list.size());
        if (ToAString(entry.key).c_str() == entry.keyBytes) key = entry.key;
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
        if (code != 2) std::abort();  // the scratch directory is always writable
        if (fuzz::ReadBytes(path) != original) std::abort();
        return 0;
    }
    // Every line written is one that was read, but for the added one.
    const std::multiset<std::string> before = Lines(original);
    const std::multiset<std::string> after = Lines(fuzz::ReadBytes(path));
    std::size_t foreign = 0;
    for (const std::string& line : after) foreign += before.count(line) == 0 ? 1 : 0;
    if (foreign > (added ? 1u : 0u) || after.size() != ValueCount(list)) std::abort();

    ConfigEntryList again;
    if (ReadConfigFile(widePath, again) != WholeFileRead::kRead || !SameEntries(list, again)) std::abort();
    return 0;
}
