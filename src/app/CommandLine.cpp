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
        if (IsOption(argument, 'L')) {
            options.hasLanguageOption = true;
            options.languageCode = AString(argument + 2);
            break;
        }
        if (IsOption(argument, 'S')) {
            options.silent = true;
        }
    }
    return options;
}
