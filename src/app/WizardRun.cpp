// Construction, teardown and the run of the installer controller.
#include <unistd.h>

#include "app/InstallerController.h"
#include "app/MessageFlags.h"
#include "app/TerminationSignals.h"
#include "l10n/Messages.h"
#include "platform/FileTree.h"

InstallerController::InstallerController(InstallerFrontEnd& frontEnd, bool silent, const WString& languageCode,
                                         bool useCurrentDirectory, const WString& targetOption)
    : frontEnd_(frontEnd),
      languageCode_(languageCode),
      useCurrentDirectory_(useCurrentDirectory),
      silent_(silent),
      targetOption_(targetOption) {
    frontEnd_.ConnectController(this);
    progress_.PostProgress(ERR_NONE, LoadResString("IDS_PREPARECOPY"), 0);
}

InstallerController::~InstallerController() {
    worker_.Join();
    // Before any member goes: no signal reaches a half-destroyed controller.
    frontEnd_.ConnectController(nullptr);
}

ExitStatus InstallerController::RunWizard() {
    const bool readOnly = runKind_ == RunSummary::Kind::DryRun || runKind_ == RunSummary::Kind::Verify;
    if (!frontEnd_.CanAsk() && !silent_ && !readOnly) {
        // Only a silent run can do without someone to answer.
        frontEnd_.ShowMessage(LoadResString("IDS_ERROR_NODISPLAY"), MB_ERROR_OK);
        return ExitStatus::CouldNotStart;
    }
    if (readOnly) return RunReadOnlyKeepingTemp();
    if (!PrepareInstallation()) return ExitStatus::CouldNotStart;
    if (TerminationSignals::Requested()) return ExitStatus::Cancelled;
    // From here on, a wizard closed before the installation ends is cancelled;
    // the end of the installation says otherwise.
    exitStatus_ = ExitStatus::Cancelled;
    ShowWelcomePage();
    if (silent_) {
        RunInstallation();
        return exitStatus_;
    }
    frontEnd_.WaitUntilClosed();
    return exitStatus_;
}

bool InstallerController::StopInstallation() {
    if (state_ != STATE_INSTALLING) return false;
    worker_.RequestStop();
    return true;
}

void InstallerController::OnTerminationSignal() {
    // A running job is stopped and rolled back first; the front end closes
    // when the installation has ended.
    if (StopInstallation()) return;
    frontEnd_.Close();
}

void InstallerController::AbandonRun() {
    const ExitStatus status = SettleAbandonedRun();
    (void)RemoveFile(kit_.tempPath);  // the image of a run that ends here
    frontEnd_.EndAbruptly(progress_.ReadProgress(), status);
    _exit(static_cast<int>(status));
}
