// Reading and writing a launcher configuration file: lines of key "=" value
// in the locale's multibyte encoding, with nothing trimmed and nothing
// dropped except empty lines; a rewrite groups each key's values together.
#pragma once

#include <cstdio>

#include "launcher/ConfigEntryList.h"
#include "text/WString.h"

// fopen of the 8-bit forms of two zero-terminated 16-bit texts; null on failure.
std::FILE* OpenFileW(const char16_t* path, const char16_t* mode);
// Adds the file's keys and values to `list` (not cleared first). A file that
// cannot be opened adds nothing; nothing is reported.
void ReadConfigFile(const WString& path, ConfigEntryList& list);
// Replaces the file with one "key=value" line per value, entry by entry; an
// entry without values writes no line. Throws int 1 when the file cannot be
// opened or replaced, int 2 when a line cannot be written or cannot be
// represented (a key holding "=" or a line break, a value holding a line
// break, text the locale's encoding cannot carry). The old file stays whole
// whenever it throws.
void WriteConfigFile(const WString& path, const ConfigEntryList& list);
