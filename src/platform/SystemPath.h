// The bridge from the program's paths to system calls: a path is handed to
// the system only when its 8-bit form stands for exactly the same path.
#pragma once

#include <string>

#include "platform/ErrorCode.h"
#include "text/WString.h"

// Stores the 8-bit form of `path`; false (nothing stored) when the path holds
// a zero unit or a character the locale encoding cannot represent, since a
// shortened path would name some other file.
bool ToSystemPath(const WString& path, AString* systemPath);

// The 8-bit form of a kit entry's name ("\\" and "/" both separate folders;
// "/" in the result) when the name is all ASCII and the locale's encoding
// keeps ASCII as it is: the usual name, without a conversion. False, with
// nothing stored, for any other name (a zero unit included) or encoding;
// ToSystemPath then decides.
bool AsciiEntryPath(const WString& name, std::string* path);

// `path` without the slashes that end it; "/" stays "/".
std::string WithoutTrailingSlashes(std::string path);

// The one mapping from a system error number: ENOENT gives 2, ENOSPC and
// EDQUOT give 112, anything else 87.
ErrorCode ErrorFromErrno(int error);
