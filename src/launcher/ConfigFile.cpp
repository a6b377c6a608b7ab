#include "launcher/ConfigFile.h"

#include <string>

#include "launcher/FileReplacement.h"
#include "launcher/MultiByteDecoder.h"
#include "platform/SystemPath.h"
#include "text/Convert.h"

namespace {

constexpr int kCannotOpen = 1;
constexpr int kCannotWrite = 2;

// The text of `bytes`; `exact` tells whether it stands for them alone.
WString Decode(MultiByteDecoder& decoder, std::string_view bytes, bool& exact) {
    std::u16string units;
    decoder.Decode(bytes.data(), bytes.size(), units);
    exact = decoder.Finish(units);
    return WString(units.data(), units.size());
}

// One non-empty line: the key ends at the first "=", the value at the line's end.
void AddLine(ConfigEntryList& list, MultiByteDecoder& decoder, std::string_view line) {
    const std::size_t equals = line.find('=');
    const std::size_t valueAt = equals == std::string_view::npos ? line.size() : equals + 1;
    bool exact = true;
    const WString value = Decode(decoder, line.substr(valueAt), exact);
    list.AddLine(line, valueAt, value, exact, [&] {
        bool ignored = true;  // a key is compared by its bytes and written as them
        return Decode(decoder, line.substr(0, equals == std::string_view::npos ? line.size() : equals), ignored);
    });
}

// The 8-bit form of `text`, or int 2 when the conversion would change it.
std::string Encode(const WString& text) {
    const AString bytes = ToAString(text);
    if (!(ToWString(bytes) == text)) throw kCannotWrite;
    return std::string(bytes.c_str(), bytes.length());
}

bool Holds(const WString& text, char16_t unit) { return text.find(unit) != WString::npos; }

std::string KeyBytes(const ConfigEntry& entry) {
    if (!entry.keyBytes.empty()) return entry.keyBytes;
    if (Holds(entry.key, u'=') || Holds(entry.key, u'\n')) throw kCannotWrite;
    return Encode(entry.key);
}

std::string FormatLines(const ConfigEntryList& list) {
    std::string content;
    for (const ConfigEntry& entry : list) {
        std::string key;
        for (const ConfigValue& value : entry.values) {
            if (!value.line.empty()) {
                content += value.line;
                content += '\n';
                continue;
            }
            if (Holds(value.text, u'\n')) throw kCannotWrite;
            if (key.empty()) key = KeyBytes(entry);
            content += key + "=" + Encode(value.text) + list.lineEnd();
        }
    }
    return content;
}

}  // namespace

void ReadConfigText(std::string_view content, ConfigEntryList& list) {
    MultiByteDecoder decoder;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        } else {
            list.NoteLineEnd(end > start && content[end - 1] == '\r');
        }
        if (end > start) AddLine(list, decoder, content.substr(start, end - start));
        start = end + 1;
    }
}

WholeFileRead ReadConfigFile(const WString& path, ConfigEntryList& list) {
    AString target;
    // A path the system cannot be given names nothing this program could read or write.
    if (!ToSystemPath(path, &target)) return WholeFileRead::kUnreadable;
    std::string content;
    const WholeFileRead result = ReadWholeFile(std::string(target.c_str(), target.length()), content);
    if (result == WholeFileRead::kRead) ReadConfigText(content, list);
    return result;
}

void WriteConfigFile(const WString& path, const ConfigEntryList& list) {
    const std::string content = FormatLines(list);
    AString target;
    if (!ToSystemPath(path, &target) || target.empty()) throw kCannotOpen;
    ReplaceFileContent(std::string(target.c_str(), target.length()), content);
}
