// What a kit may name as a file to install: a relative path that stays
// inside the template directory.
#pragma once

#include "text/WString.h"

// False for an empty name, a name holding a zero unit, an absolute name, a
// name with a ".." component, or one that names no file (ending in a
// separator or "."). Both "\" and "/" count as separators.
bool IsSafeEntryName(const WString& name);
