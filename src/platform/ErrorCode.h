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
// A dead run's undo, done before planning, kept originals it could not put back: nothing is installed.
constexpr ErrorCode ERR_EARLIER_RUN_KEPT = 1014;
constexpr ErrorCode ERR_DISK_FULL = 112;  // the files do not fit into the template directory's file system
constexpr ErrorCode ERR_CANT_WRITE = 1013;
constexpr ErrorCode ERR_CANCELLED = 1223;
constexpr ErrorCode ERR_NO_RECORD = 1168;  // the directory holds no sound record of this kit
