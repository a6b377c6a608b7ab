#include <iostream>

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

}  // namespace

int RunVerify(const Arguments& arguments) {
    if (arguments.size() != 1) return Usage("verify needs exactly one kit path");
    KitReader reader;
    std::string reason;
    if (!OpenKitForTool(reader, arguments[0], &reason)) return Fail(reason);
    if (!ExtractEveryEntry(reader, &reason)) return Fail(arguments[0] + ": " + reason);
    std::uint64_t bytes = 0;
    for (const KitEntry& entry : reader.entries) bytes += entry.size;
    std::cout << "OK: " << reader.entries.size() << " entries, " << bytes << " bytes\n";
    return kExitSuccess;
}
