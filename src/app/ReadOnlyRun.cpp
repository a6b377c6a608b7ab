// The controller's runs that change nothing: a dry run plans an installation
// as a real one would and prints what it would do; a verification compares
// the installed files with the kit's record. Neither takes a display, asks a
// question or runs the worker: the summary is made here and handed over at once.
#include <cstdio>

#include "app/InstallTransaction.h"
#include "app/InstallerController.h"
#include "app/KitOpenFailure.h"
#include "app/MessageFlags.h"
#include "app/Recovery.h"
#include "app/SummaryLines.h"
#include "app/TargetProblem.h"
#include "app/Verification.h"
#include "app/KitIdentity.h"
#include "kit/KitDirectoryOpen.h"
#include "l10n/Messages.h"
#include "launcher/LauncherPaths.h"
#include "platform/SystemPath.h"
#include "app/TerminationSignals.h"
#include "text/Convert.h"

namespace {

// On standard output, for scripts; everything for people goes through the front end.
void PrintLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// What keeps a run from `target` when the directory shows it (`problem`,
// from TargetProblem, with the directory), else the `fallback` text.
WString TargetMessage(const char* problem, const std::string& target, const char* fallback) {
    return problem != nullptr ? LoadResString(problem) + u" " + ToWString(target.c_str()) : LoadResString(fallback);
}

// Whether a dead run on `target`, in it or around it, is still to be undone:
// the next run that may change things puts its files back first.
bool InterruptedRunWaits(const std::string& target) {
    for (const std::string& waiting : UnsettledTargets(JournalFolder())) {
        if (waiting.starts_with(target) || target.starts_with(waiting)) return true;
    }
    return false;
}

}  // namespace

ExitStatus InstallerController::RunReadOnlyKeepingTemp() {
    ExitStatus status = ExitStatus::CouldNotStart;
    if (PrepareInstallation()) status = TerminationSignals::Requested() ? ExitStatus::Cancelled : RunReadOnly();
    KitClose(kit_);
    return status;
}

std::string InstallerController::ReadOnlyTarget() const {
    AString system;
    const WString directory = targetDirectory_.empty() ? DefaultTemplateDirectory() : targetDirectory_;
    if (!ToSystemPath(directory, &system) || system.empty() || system.c_str()[0] != '/') return std::string();
    std::string target(system.c_str(), system.size());
    if (target.back() != '/') target += '/';
    return target;
}

KitDescriptionsRead InstallerController::RecordReaderAhead() {
    const std::string target = ReadOnlyTarget();
    if (target.empty()) return {};
    return [this, target](const std::vector<KitDescription>& descriptions) {
        recordAhead_.Start(target, IdentityOfKit(descriptions));
    };
}

ExitStatus InstallerController::RunReadOnly() {
    if (targetDirectory_.empty()) targetDirectory_ = DefaultTemplateDirectory();
    const std::string target = ReadOnlyTarget();
    if (target.empty()) {
        frontEnd_.ShowMessage(LoadResString("IDS_SETUP_EMPTYTARGET"), MB_ERROR_OK);
        return ExitStatus::CouldNotStart;
    }
    // What the tree shows now is not what it will be: nothing is described as lasting.
    if (InterruptedRunWaits(target)) {
        auto summary = std::make_shared<RunSummary>();
        summary->kind = runKind_;
        summary->templateDirectory = target;
        const KitIdentity kit = IdentityOfKit(kit_.descriptions);
        summary->product = kit.product;
        summary->provider = kit.provider;
        progress_.SetSummary(summary);
        frontEnd_.ShowMessage(LoadResString("IDS_INTERRUPTED_RUN_PENDING") + u" " + ToWString(target.c_str()), MB_ERROR_OK);
        return ExitStatus::CouldNotStart;
    }
    return runKind_ == RunSummary::Kind::Verify ? RunVerification(target) : RunDryRun(target);
}

