// Construction, teardown and the run of the installer dialog.
#include "app/InstallerDlg.h"

#include <cstdio>

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/DirSelectPage.h"
#include "ui/MessagePage.h"
#include "ui/ProgressPage.h"
#include "ui/SuccessFinalPage.h"

CInstallerDlg::CInstallerDlg(int argc, char** argv, bool silent, const WString& title, const WString& languageCode,
                             bool useCurrentDirectory)
    : languageCode_(languageCode),
      useCurrentDirectory_(useCurrentDirectory),
      silent_(silent),
      argc_(argc),
      argv_(argv, argv + argc),
      title_(ToAString(title)) {
    argv_.push_back(nullptr);
    char** toolkitArgv = argv_.data();
    // The checking variant: without a display the installer can still work
    // silently instead of being ended by the toolkit.
    hasDisplay_ = gtk_init_check(&argc_, &toolkitArgv) != FALSE;
    signals_ = std::make_unique<TerminationSignals>(hasDisplay_, &CInstallerDlg::OnTerminationSignal, this);
    progress_.PostProgress(ERR_NONE, LoadResString("IDS_PREPARECOPY"), 0);
}

CInstallerDlg::~CInstallerDlg() {
    worker_.Join();
    if (window_ != nullptr) gtk_widget_destroy(window_);
}

void CInstallerDlg::RunWizard() {
    if (!hasDisplay_ && !silent_) {
        std::fprintf(stderr, "%s: cannot open the display; start with -S to install without a window\n",
                     title_.c_str());
        return;
    }
    if (!PrepareInstallation() || TerminationSignals::Requested()) return;
    welcomePage_.reset();
    if (hasDisplay_) CreateWizardWindow();
    ShowWelcomePage();
    if (silent_) {
        RunInstallation();
        return;
    }
    gtk_main();
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
