#include "OpenedKit.h"

#include "ToolText.h"
#include "kit/KitBundle.h"
#include "kit/TemporaryFileGuard.h"
#include "platform/TempSpace.h"

namespace {

// The stream alone, inflated into a scratch file that is removed at once.
ErrorCode CheckStream(const std::string& kitPath, const KitSlice& slice) {
    WString directory;
    WString scratch;
    (void)GetTempDirectory(&directory);  // always succeeds
    const ErrorCode code = CreateTempFile(directory, u"efdkit", &scratch);
    if (code != ERR_NONE) return code;
    TemporaryFileGuard remove(scratch);
    return InflateFile(ToKitText(kitPath), slice, scratch, GetFileSystemFreeSpace);
}

}  // namespace

bool OpenKitForTool(KitReader& reader, const std::string& kitPath, std::string* reason) {
    // A one-file installer's kit is read where it lies in the file.
    KitSlice slice;
    std::string problem;
    const BundledKit carried = FindBundledKit(ToKitText(kitPath), &slice, &problem);
    if (carried == BundledKit::kDamaged) {
        *reason = kitPath + ": damaged one-file installer: " + problem;
        return false;
    }
    if (carried == BundledKit::kNone && !problem.empty()) {
        *reason = kitPath + ": " + problem;
        return false;
    }
    const ErrorCode code = KitOpen(reader, ToKitText(kitPath), slice);
    if (code == ERR_NONE) return true;
    if (code != ERR_INVALID_DATA) {
        *reason = kitPath + ": " + DescribeError(code);
    } else if (CheckStream(kitPath, slice) == ERR_INVALID_DATA) {
        *reason = kitPath + ": damaged kit: not a complete raw deflate stream (empty, cut short, gzip or zip)";
    } else {
        *reason = kitPath + ": damaged kit: the header or directory does not hold what it announces, an entry's "
                            "data runs past the image, or an entry name leaves the target directory";
    }
    return false;
}
