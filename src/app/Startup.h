// The life of the installer on the main thread: command line, language,
// title, the front end, the controller and its run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/InstallerFrontEnd.h"
#include "app/RunSummary.h"
#include "text/WString.h"

struct StartupContext;

// Makes the front end the run talks through, once the options, the language
// and the title are known; never null.
using FrontEndChooser =
    std::function<std::unique_ptr<InstallerFrontEnd>(const StartupContext& context, const CommandLineOptions& options)>;

struct StartupContext {
    int argc = 0;
    char** argv = nullptr;
    std::uint32_t language = 0;
    WString title;
    FrontEndChooser chooseFrontEnd;
    // Loads what the --json report is written with, where the program loads
    // it only for a run that asks for it; false with the reason in *why.
    std::function<bool(std::string* why)> loadReportLibrary;
};

// The run the options ask for: an uninstallation outweighs a verification,
// a verification a dry run; an installation without any of them.
RunSummary::Kind RunKindOf(const CommandLineOptions& options);

// Runs the whole installer and returns the status the process ends with.
// A help request prints the usage on standard output and returns Success
// without a display and without a kit; an option with a bad value is one
// line on standard error and CouldNotStart. Either first says on standard
// error what the recovery of dead runs did, as the dialog would.
ExitStatus RunInstaller(StartupContext& context);
