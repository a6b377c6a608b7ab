#include "app/KitOpenFailure.h"

const char* KitOpenFailureMessage(ErrorCode code) {
    if (code == ERR_DISK_FULL) return "IDS_ERROR_NOSPACE";
    if (code == ERR_CANT_WRITE) return "IDS_ERROR_TEMPDIR";
    if (code == ERR_FILE_TOO_LARGE) return "IDS_ERROR_FILESIZE_LIMIT";
    return "IDS_ERROR_DAMAGEDSOURCE";
}

bool IsKitOpenFailure(ErrorCode code) {
    return code == ERR_INVALID_DATA || code == ERR_DISK_FULL || code == ERR_CANT_WRITE || code == ERR_FILE_TOO_LARGE;
}
