#include "app/InstallJob.h"

#include "app/InstallTransaction.h"
#include "app/ProgressState.h"
#include "kit/KitReader.h"
#include "l10n/Messages.h"
#include "text/Convert.h"

namespace {

std::int32_t PercentBefore(std::size_t index, std::size_t count) {
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(index) * 100 / count);
}

WString DestinationOf(const WString& target, const KitEntry& entry) {
    WString name = entry.name;
    ReplaceAll(name, u"\\", u"/");
    return target + name;
}

EntryOutcome OutcomeOf(EntryAction action) {
    if (action == EntryAction::Skip) return EntryOutcome::UpToDate;
    return action == EntryAction::Replace ? EntryOutcome::Replaced : EntryOutcome::Created;
}

// The report follows the rollback, so no page claims an unchanged directory
// while files are still being put back, or when some could not be.
ErrorCode EndWithRollback(InstallTransaction& transaction, ProgressState& progress, ErrorCode code,
                          std::int32_t percent) {
    const RollbackOutcome outcome = transaction.Rollback();
    const char* text = code == ERR_CANCELLED ? "IDS_CANCEL_FINISH" : "IDS_INSTALL_ERROR";
    if (code == ERR_DISK_FULL) text = "IDS_ERROR_NOSPACE_TARGET";
    const WString kept = outcome.keptBackup.empty() ? WString() : ToWString(outcome.keptBackup.c_str());
    progress.PostProgress(code, LoadResString(text), percent, kept);
    return code;
}

}  // namespace

ErrorCode RunInstallJob(InstallTransaction& transaction, ProgressState& progress) {
    const JobParameters job = progress.ReadJob();
    KitReader& kit = *job.job;
    ErrorCode code = transaction.Plan(job.target, kit.entries);
    if (code == ERR_NONE) code = transaction.CheckSpace();
    if (code == ERR_NONE) code = transaction.Begin();
    if (code != ERR_NONE) return EndWithRollback(transaction, progress, code, 0);

    const std::size_t count = kit.entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t percent = PercentBefore(i, count);
        if (progress.IsCancelRequested()) return EndWithRollback(transaction, progress, ERR_CANCELLED, percent);
        progress.PostProgress(ERR_NONE, DestinationOf(job.target, kit.entries[i]), percent);
        code = transaction.Install(kit, i);
        if (code != ERR_NONE) return EndWithRollback(transaction, progress, code, percent);
        progress.CountEntry(OutcomeOf(transaction.ActionOf(i)));
    }
    // A stop asked for during the last entry still leaves the directory as it was.
    if (progress.IsCancelRequested()) return EndWithRollback(transaction, progress, ERR_CANCELLED, 100);
    code = transaction.Commit();
    if (code != ERR_NONE) return EndWithRollback(transaction, progress, code, 100);
    progress.PostProgress(ERR_NONE, LoadResString("IDS_INSTALL_FINISH"), 100);
    return ERR_NONE;
}
