// What the installer takes from its command line: "usecwd" as the very first
// argument, the S (silent) option and the first L (language) option.
#pragma once

#include "text/WString.h"

struct CommandLineOptions {
    bool useCurrentDirectory = false;  // the kit is looked for in the current directory
    bool silent = false;               // install without waiting for the user
    bool hasLanguageOption = false;    // an L option was found
    AString languageCode;              // what followed its letter, possibly empty
};

// Scans argv[1..argc) (from argv[2] after "usecwd"); unknown arguments are
// passed over and the first L option ends the scan. Never fails.
CommandLineOptions ParseCommandLine(int argc, const char* const* argv);
