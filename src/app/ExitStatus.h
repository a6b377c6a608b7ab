// The exit status of the installer: what a script calling it learns of the
// outcome without reading anything else.
#pragma once

#include "app/ProgressState.h"

enum class ExitStatus : int {
    Success = 0,             // installed, or everything was already up to date
    Unexpected = 1,          // left for an abrupt end (toolkit abort, uncaught error)
    CouldNotStart = 2,       // no kit, damaged kit, no space, no display without -S, bad option value,
                             // another installation into the same directory running
    Failed = 3,              // the installation failed and was rolled back
    Cancelled = 4,           // cancelled by the user or stopped by a signal, rolled back
    RollbackIncomplete = 5,  // a rollback could not put everything back; files kept in the backup
    Differences = 6,         // a verification found installed files that differ from the kit's record
    NoRecord = 7,            // the directory holds no record of this kit to verify or uninstall
    JournalWaiting = 8,      // an interrupted run waits for its template directory to come back
};

// The status of an installation job that has ended as `report` says: a kept
// backup outweighs everything, then cancellation, then any other failure.
ExitStatus ExitStatusOf(const ProgressReport& report);
