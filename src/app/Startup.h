// The life of the installer on the main thread: command line, language,
// title, the dialog and its run.
#pragma once

#include <cstdint>

#include "text/WString.h"

struct StartupContext {
    int argc = 0;
    char** argv = nullptr;
    std::uint32_t language = 0;
    WString title;
};

// Runs the whole installer; returns when it is finished.
void RunInstaller(StartupContext& context);
