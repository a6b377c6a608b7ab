#include "app/RecoveredRunText.h"

#include "l10n/Messages.h"
#include "text/Convert.h"

namespace {

WString Line(const char* id, const std::string& path) { return LoadResString(id) + u" " + ToWString(path.c_str()); }

}  // namespace

WString WaitingJournalText(const RecoveredRun& run) {
    WString text = Line("IDS_JOURNAL_WAITING", run.target) + u"\n" + Line("IDS_JOURNAL_KEPT", run.keptJournal);
    if (!run.backup.empty()) text += u"\n" + Line("IDS_ORIGINALS_IN", run.backup);
    return text;
}

WString KeptJournalText(const RecoveredRun& run) {
    if (run.keptJournal.empty()) return WString();
    if (run.waiting) return WaitingJournalText(run);
    if (!run.unfinished) return Line("IDS_JOURNAL_UNREADABLE", run.keptJournal);
    WString text = Line("IDS_ROLLBACK_UNFINISHED", run.target);
    if (!run.keptBackup.empty()) text += u"\n" + Line("IDS_BACKUP_KEPT", run.keptBackup);
    return text + u"\n" + Line("IDS_JOURNAL_KEPT", run.keptJournal);
}
