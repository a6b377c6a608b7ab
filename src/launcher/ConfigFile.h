// Reading and writing a launcher configuration file: lines of key "=" value
// in the locale's multibyte encoding, with nothing trimmed and nothing
// dropped except empty lines and repeated values; a rewrite groups each key's
// values together and writes every line it read back with its own bytes.
#pragma once

#include <string_view>

#include "launcher/ConfigEntryList.h"
#include "launcher/WholeFileRead.h"
#include "text/WString.h"

// Adds the keys and values of the file at `path` to `list` (not cleared
// first) when the file can be read whole; otherwise adds nothing and says
// why. Never waits on a named pipe, socket or device at the path.
WholeFileRead ReadConfigFile(const WString& path, ConfigEntryList& list);
// Adds the keys and values of a file's content to `list`.
void ReadConfigText(std::string_view content, ConfigEntryList& list);
// Replaces the file with one line per value, entry by entry: a value read
// from a file as the line it was read from, any other as "key=value" ended
// like the list's first line. An entry without values writes no line.
// Throws int 1 when the file cannot be opened or replaced, int 2 when a line
// cannot be written or cannot be represented (a key holding "=" or a line
// break, a value holding a line break, text the locale's encoding cannot
// carry). The old file stays whole whenever it throws.
void WriteConfigFile(const WString& path, const ConfigEntryList& list);
