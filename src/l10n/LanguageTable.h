// The message tables of all languages, keyed by language number: built once
// from the constant lists before the program's entry point runs and only
// read afterwards, so lookups from any thread need no lock.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "text/WString.h"

// Identifier (ASCII) to text (UTF-8), ordered byte-wise.
using MessageTable = std::map<AString, AString>;

// Language number to (two-letter code, table).
using LanguageTable = std::map<std::int32_t, std::pair<AString, MessageTable>>;

// The one table of all 16 languages; built on first use, which a static
// initialiser of this library makes happen before main.
const LanguageTable& Languages();
