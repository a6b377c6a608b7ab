// What a kit may name as a file to install: a relative path that stays
// inside the template directory and that the file system can hold.
#pragma once

#include "text/WString.h"

// The folder of the template directory where the installer keeps the record
// of what each kit installed: no kit entry may lie in it or take its name.
inline constexpr char kRecordFolder[] = ".qorn-record";

// False for an empty name, a name holding a control character (C0 or DEL),
// an absolute name, a name with an empty, "." or ".." component (so also one
// ending in a separator), one whose first component is kRecordFolder, or one
// longer than the file system allows: a component over NAME_MAX bytes or the
// whole over PATH_MAX - 1 bytes, counted in UTF-8. Both "\" and "/" count as
// separators.
bool IsSafeEntryName(const WString& name);
