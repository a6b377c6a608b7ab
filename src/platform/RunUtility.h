// Starting a standard utility directly with an argument vector, never
// through a shell, and reading how it ended.
#pragma once

#include <string>
#include <vector>

enum class UtilityOutcome {
    NotStarted,  // the program could not be started at all
    Succeeded,   // it exited with status 0
    Failed,      // it exited with another status or was ended by a signal
};

// Runs `argv` (argv[0] looked up in PATH) with standard input and error on
// /dev/null and every signal at its default action; waits for it to end.
UtilityOutcome RunUtility(const std::vector<std::string>& argv);
