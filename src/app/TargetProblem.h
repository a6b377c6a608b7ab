// Why a template directory cannot take an installation, told from what is
// there now and without changing anything, so that a run or a dry run can
// name the cause instead of a bare "installation error".
#pragma once

#include <string>

// The message identifier for `target` (an absolute path, a trailing "/"
// allowed): "IDS_ERROR_TARGET_NOTFOLDER" when a file or anything but a
// folder stands at it or at a folder above it, "IDS_ERROR_TARGET_READONLY"
// when the nearest folder of it that exists cannot be written into by this
// process (permissions, a read-only file system); null when neither is seen.
const char* TargetProblem(const std::string& target);
