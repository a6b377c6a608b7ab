// Turning the kit file, one raw deflate stream, into its unpacked image.
#pragma once

#include "platform/ErrorCode.h"
#include "text/WString.h"

// Inflates `source` into `destination` (created when missing, cut to the
// inflated length). 0; 13 when the source cannot be mapped (an empty file
// included), is no complete raw deflate stream, or inflates past 4 GiB;
// otherwise the code of the failed open or write.
ErrorCode InflateFile(const WString& source, const WString& destination);
