#include <algorithm>
#include <iostream>
#include <set>
#include <string>

#include "Commands.h"
#include "OpenedKit.h"
#include "ToolText.h"
#include "kit/TemporaryFileGuard.h"
#include "platform/TempSpace.h"

namespace {

// Copies every entry out of the image into one scratch file, as the
// installer would, so that a kit that opens but cannot be read fails too.
bool ExtractEveryEntry(KitReader& reader, std::string* reason) {
    WString directory;
    WString scratch;
    (void)GetTempDirectory(&directory);  // always succeeds
    ErrorCode code = CreateTempFile(directory, u"efdkit", &scratch);
    if (code != ERR_NONE) {
        *reason = "cannot create a scratch file: " + DescribeError(code);
        return false;
    }
    TemporaryFileGuard remove(scratch);
    for (std::size_t i = 0; i < reader.entries.size(); ++i) {
        if ((code = KitExtractEntry(reader, i, scratch)) != ERR_NONE) {
            *reason = "entry " + FromKitText(reader.entries[i].name) + " cannot be read: " + DescribeError(code);
            return false;
        }
    }
    return true;
}

// The installer refuses a kit that names one path both as a file and as a
// folder other entries lie in; so does verify, naming that path.
bool NamesAFileAsAFolder(const KitReader& reader, std::string* reason) {
    const auto plain = [](const WString& name) {
        std::u16string path(name.c_str(), name.length());
        std::replace(path.begin(), path.end(), u'/', u'\\');
        return path;
    };
    std::set<std::u16string> folders;
    for (const KitEntry& entry : reader.entries) {
        const std::u16string name = plain(entry.name);
        for (std::size_t at = name.find(u'\\'); at != std::u16string::npos; at = name.find(u'\\', at + 1)) {
            folders.insert(name.substr(0, at));
        }
    }
    for (const KitEntry& entry : reader.entries) {
        if (folders.count(plain(entry.name)) != 0) {
            *reason = "entry " + FromKitText(entry.name) + " is a file, and other entries lie in a folder of that name";
            return true;
        }
    }
    return false;
}

}  // namespace

int RunVerify(const Arguments& arguments) {
    if (arguments.size() != 1) return Usage("verify needs exactly one kit path");
    KitReader reader;
    std::string reason;
    if (!OpenKitForTool(reader, arguments[0], &reason)) return Fail(reason);
    if (NamesAFileAsAFolder(reader, &reason) || !ExtractEveryEntry(reader, &reason)) {
        return Fail(arguments[0] + ": " + reason);
    }
    std::uint64_t bytes = 0;
    for (const KitEntry& entry : reader.entries) bytes += entry.size;
    std::cout << "OK: " << reader.entries.size() << " entries, " << bytes << " bytes\n";
    return kExitSuccess;
}
