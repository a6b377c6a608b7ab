#include "app/ExitStatus.h"

ExitStatus ExitStatusOf(const ProgressReport& report) {
    if (!report.keptBackup.empty()) return ExitStatus::RollbackIncomplete;
    if (report.status == ERR_CANCELLED) return ExitStatus::Cancelled;
    if (report.status == ERR_BUSY) return ExitStatus::CouldNotStart;  // nothing was tried: another run holds the directory
    if (report.status == ERR_NO_RECORD) return ExitStatus::NoRecord;  // nothing to uninstall, nothing changed
    if (report.status != ERR_NONE) return ExitStatus::Failed;
    return ExitStatus::Success;
}
