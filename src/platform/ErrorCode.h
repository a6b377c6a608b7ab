// Result codes shared by every layer: 0 is success.
#pragma once

#include <cstdint>

using ErrorCode = std::uint32_t;

constexpr ErrorCode ERR_NONE = 0;
constexpr ErrorCode ERR_FILE_NOT_FOUND = 2;
constexpr ErrorCode ERR_PATH_NOT_FOUND = 3;
constexpr ErrorCode ERR_INVALID_HANDLE = 6;
constexpr ErrorCode ERR_INVALID_DATA = 13;
constexpr ErrorCode ERR_INVALID_PARAMETER = 87;
constexpr ErrorCode ERR_BUSY = 170;  // another installation into the same template directory is running
// Another installation runs in a directory inside or around this one.
constexpr ErrorCode ERR_NESTED_BUSY = 1171;
// A dead run's undo, done before planning, kept originals it could not put back: nothing is installed.
constexpr ErrorCode ERR_EARLIER_RUN_KEPT = 1014;
// A dead run's journal on this directory waits for its folder (moved, renamed, not mounted): nothing is installed.
constexpr ErrorCode ERR_JOURNAL_WAITING = 1015;
// A rollback failed at a step (not by a choice to keep a file): its journal stays for the next start.
constexpr ErrorCode ERR_ROLLBACK_UNFINISHED = 1016;
// A kit read for its directory first could not be unpacked when the run came to need its files: nothing was changed.
constexpr ErrorCode ERR_KIT_NOT_UNPACKED = 1017;
// A link, a file or anything but a folder has the name of the record folder: nothing was changed.
constexpr ErrorCode ERR_RECORD_OBSTRUCTED = 1018;
constexpr ErrorCode ERR_FILE_APPEARED = 80;  // a file stands where the plan found none; it was left as it is
// A file the run was to replace changed since the plan (an edit saved meanwhile); it was left as it is.
constexpr ErrorCode ERR_FILE_CHANGED = 81;
// A write went past the file size limit of the process (ulimit -f).
constexpr ErrorCode ERR_FILE_TOO_LARGE = 223;
constexpr ErrorCode ERR_DISK_FULL = 112;  // the files do not fit into the template directory's file system
constexpr ErrorCode ERR_CANT_WRITE = 1013;
constexpr ErrorCode ERR_CANCELLED = 1223;
constexpr ErrorCode ERR_NO_RECORD = 1168;  // the directory holds no sound record of this kit
