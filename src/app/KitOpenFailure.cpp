#include "app/KitOpenFailure.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/SystemPath.h"

const char* KitOpenFailureMessage(ErrorCode code) {
    if (code == ERR_DISK_FULL) return "IDS_ERROR_NOSPACE";
    if (code == ERR_CANT_WRITE) return "IDS_ERROR_TEMPDIR";
    if (code == ERR_FILE_TOO_LARGE) return "IDS_ERROR_FILESIZE_LIMIT";
    if (code == ERR_FILE_NOT_FOUND || code == ERR_PATH_NOT_FOUND) return "IDS_ERROR_NOSOURCE";
    return "IDS_ERROR_DAMAGEDSOURCE";
}

const char* KitOpenFailureMessage(ErrorCode code, const WString& kitPath) {
    AString path;
    if (code == ERR_INVALID_PARAMETER && ToSystemPath(kitPath, &path) &&
        faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0 && errno == EACCES) {
        return "IDS_ERROR_KIT_UNREADABLE";
    }
    return KitOpenFailureMessage(code);
}

bool IsKitOpenFailure(ErrorCode code) {
    return code == ERR_INVALID_DATA || code == ERR_DISK_FULL || code == ERR_CANT_WRITE || code == ERR_FILE_TOO_LARGE;
}
