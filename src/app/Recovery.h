// What every start of the installer does first: settle the journals of runs
// that died (their lock is gone) and remove the unpacked kit images they left.
// Journals live in JournalFolder() (see InstallJournal.h).
#pragma once

#include <string>
#include <vector>

#include "app/DirectoryLock.h"
#include "app/InstallJournal.h"

// A dead run's journal that was settled or set aside now.
struct RecoveredRun {
    std::string target;      // its template directory
    std::string keptBackup;  // where originals that could not go back are kept, else empty
    std::string setAside;    // the journal, renamed, when it could not be used; else empty
    // The journal, kept as it is for a later start, when it could not be read,
    // when its directory was not found (`waiting`), or when its undo is not
    // complete (`unfinished`); else empty.
    std::string keptJournal;
    bool waiting = false;    // the directory is not where it was: moved, renamed, not mounted
    bool unfinished = false;
    std::string backup;      // a waiting run's backup folder, where its originals are (empty: none)
    bool busy = false;       // left: another start settles it, or only one without `held` can
};

// Rolls back every dead run's journal in `journalFolder` (or finishes its
// cleanup when it had committed), and removes the journals. A journal that
// fails its checks changes nothing: it is renamed "*.bad" and reported once.
// One that cannot be read, or whose directory is not found where it was (by
// path, device and inode), changes nothing either and stays for a later
// start; so does one whose undo is not complete. Each is settled holding the
// lock of its directory; journals of live runs, and of directories another
// live run holds, are left alone. `held` is the caller's own lock: a journal
// of its directory or one inside it is the caller's to settle, waited for
// while another start holds it, and reported busy when that start keeps it,
// as is one of a directory around the held one. Then removes the kit images in `tempFolder` ("" for none) that
// this installer made and no live run holds. Returns what it did.
std::vector<RecoveredRun> RecoverDeadRuns(const std::string& journalFolder, const std::string& tempFolder,
                                          const DirectoryLock* held = nullptr);

// The template directories (absolute, ending in "/") of dead runs whose
// journals in `journalFolder` still wait to be undone, found without
// settling, taking or changing anything: what a run that only reads must not
// describe as the directory's lasting state. Live runs' journals are not
// listed; nor are committed or undone ones, whose trees stand as they are.
std::vector<std::string> UnsettledTargets(const std::string& journalFolder);
