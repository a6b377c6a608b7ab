// Undoing an installation run from its journal, the same way whether the run
// itself failed or a later start finds the journal of a run that died: what
// the run created goes first (it frees space), then the originals move back,
// then the folders get their times back. Every path is reached below the
// anchor's descriptor, and a file is removed or overwritten only while it is
// still the one the run wrote; whatever somebody changed since stays, and so
// does the original it would have lost, in the backup folder. Every step may
// already have been done or never begun; each is checked, and none is
// skipped because another failed.
#pragma once

#include <string>
#include <vector>

#include "app/InstallJournal.h"

struct RollbackOutcome {
    // Every original is back in its place (things the run created that could
    // not be removed do not count: nothing of the user's is lost by them).
    bool originalsRestored = true;
    // Nothing of the run is left to tidy: the backup folder is gone. When
    // false with every original back, the journal stays for the next start.
    bool settled = true;
    // The backup folder, kept because some original could not be put back.
    std::string keptBackup;
    // A step failed for a reason other than what it found (out of
    // descriptors, an I/O error, a folder that refused): the undo is not
    // complete, the journal stays, and a later start tries again.
    bool unfinished = false;
    // The files the run created that are still there because they could
    // not be removed: paths below the target, in the journal's order.
    std::vector<std::string> createdLeft;
};

// Opens the journal's anchor by its path and checks it is the folder the run
// saw (device and inode): a descriptor, else -1.
int OpenAnchor(const JournalContent& journal);
// Opens the journal's backup folder (its last component never a link) and
// checks it is the one the run made: a descriptor, else -1 (gone, or not ours).
int OpenBackupFolder(const JournalContent& journal);

// Puts the tree below `anchor` back as the journal found it, originals taken
// from `backup` (-1 when it is gone), and syncs the anchor's file system
// before it returns, so that the journal may go. A journal cut short before
// its plan was whole only has its empty backup folder removed.
RollbackOutcome RollBackRun(const JournalContent& journal, int anchor, int backup);

// Settles a committed run: its backup folder is no longer needed. True when it is gone.
bool FinishCommittedRun(const JournalContent& journal, int backup);