ExitStatus InstallerController::RunDryRun(const std::string& target) {
    InstallTransaction transaction;
    const RecordOptions options{previewsUninstall_ ? RecordOptions::Kind::UninstallDryRun : RecordOptions::Kind::DryRun,
                                IdentityOfKit(kit_.descriptions), &recordAhead_};
    const ErrorCode code = transaction.Plan(ToWString(target.c_str()), kit_.entries, options);
    if (transaction.recordDamaged()) {
        frontEnd_.ShowNote(LoadResString("IDS_RECORD_DAMAGED") + u" " + ToWString((target + transaction.recordSetAside()).c_str()));
    }
    auto summary = std::make_shared<RunSummary>();
    summary->kind = RunSummary::Kind::DryRun;
    transaction.DescribeSubject(*summary);
    // As asked for, even where the plan could not reach it.
    summary->templateDirectory = target;
    if (code != ERR_NONE) {
        progress_.SetSummary(summary);
        if (code == ERR_NO_RECORD) {
            frontEnd_.ShowMessage(LoadResString("IDS_NO_RECORD") + u" " + ToWString(target.c_str()), MB_ERROR_OK);
            return ExitStatus::NoRecord;
        }
        if (code == ERR_RECORD_OBSTRUCTED) return RecordObstructed(target);
        if (IsKitOpenFailure(code)) {
            frontEnd_.ShowMessage(LoadResString(KitOpenFailureMessage(code)), MB_ERROR_OK);
            return ExitStatus::CouldNotStart;
        }
        if (code == ERR_BUSY) {
            frontEnd_.ShowMessage(LoadResString("IDS_DIRECTORY_BUSY"), MB_ERROR_OK);
            return ExitStatus::CouldNotStart;
        }
        frontEnd_.ShowMessage(TargetMessage(TargetProblem(target), target, "IDS_INSTALL_ERROR"), MB_ERROR_OK);
        return ExitStatus::Failed;
    }
    // What would stop the run it stands for before it changed anything stops it too.
    const char* problem = transaction.ChangesAnything() ? TargetProblem(target) : nullptr;
    const bool fits = transaction.CheckSpace() == ERR_NONE;
    if (problem != nullptr || !fits) {
        progress_.SetSummary(summary);
        frontEnd_.ShowMessage(TargetMessage(problem, target, "IDS_ERROR_NOSPACE_TARGET"), MB_ERROR_OK);
        return ExitStatus::Failed;
    }
    // The run it stands for unpacks the kit only for files it needs; so it
    // finds a kit damaged past its directory only then, and so does this.
    const ErrorCode whole = transaction.NeedsKitData() ? KitCheckWholeStream(kit_) : ERR_NONE;
    if (whole != ERR_NONE) {
        progress_.SetSummary(summary);
        frontEnd_.ShowMessage(LoadResString(KitOpenFailureMessage(whole)), MB_ERROR_OK);
        return ExitStatus::CouldNotStart;
    }
    transaction.Describe(*summary);
    progress_.SetSummary(summary);
    DryRunLines(*summary, PrintLine);
    std::fflush(stdout);
    frontEnd_.ShowNote(LoadResString("IDS_DRYRUN_DONE") + u" " + ToWString(target.c_str()));
    return ExitStatus::Success;
}

// As an installation would end there: nothing done, and the obstacle named.
ExitStatus InstallerController::RecordObstructed(const std::string& target) {
    frontEnd_.ShowMessage(LoadResString("IDS_RECORD_NOT_FOLDER") + u" " + ToWString((target + kRecordFolder).c_str()),
                          MB_ERROR_OK);
    return ExitStatus::Failed;
}

ExitStatus InstallerController::RunVerification(const std::string& target) {
    VerificationResult result = VerifyInstallation(target, kit_, &recordAhead_);
    auto summary = std::make_shared<RunSummary>(std::move(result.summary));
    progress_.SetSummary(summary);
    if (result.record == RecordState::Obstructed) return RecordObstructed(target);
    if (result.record == RecordState::Damaged) {
        frontEnd_.ShowMessage(LoadResString("IDS_RECORD_DAMAGED") + u" " +
                                  ToWString((target + RecordPath(IdentityOfKit(kit_.descriptions))).c_str()),
                              MB_ERROR_OK);
        return ExitStatus::NoRecord;
    }
    if (result.record == RecordState::Missing) {
        frontEnd_.ShowMessage(LoadResString("IDS_NO_RECORD") + u" " + ToWString(target.c_str()), MB_ERROR_OK);
        return ExitStatus::NoRecord;
    }
    VerifyLines(*summary, PrintLine);
    std::fflush(stdout);
    const bool same = summary->differences.empty();
    frontEnd_.ShowNote(same ? LoadResString("IDS_VERIFY_SAME") + u" " + ToWString(target.c_str())
                            : LoadResString("IDS_VERIFY_DIFFERENT") + u" " +
                                  IntToWString(static_cast<std::int32_t>(summary->differences.size()), 10));
    return same ? ExitStatus::Success : ExitStatus::Differences;
}
