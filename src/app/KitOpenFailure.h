// What a user is told when the kit cannot be read or unpacked.
#pragma once

#include "platform/ErrorCode.h"

// The message's identifier for the code of a failed open or unpacking: the
// temporary directory's own trouble is told apart from a damaged kit.
const char* KitOpenFailureMessage(ErrorCode code);
// Whether the code tells of the kit itself or of the temporary directory
// (what KitOpenFailureMessage has a text of its own for, a damaged kit
// included), rather than of the system the run met (descriptors, memory).
bool IsKitOpenFailure(ErrorCode code);
