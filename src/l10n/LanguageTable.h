// The message tables of the languages, keyed by language number: each built
// from its constant list on its first lookup, once, whichever thread asks
// first, and only read afterwards. A run reads one or two languages of the
// sixteen, and builds no others.
#pragma once

#include <cstdint>
#include <map>
#include <span>

#include "l10n/MessageList.h"
#include "text/WString.h"

// Identifier (ASCII) to text (UTF-8), ordered byte-wise.
using MessageTable = std::map<AString, AString>;

// Every language the installer speaks: number, two-letter code, texts.
std::span<const LanguageMessages* const> AllLanguages();
// The table of language `number`, or nullptr when there is no such language.
const MessageTable* MessageTableOf(std::int32_t number);
