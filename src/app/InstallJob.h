// The installation job that the worker thread runs: every kit entry is copied
// into the template directory inside one transaction, committed when all went
// well and rolled back on an error or a cancellation.
#pragma once

#include <cstdint>

#include "platform/ErrorCode.h"

class InstallTransaction;
class ProgressState;

// Runs the job posted in `progress`. Plans first and fails before any change
// when a destination is an obstacle or the files do not fit. Posts a report
// per entry and counts how each was handled, then 100 on success; on failure rolls back and posts the failing
// code with the text of "IDS_INSTALL_ERROR"; on cancellation rolls back and
// posts ERR_CANCELLED with the text of "IDS_CANCEL_FINISH". A rollback that
// could not put every original back posts the kept backup folder with it;
// so does a dead run's undo before the plan (with the text of
// "IDS_RECOVERED_PARTLY" and the directory), and nothing is installed. Out
// of memory while the entries are installed, on either thread, fails the
// run (87) and is undone like any other failure.
// Returns the code it ended with.
ErrorCode RunInstallJob(InstallTransaction& transaction, ProgressState& progress);
