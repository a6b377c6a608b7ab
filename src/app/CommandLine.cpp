#include "app/CommandLine.h"

#include <cstring>

namespace {

// Exactly "usecwd": letter case matters and nothing may follow.
bool IsUseCurrentDirectory(const char* argument) { return std::strcmp(argument, "usecwd") == 0; }

// "-x" or "/x" with x the given letter in either case.
bool IsOption(const char* argument, char upperLetter) {
    const bool introduced = argument[0] == '-' || argument[0] == '/';
    return introduced && (argument[1] == upperLetter || argument[1] == upperLetter - 'A' + 'a');
}

bool IsHelpRequest(const char* argument) {
    return std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0 ||
           std::strcmp(argument, "/?") == 0;
}

// The whole argument "-x" or "/x" (either case), or the long form "--name": a
// run kind is never read out of a longer word such as "-Verbose".
bool IsKindOption(const char* argument, char upperLetter, const char* longForm) {
    return std::strcmp(argument, longForm) == 0 || (IsOption(argument, upperLetter) && argument[2] == '\0');
}

}  // namespace

CommandLineOptions ParseCommandLine(int argc, const char* const* argv) {
    CommandLineOptions options;
    int index = 1;
    if (argc >= 2 && argv[1] != nullptr && IsUseCurrentDirectory(argv[1])) {
        options.useCurrentDirectory = true;
        index = 2;
    }
    for (; index < argc; ++index) {
        const char* argument = argv[index];
        if (argument == nullptr) {
            break;  // the vector ends early; nothing further is an argument
        }
        if (IsHelpRequest(argument)) {
            options.showHelp = true;
        } else if (std::strcmp(argument, "--json") == 0) {
            options.json = true;
        } else if (IsKindOption(argument, 'N', "--dry-run")) {
            options.dryRun = true;
        } else if (IsKindOption(argument, 'V', "--verify")) {
            options.verify = true;
        } else if (IsKindOption(argument, 'U', "--uninstall")) {
            options.uninstall = true;
        } else if (std::strcmp(argument, "--progress-lines") == 0) {
            options.progressLines = true;
        } else if (IsOption(argument, 'D')) {
            if (!options.hasTargetOption) options.targetDirectory = AString(argument + 2);
            options.hasTargetOption = true;
        } else if (IsOption(argument, 'T')) {
            options.terminal = true;
        } else if (IsOption(argument, 'L')) {
            if (!options.hasLanguageOption) options.languageCode = AString(argument + 2);
            options.hasLanguageOption = true;
        } else if (IsOption(argument, 'S') && !options.hasLanguageOption) {
            options.silent = true;
        }
    }
    return options;
}
