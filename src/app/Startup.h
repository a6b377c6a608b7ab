// The life of the installer on the main thread: command line, language,
// title, the dialog and its run.
#pragma once

#include <cstdint>

#include "app/ExitStatus.h"
#include "text/WString.h"

struct StartupContext {
    int argc = 0;
    char** argv = nullptr;
    std::uint32_t language = 0;
    WString title;
};

// Runs the whole installer and returns the status the process ends with.
// A help request prints the usage on standard output and returns Success
// without a display and without a kit; an option with a bad value is one
// line on standard error and CouldNotStart. Either first says on standard
// error what the recovery of dead runs did, as the dialog would.
ExitStatus RunInstaller(StartupContext& context);
