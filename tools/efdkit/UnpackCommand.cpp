#include <iostream>

#include "Commands.h"
#include "OpenedKit.h"
#include "ToolText.h"
#include "platform/FileTree.h"

namespace {

// The entry's place under `directory`, its "\" separators turned into "/".
std::string TargetPath(const std::string& directory, const KitEntry& entry) {
    std::string relative = FromKitText(entry.name);
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    return directory + "/" + relative;
}

std::string ParentOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

}  // namespace

int RunUnpack(const Arguments& arguments) {
    if (arguments.size() != 2) return Usage("unpack needs a kit path and a directory");
    KitReader reader;
    std::string reason;
    if (!OpenKitForTool(reader, arguments[0], &reason)) return Fail(reason);
    for (std::size_t i = 0; i < reader.entries.size(); ++i) {
        const std::string target = TargetPath(arguments[1], reader.entries[i]);
        if (MakeDirectoryTree(ToKitText(ParentOf(target))) != ERR_NONE) {
            return Fail("cannot create the directory of " + target);
        }
        const ErrorCode code = KitExtractEntry(reader, i, ToKitText(target));
        if (code != ERR_NONE) return Fail("cannot write " + target + ": " + DescribeError(code));
    }
    std::cout << "unpacked " << reader.entries.size() << " entries into " << arguments[1] << "\n";
    return kExitSuccess;
}
