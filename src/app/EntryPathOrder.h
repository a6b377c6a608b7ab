// Kit entry names compared as the paths they become ("\\" and "/" both
// separate folders, letter case counts): for finding the entries that name
// one file, by hash first and then in full.
#pragma once

#include <cstdint>
#include <vector>

#include "kit/KitReader.h"
#include "text/WString.h"

std::uint32_t PathHash(const WString& name);
// Below zero, zero or above zero, as `a` sorts before, with or after `b`.
int ComparePaths(const WString& a, const WString& b);
// Whether each entry's name sorts after the one before it: then no two
// entries name one path. A kit packed from a folder lists its names so.
bool NamesInStrictOrder(const std::vector<KitEntry>& entries);
