#include "app/ExitStatus.h"

ExitStatus ExitStatusOf(const ProgressReport& report) {
    if (!report.keptBackup.empty() || report.status == ERR_ROLLBACK_UNFINISHED) return ExitStatus::RollbackIncomplete;
    if (report.status == ERR_JOURNAL_WAITING) return ExitStatus::JournalWaiting;
    if (report.status == ERR_CANCELLED) return ExitStatus::Cancelled;
    // Nothing was tried: another run holds the directory, or one inside or around it.
    if (report.status == ERR_BUSY || report.status == ERR_NESTED_BUSY || report.status == ERR_KIT_NOT_UNPACKED) {
        return ExitStatus::CouldNotStart;
    }
    if (report.status == ERR_NO_RECORD) return ExitStatus::NoRecord;  // nothing to uninstall, nothing changed
    if (report.status != ERR_NONE) return ExitStatus::Failed;
    return ExitStatus::Success;
}
