#include "platform/SystemPath.h"

#include <cerrno>
#include <optional>
#include <utility>

#include "text/Convert.h"

bool ToSystemPath(const WString& path, AString* systemPath) {
    std::optional<AString> converted = ToAStringWhole(path);
    if (!converted) return false;
    *systemPath = std::move(*converted);
    return true;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

ErrorCode ErrorFromErrno(int error) {
    if (error == ENOENT) return ERR_FILE_NOT_FOUND;
    if (error == ENOSPC || error == EDQUOT) return ERR_DISK_FULL;
    if (error == EFBIG) return ERR_FILE_TOO_LARGE;
    return ERR_INVALID_PARAMETER;
}
