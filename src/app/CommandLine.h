// What the installer takes from its command line: "usecwd" as the very first
// argument, the S (silent) option, the first L (language) option, the first
// D (target directory) option, the T (terminal) option, a request for help,
// the run kind: a dry run (N), a verification (V) or an uninstallation (U),
// "--json" and "--progress-lines".
#pragma once

#include "text/WString.h"

struct CommandLineOptions {
    bool useCurrentDirectory = false;  // the kit is looked for in the current directory
    bool silent = false;               // install without waiting for the user
    bool hasLanguageOption = false;    // an L option was found
    AString languageCode;              // what followed its letter, possibly empty
    bool hasTargetOption = false;      // a D option was found
    AString targetDirectory;           // what followed its letter, possibly empty
    bool showHelp = false;             // "-h", "--help" or "/?"
    bool terminal = false;             // ask in the terminal even where a display can be opened
    bool dryRun = false;               // "--dry-run", -N: plan and say what an installation would do, change nothing
    bool verify = false;               // "--verify", -V: compare the installed files with the kit's record
    bool uninstall = false;            // "--uninstall", -U: remove what the kit's record lists
    bool json = false;                 // "--json": one machine-readable document on standard output at the end
    bool progressLines = false;        // "--progress-lines": progress as lines that stay
};

// Scans argv[1..argc) (from argv[2] after "usecwd"). S counts only before the
// first L option, as it always has; D, T, --json, --progress-lines and the help forms count anywhere, so
// that no order of options makes a script install somewhere else; so do the
// run kinds, where uninstall outweighs verify and verify a dry run. Unknown
// arguments are passed over. Never fails.
CommandLineOptions ParseCommandLine(int argc, const char* const* argv);
