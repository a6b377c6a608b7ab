// What a user is told when the kit cannot be read or unpacked.
#pragma once

#include "platform/ErrorCode.h"
#include "text/WString.h"

// The message's identifier for the code of a failed open or unpacking: the
// temporary directory's own trouble and a kit that is not there (a link to
// nothing) are told apart from a damaged kit.
const char* KitOpenFailureMessage(ErrorCode code);
// The same for the kit at `kitPath` that could not be opened: one this
// process may not read is told so, not called damaged.
const char* KitOpenFailureMessage(ErrorCode code, const WString& kitPath);
// Whether the code tells of the kit itself or of the temporary directory
// (what KitOpenFailureMessage has a text of its own for, a damaged kit
// included), rather than of the system the run met (descriptors, memory).
bool IsKitOpenFailure(ErrorCode code);
