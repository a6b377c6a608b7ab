// The words for a dead run's journal that a start kept instead of settling:
// shown by the start that found it and by a run refused because of it.
#pragma once

#include "app/Recovery.h"
#include "text/WString.h"

// A journal waiting for its directory: which directory, where the journal
// is and where its originals are, so that it can also be finished by hand.
WString WaitingJournalText(const RecoveredRun& run);
// Any journal kept for a later start (waiting, unreadable, or its undo not
// complete); empty for a run that was settled or set aside.
WString KeptJournalText(const RecoveredRun& run);
