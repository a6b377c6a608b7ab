// Construction, teardown and the run of the installer dialog.
#include "app/InstallerDlg.h"

#include <unistd.h>

#include <cstdio>

#include "app/DisplayLoss.h"

#include "l10n/Messages.h"
#include "platform/FileTree.h"
#include "text/Convert.h"
#include "ui/DirSelectPage.h"
#include "ui/MessageBox.h"
#include "ui/MessagePage.h"
#include "ui/ProgressPage.h"
#include "ui/SuccessFinalPage.h"

CInstallerDlg::CInstallerDlg(int argc, char** argv, bool silent, const WString& title, const WString& languageCode,
                             bool useCurrentDirectory, const WString& targetOption)
    : languageCode_(languageCode),
      useCurrentDirectory_(useCurrentDirectory),
      silent_(silent),
      targetOption_(targetOption),
      argc_(argc),
      argv_(argv, argv + argc),
      title_(ToAString(title)) {
    argv_.push_back(nullptr);
    char** toolkitArgv = argv_.data();
    // The checking variant: without a display the installer can still work
    // silently instead of being ended by the toolkit.
    hasDisplay_ = gtk_init_check(&argc_, &toolkitArgv) != FALSE;
    if (!hasDisplay_) {
        console_ = std::make_unique<ConsoleFrontEnd>(stderr, isatty(STDERR_FILENO) != 0, title);
        frontEnd_ = console_.get();
    }
    signals_ = std::make_unique<TerminationSignals>(hasDisplay_, &CInstallerDlg::OnTerminationSignal, this);
    if (hasDisplay_) WatchDisplayLoss(&CInstallerDlg::OnDisplayLost, this);
    progress_.PostProgress(ERR_NONE, LoadResString("IDS_PREPARECOPY"), 0);
}

CInstallerDlg::~CInstallerDlg() {
    worker_.Join();
    if (pollSource_ != 0) g_source_remove(pollSource_);
    if (window_ != nullptr) gtk_widget_destroy(window_);
}

ExitStatus CInstallerDlg::RunWizard() {
    if (!hasDisplay_ && !silent_) {
        // Only a silent run can do without a window.
        frontEnd_->ShowMessage(LoadResString("IDS_ERROR_NODISPLAY"), MB_ERROR_OK);
        return ExitStatus::CouldNotStart;
    }
    if (!PrepareInstallation()) return ExitStatus::CouldNotStart;
    if (TerminationSignals::Requested()) return ExitStatus::Cancelled;
    // From here on, a wizard closed before the installation ends is cancelled;
    // the end of the installation says otherwise.
    exitStatus_ = ExitStatus::Cancelled;
    welcomePage_.reset();
    ShowWelcomePage();
    if (silent_) {
        RunInstallation();
        return exitStatus_;
    }
    frontEnd_->WaitUntilClosed();
    return exitStatus_;
}

void CInstallerDlg::OnTerminationSignal(void* dialog) {
    auto* self = static_cast<CInstallerDlg*>(dialog);
    // A running job is stopped and rolled back first; the window closes
    // when the installation has ended.
    if (self->state_ == STATE_INSTALLING) {
        self->worker_.RequestStop();
        return;
    }
    if (self->window_ != nullptr) gtk_widget_destroy(self->window_);
}

void CInstallerDlg::OnDisplayLost(void* dialog) {
    auto* self = static_cast<CInstallerDlg*>(dialog);
    // Nothing of the toolkit works any more; the worker never needed it.
    const ExitStatus status = self->SettleWithoutDisplay();
    (void)RemoveFile(self->kit_.tempPath);  // the image of a run that ends here
    _exit(static_cast<int>(status));
}
