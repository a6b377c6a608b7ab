#include "app/InstallJob.h"

#include "app/InstallTransaction.h"
#include "app/ProgressState.h"
#include "kit/KitReader.h"
#include "l10n/Messages.h"
#include "platform/File.h"
#include "platform/FindData.h"

namespace {

std::int32_t PercentBefore(std::size_t index, std::size_t count) {
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(index) * 100 / count);
}

WString DestinationOf(const WString& target, const KitEntry& entry) {
    WString name = entry.name;
    ReplaceAll(name, u"\\", u"/");
    return target + name;
}

WString DirectoryOf(const WString& path) {
    const auto slash = path.rfind(u'/');
    return slash == WString::npos ? WString() : path.substr(0, slash);
}

// Installs one entry whose destination is older than the entry or missing;
// `outcome` says whether a file was created or replaced.
ErrorCode InstallEntry(InstallTransaction& transaction, KitReader& kit, std::size_t index,
                       const WString& destination, EntryOutcome* outcome) {
    // Only a file that was moved away, or none at all, may be written over:
    // any other answer leaves the user's file without a copy to give back.
    const ErrorCode backup = BackupFile(transaction, destination);
    if (backup != ERR_NONE && backup != ERR_FILE_NOT_FOUND) return backup;
    if (backup == ERR_FILE_NOT_FOUND) RecordCreatedFile(transaction, destination);
    *outcome = backup == ERR_NONE ? EntryOutcome::Replaced : EntryOutcome::Created;
    const WString directory = DirectoryOf(destination);
    if (!directory.empty()) {
        const ErrorCode created = CreateDirectoryRecorded(transaction, directory);
        if (created != ERR_NONE) return created;
    }
    return KitExtractEntry(kit, index, destination);
}

}  // namespace

ErrorCode RunInstallJob(InstallTransaction& transaction, ProgressState& progress) {
    const JobParameters job = progress.ReadJob();
    const ErrorCode begun = BeginTransaction(transaction, job.target);
    if (begun != ERR_NONE) return ReportInstallError(transaction, progress, begun, 0);

    KitReader& kit = *job.job;
    const std::size_t count = kit.entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t percent = PercentBefore(i, count);
        if (progress.IsCancelRequested()) return ReportCancellation(transaction, progress, percent);
        const WString destination = DestinationOf(job.target, kit.entries[i]);
        progress.PostProgress(ERR_NONE, destination, percent);
        // A directory in the way is an error before anything is moved: in the
        // backup, the commit would delete it with everything in it.
        if (IsDirectory(destination)) return ReportInstallError(transaction, progress, ERR_INVALID_PARAMETER, percent);
        if (!FileIsOlderThan(destination, kit.entries[i].lastWriteTime)) {
            progress.CountEntry(EntryOutcome::UpToDate);
            continue;
        }
        EntryOutcome outcome = EntryOutcome::Created;
        const ErrorCode result = InstallEntry(transaction, kit, i, destination, &outcome);
        if (result != ERR_NONE) return ReportInstallError(transaction, progress, result, percent);
        progress.CountEntry(outcome);
    }
    // A stop asked for during the last entry still leaves the directory as it was.
    if (progress.IsCancelRequested()) return ReportCancellation(transaction, progress, 100);
    CommitTransaction(transaction);
    progress.PostProgress(ERR_NONE, LoadResString("IDS_INSTALL_FINISH"), 100);
    return ERR_NONE;
}

ErrorCode ReportInstallError(InstallTransaction& transaction, ProgressState& progress, ErrorCode code,
                             std::int32_t percent) {
    // The report follows the rollback, so the error page never claims an
    // unchanged directory while files are still being put back.
    const ErrorCode result = RollbackTransaction(transaction, code);
    progress.PostProgress(code, LoadResString("IDS_INSTALL_ERROR"), percent);
    return result;
}

ErrorCode ReportCancellation(InstallTransaction& transaction, ProgressState& progress, std::int32_t percent) {
    const ErrorCode result = RollbackTransaction(transaction, ERR_CANCELLED);
    progress.PostProgress(ERR_CANCELLED, LoadResString("IDS_CANCEL_FINISH"), percent);
    return result;
}
