#include "launcher/ConfigFile.h"

#include <memory>
#include <string>

#include "launcher/FileReplacement.h"
#include "launcher/MultiByteDecoder.h"
#include "platform/SystemPath.h"
#include "text/Convert.h"

namespace {

constexpr std::size_t kReadBlock = 1024;
constexpr int kCannotOpen = 1;
constexpr int kCannotWrite = 2;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Splits decoded text into lines of key and value: the key ends at the first
// "=", the value at the line feed; nothing else is special.
class LineScanner {
public:
    explicit LineScanner(ConfigEntryList& list) : list_(list) {}

    void Feed(const std::u16string& units) {
        for (char16_t unit : units) Take(unit);
    }
    void Finish() { EndLine(); }

private:
    void Take(char16_t unit) {
        if (unit == u'\n') {
            EndLine();
        } else if (unit == u'=' && !inValue_) {
            inValue_ = true;
        } else {
            (inValue_ ? value_ : key_).push_back(unit);
        }
    }

    void EndLine() {
        if (!key_.empty() || !value_.empty()) {
            AddConfigValue(list_, WString(key_.data(), key_.size()), WString(value_.data(), value_.size()));
        }
        key_.clear();
        value_.clear();
        inValue_ = false;
    }

    ConfigEntryList& list_;
    std::u16string key_;
    std::u16string value_;
    bool inValue_ = false;
};

// The 8-bit form of `text`, or int 2 when the conversion would change it.
std::string Encode(const WString& text) {
    const AString bytes = ToAString(text);
    if (!(ToWString(bytes) == text)) throw kCannotWrite;
    return std::string(bytes.c_str(), bytes.length());
}

bool Holds(const WString& text, char16_t unit) { return text.find(unit) != WString::npos; }

std::string FormatLines(const ConfigEntryList& list) {
    std::string content;
    for (const ConfigEntry& entry : list) {
        if (entry.values.empty()) continue;
        if (Holds(entry.key, u'=') || Holds(entry.key, u'\n')) throw kCannotWrite;
        const std::string key = Encode(entry.key);
        for (const WString& value : entry.values) {
            if (Holds(value, u'\n')) throw kCannotWrite;
            content += key + "=" + Encode(value) + "\n";
        }
    }
    return content;
}

}  // namespace

std::FILE* OpenFileW(const char16_t* path, const char16_t* mode) {
    return std::fopen(ToAString(WString(path)).c_str(), ToAString(WString(mode)).c_str());
}

void ReadConfigFile(const WString& path, ConfigEntryList& list) {
    FilePtr file(OpenFileW(path.c_str(), u"r"));
    if (!file) return;
    MultiByteDecoder decoder;
    LineScanner scanner(list);
    char block[kReadBlock];
    std::u16string units;
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, file.get())) > 0) {
        units.clear();
        decoder.Decode(block, count, units);
        scanner.Feed(units);
    }
    units.clear();
    decoder.Finish(units);
    scanner.Feed(units);
    scanner.Finish();
}

void WriteConfigFile(const WString& path, const ConfigEntryList& list) {
    const std::string content = FormatLines(list);
    AString target;
    if (!ToSystemPath(path, &target) || target.empty()) throw kCannotOpen;
    ReplaceFileContent(std::string(target.c_str(), target.length()), content);
}
