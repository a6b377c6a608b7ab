// The controller side of the installation: it hands the job to the worker,
// follows its progress through the front end, and ends with the outcome that
// becomes the exit status.
#include <cstdio>

#include "app/InstallerController.h"
#include "app/TerminationSignals.h"
#include "l10n/Messages.h"
#include "launcher/LauncherPaths.h"
#include "launcher/TemplateDirectory.h"
#include "platform/FindData.h"
#include "platform/SystemPath.h"
#include "text/Convert.h"

namespace {

// The job has failed, been cancelled, or reported its end.
bool HasEnded(const ProgressReport& report) { return report.status != ERR_NONE || report.percent >= 100; }

// The summary has room for one launcher file: the first that was left as it
// was (the note names them all).
std::shared_ptr<const RunSummary> WithLauncherFileNotWritten(const RunSummary& summary, const WString& file) {
    auto noted = std::make_shared<RunSummary>(summary);
    AString system;
    if (ToSystemPath(file, &system)) noted->launcherFileNotWritten.assign(system.c_str(), system.size());
    return noted;
}

}  // namespace

void InstallerController::RunInstallation() {
    // Silent mode may arrive with an emptied proposal; never install into
    // whatever the working directory happens to be.
    if (targetDirectory_.empty()) targetDirectory_ = DefaultTemplateDirectory();
    progress_.StartJob(kit_, targetDirectory_, runKind_);
    state_ = STATE_INSTALLING;
    frontEnd_.BeginInstallation(targetDirectory_, progress_);
    if (worker_.StartWorker(progress_) != 0) {
        ProgressReport failed;
        failed.status = ERR_INVALID_PARAMETER;
        failed.message = LoadResString("IDS_INSTALL_ERROR");
        EndInstallation(failed);
        return;
    }
    FollowInstallation();
}

void InstallerController::FollowInstallation() {
    for (;;) {
        const ProgressReport report = progress_.ReadProgress();
        frontEnd_.ShowProgress(report);
        if (HasEnded(report)) break;
        // A signal is passed on here as well as by the main loop: without a
        // display nothing else would see it.
        if (TerminationSignals::Requested()) worker_.RequestStop();
        frontEnd_.WaitForProgress(progress_);
    }
    EndInstallation(progress_.ReadProgress());
}

void InstallerController::EndInstallation(const ProgressReport& ended) {
    // Nothing of the job may still run when the outcome is shown or recorded.
    worker_.Join();
    // Settled before the outcome is told: a front end lost on the way finds
    // the run complete and recorded.
    ProgressReport report = ended;
    const std::vector<WString> unrecorded = SettleOutcome(report);
    frontEnd_.ShowOutcome(report, exitStatus_);
    // Only now: while the outcome is being told the job still counts as running.
    state_ = exitStatus_ == ExitStatus::Success ? STATE_SUCCESS : STATE_ERROR;
    const WString note = OutcomeNote(report, unrecorded);
    if (!note.empty()) frontEnd_.ShowNote(note);
}

WString InstallerController::OutcomeNote(const ProgressReport& report, const std::vector<WString>& unrecorded) const {
    std::vector<WString> parts;
    // Whatever became of the run, a record set aside is named.
    if (report.summary != nullptr && !report.summary->recordSetAside.empty()) {
        parts.push_back(LoadResString("IDS_RECORD_SET_ASIDE") + u" " + ToWString(report.summary->recordSetAside.c_str()));
    }
    if (exitStatus_ == ExitStatus::Success && report.summary != nullptr) {
        const RunSummary& summary = *report.summary;
        const WString directory = ToWString(summary.templateDirectory.c_str());
        for (const RunSummary::KeptEdit& kept : summary.keptEdits) {
            const bool inPlace = kept.keptAs == kept.path;
            parts.push_back(LoadResString(inPlace ? "IDS_SUMMARY_KEPT_IN_PLACE" : "IDS_SUMMARY_KEPT_EDIT") + u" " +
                            directory + ToWString(kept.keptAs.c_str()));
        }
        if (!summary.removed.empty()) {
            parts.push_back(LoadResString("IDS_SUMMARY_REMOVED") + u" " +
                            IntToWString(static_cast<std::int32_t>(summary.removed.size()), 10));
        }
    }
    if (!unrecorded.empty()) parts.push_back(UnrecordedNote(unrecorded));
    WString note;
    for (const WString& part : parts) note += (note.empty() ? WString() : WString(u"\n")) + part;
    return note;
}

// The installation stands whatever happens here; the user only learns which
// launcher files do not name its directory, and so does the run's summary.
std::vector<WString> InstallerController::SettleOutcome(ProgressReport& report) {
    exitStatus_ = ExitStatusOf(report);
    outcomeSettled_ = true;
    if (exitStatus_ != ExitStatus::Success) return {};
    const std::vector<WString> unrecorded = RecordDirectory();
    if (!unrecorded.empty() && report.summary != nullptr) {
        report.summary = WithLauncherFileNotWritten(*report.summary, unrecorded.front());
        progress_.SetSummary(report.summary);
    }
    return unrecorded;
}

std::vector<WString> InstallerController::RecordDirectory() {
    // An uninstallation records nothing; a directory it removed is forgotten.
    if (runKind_ == RunSummary::Kind::Uninstall) {
        if (PathExists(targetDirectory_)) return {};
        return ForgetTemplateDirectory(targetDirectory_, templateLocations_, alternativeFilePresent_,
                                       locationsFromAlternative_);
    }
    return RecordTemplateDirectory(targetDirectory_, templateLocations_, alternativeFilePresent_,
                                   locationsFromAlternative_);
}

WString InstallerController::UnrecordedNote(const std::vector<WString>& unrecorded) {
    WString note = LoadResString("IDS_LAUNCHER_NOTRECORDED");
    for (const WString& file : unrecorded) note += u"\n" + file;
    return note;
}

// Without the front end: the job is stopped, but one that has committed
// stays committed, and its outcome is the run's.
ExitStatus InstallerController::SettleAbandonedRun() {
    if (!outcomeSettled_ && state_ == STATE_INSTALLING) {
        worker_.RequestStop();
        worker_.Join();
        ProgressReport report = progress_.ReadProgress();
        // A job that never started has touched nothing.
        if (!HasEnded(report)) return ExitStatus::Cancelled;
        const std::vector<WString> unrecorded = SettleOutcome(report);
        if (!unrecorded.empty()) {
            std::fprintf(stderr, "%s: %s\n", ToAString(LoadResString("IDR_MAINFRAME")).c_str(),
                         ToAString(UnrecordedNote(unrecorded)).c_str());
        }
    }
    return outcomeSettled_ ? exitStatus_ : ExitStatus::Unexpected;
}
