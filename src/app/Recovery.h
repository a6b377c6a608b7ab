// What every start of the installer does first: settle the journals of runs
// that died (their lock is gone) and remove the unpacked kit images they left.
// Journals live in JournalFolder() (see InstallJournal.h).
#pragma once

#include <string>
#include <vector>

// A run that died before its commit and was undone now.
struct RecoveredRun {
    std::string target;      // its template directory
    std::string keptBackup;  // where originals that could not go back are kept, else empty
};

// Rolls back every dead run's journal in `journalFolder` (or finishes its
// cleanup when it had committed), removes the journals, and removes the
// images "edf*" in `tempFolder` that no running installer holds. Journals
// and images of live runs are left alone. Returns the runs that were undone.
std::vector<RecoveredRun> RecoverDeadRuns(const std::string& journalFolder, const std::string& tempFolder);
