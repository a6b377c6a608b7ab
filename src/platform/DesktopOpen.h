// Opening a document in the desktop's viewer.
#pragma once

#include "platform/ErrorCode.h"
#include "text/WString.h"

// Starts "xdg-open" with the path as its single argument (no shell), error
// output discarded. Reaps it when it ends quickly and leaves it running
// otherwise. 0 when started, 87 when it could not be started.
ErrorCode OpenWithDesktop(const WString& path);
