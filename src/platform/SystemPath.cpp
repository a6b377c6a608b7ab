#include "platform/SystemPath.h"

#include <cerrno>

#include "text/Convert.h"

namespace {

bool HoldsZeroUnit(const WString& path) {
    for (WString::size_type i = 0; i < path.length(); ++i) {
        if (path[i] == u'\0') return true;
    }
    return false;
}

}  // namespace

bool ToSystemPath(const WString& path, AString* systemPath) {
    if (HoldsZeroUnit(path)) return false;
    AString converted = ToAString(path);
    // The conversion silently stops at the first character it cannot
    // represent; converting back is the cheapest proof that nothing was lost.
    if (!(ToWString(converted) == path)) return false;
    *systemPath = converted;
    return true;
}

ErrorCode ErrorFromErrno(int error) {
    return error == ENOENT ? ERR_FILE_NOT_FOUND : ERR_INVALID_PARAMETER;
}
