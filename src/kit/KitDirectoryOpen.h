// Opening a kit for a run that changes nothing: its descriptions and entry
// list, read straight from the stream in memory, with no image unpacked into
// the temporary directory and none of the files' data kept.
#pragma once

#include "kit/InflateFile.h"
#include "kit/KitReader.h"
#include "platform/ErrorCode.h"
#include "text/WString.h"

// Fills `reader` as KitOpen would (the same descriptions, the same entries
// with the same offsets, the same answer for every kit, damaged ones
// included: the whole stream is checked to its end), but leaves no image
// open: KitExtractEntry and KitCopyEntryData answer 6. 0; 13 for a damaged
// kit; 2 or 87 for failed opens and reads of the kit. The entries are empty
// after a failure.
ErrorCode KitOpenDirectory(KitReader& reader, const WString& path, const KitSlice& slice = KitSlice{});
