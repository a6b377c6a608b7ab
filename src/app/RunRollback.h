// Undoing an installation run from its journal, the same way whether the run
// itself failed or a later start finds the journal of a run that died: what
// the run created goes first (it frees space), then the originals move back,
// then the folders get their times back. Every step may already have been
// done or never begun; each is checked, and none is skipped because another
// failed.
#pragma once

#include <string>

#include "app/InstallJournal.h"

struct RollbackOutcome {
    // Every original is back in its place (things the run created that could
    // not be removed do not count: nothing of the user's is lost by them).
    bool originalsRestored = true;
    // The backup folder, kept because some original could not be put back.
    std::string keptBackup;
};

// Puts the template directory back as the journal found it. A journal cut
// short before its plan was whole only has its empty backup folder removed.
RollbackOutcome RollBackRun(const JournalContent& journal);

// Settles a committed run: its backup folder is no longer needed.
void FinishCommittedRun(const JournalContent& journal);
