// The user-interface side of the installation: it hands the job to the
// worker, follows its progress while keeping the window alive, and ends on
// the success or the error page.
#include "app/InstallerDlg.h"
#include "l10n/Messages.h"
#include "launcher/LauncherPaths.h"
#include "launcher/TemplateDirectory.h"
#include "ui/MessageBox.h"
#include "ui/ProgressPage.h"

namespace {

// The loop wakes at least this often even if the worker's wake-ups were lost.
constexpr guint kPollIntervalMs = 250;
constexpr gulong kHeadlessPollMicroseconds = 100000;

gboolean KeepPolling(gpointer) { return TRUE; }

// The job has failed, been cancelled, or reported its end.
bool HasEnded(const ProgressReport& report) { return report.status != ERR_NONE || report.percent >= 100; }

// A timer source for the duration of the progress loop.
class PollTimer {
public:
    PollTimer() : id_(g_timeout_add(kPollIntervalMs, &KeepPolling, nullptr)) {}
    ~PollTimer() { g_source_remove(id_); }
    PollTimer(const PollTimer&) = delete;
    PollTimer& operator=(const PollTimer&) = delete;

private:
    guint id_;
};

}  // namespace

void CInstallerDlg::RunInstallation() {
    if (!progressPage_ && fixed_ != nullptr) progressPage_ = std::make_unique<ProgressPage>(fixed_, width_ - 20);
    if (backButton_ != nullptr) {
        gtk_widget_set_sensitive(backButton_, FALSE);
        gtk_widget_set_sensitive(nextButton_, FALSE);
    }
    // Silent mode may arrive with an emptied proposal; never install into
    // whatever the working directory happens to be.
    if (targetDirectory_.empty()) targetDirectory_ = DefaultTemplateDirectory();
    progress_.StartJob(kit_, targetDirectory_);
    ShowPage(progressPage_.get());
    state_ = STATE_INSTALLING;
    if (hasDisplay_) progress_.SetWakeUp([] { g_main_context_wakeup(nullptr); });
    if (worker_.StartWorker(progress_) != 0) {
        ProgressReport failed;
        failed.status = ERR_INVALID_PARAMETER;
        failed.message = LoadResString("IDS_INSTALL_ERROR");
        EndInstallation(failed);
        return;
    }
    FollowInstallation();
}

void CInstallerDlg::FollowInstallation() {
    if (!hasDisplay_) {
        // No toolkit to wait in: look for the end, or for a signal to pass on.
        while (!HasEnded(progress_.ReadProgress())) {
            if (TerminationSignals::Requested()) worker_.RequestStop();
            g_usleep(kHeadlessPollMicroseconds);
        }
        worker_.Join();
        EndInstallation(progress_.ReadProgress());
        return;
    }
    PollTimer timer;
    for (;;) {
        const ProgressReport report = progress_.ReadProgress();
        if (progressPage_) progressPage_->SetProgress(report.percent);
        if (HasEnded(report)) {
            EndInstallation(report);
            // Stopped by a signal: nobody is waiting to press Finish.
            if (TerminationSignals::Requested() && window_ != nullptr) gtk_widget_destroy(window_);
            return;
        }
        gtk_main_iteration();
    }
}

void CInstallerDlg::EndInstallation(const ProgressReport& report) {
    if (report.status == ERR_CANCELLED) {
        worker_.Join();
        ShowErrorPage(LoadResString("IDS_CANCEL_FINISH"));
        return;
    }
    if (report.status != ERR_NONE) {
        MessageBox(report.message, MB_ERROR_OK);
        worker_.Join();
        ShowErrorPage(LoadResString("IDS_ERROR_FINISH"));
        return;
    }
    worker_.Join();
    ShowSuccessPage();
    RecordUsedDirectory();
}

void CInstallerDlg::RecordUsedDirectory() {
    RecordTemplateDirectory(targetDirectory_, templateLocations_,
                            alternativeFilePresent_, locationsFromAlternative_);
}
