#include "platform/SystemPath.h"

#include <cerrno>
#include <optional>
#include <utility>

#include "text/Convert.h"
#include "text/EnvironmentLocale.h"

bool ToSystemPath(const WString& path, AString* systemPath) {
    std::optional<AString> converted = ToAStringWhole(path);
    if (!converted) return false;
    *systemPath = std::move(*converted);
    return true;
}

bool AsciiEntryPath(const WString& name, std::string* path) {
    if (EnvironmentEncoding().charset == LocaleCharset::kOther) return false;
    const char16_t* units = name.c_str();
    const std::size_t length = name.length();
    for (std::size_t i = 0; i < length; ++i) {
        if (units[i] == 0 || units[i] >= 0x80) return false;
    }
    path->resize(length);
    for (std::size_t i = 0; i < length; ++i) (*path)[i] = units[i] == u'\\' ? '/' : static_cast<char>(units[i]);
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
