// The wizard window, the installer's front end where there is a display: the
// fixed-size window with its three buttons, the pages from the welcome to the
// success or error page, the message box and the close question. Its buttons
// and keys are passed on to the controller.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/InstallerFrontEnd.h"
#include "text/WString.h"
#include "ui/Images.h"
#include "ui/MainLoopSignals.h"
#include "ui/ProgressPacer.h"
#include "ui/Wnd.h"

class InstallerController;
class WizardDialogPage;
class MessagePage;
class DirSelectPage;
class ProgressPage;
class SuccessFinalPage;

class CInstallerDlg : public CWnd, public InstallerFrontEnd {
public:
    // Needs the toolkit initialised with a display. A silent run's window
    // closes by itself; its note also goes to standard error.
    CInstallerDlg(bool silent, const WString& title);
    ~CInstallerDlg() override;
    CInstallerDlg(const CInstallerDlg&) = delete;
    CInstallerDlg& operator=(const CInstallerDlg&) = delete;

    WString GetTitle() const override;

    // Window.
    void CreateWizardWindow();
    void InitWindowProperties();
    void ShowPage(WizardDialogPage* page);
    void SetFinishButtons();
    void ShowSuccessPage();
    void ShowErrorPage(const WString& text);
    void ConfirmClose();
    static void OnBackClicked(GtkButton* button, gpointer dialog);
    static void OnNextClicked(GtkButton* button, gpointer dialog);
    static void OnCancelClicked(GtkButton* button, gpointer dialog);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer dialog);
    static gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer dialog);
    static void OnWindowDestroyed(GtkWidget* widget, gpointer dialog);

    // The wizard as a front end. The termination signals are watched through
    // the main loop, and the loss of the display, while a controller is connected.
    void ConnectController(InstallerController* controller) override;
    bool CanAsk() const override { return true; }
    std::int32_t ShowMessage(const WString& text, std::uint32_t flags) override;
    void ShowWelcome(const WString& text, bool silent) override;
    // The directory page with the proposal in its entry.
    void AskDirectory(const WString& proposal) override;
    void WaitUntilClosed() override;
    // Destroys the window.
    void Close() override;
    void BeginInstallation(const WString& directory, ProgressState& progress) override;
    void ShowProgress(const ProgressReport& report) override;
    void WaitForProgress(ProgressState& progress) override;
    void ShowOutcome(const ProgressReport& report, ExitStatus status) override;
    // Adds the note to the success page; a silent run, whose window closes by
    // itself, also writes it on standard error.
    void ShowNote(const WString& text) override;
    // Opened with the desktop's viewer when the success page's box is ticked.
    void OfferDescriptionDocument(const WString& path) override;

private:
    void HandleNext();
    // Gives the focus to what a person uses first on `page`, which also
    // carries the page's text for a screen reader.
    void FocusFirstControl(const WizardDialogPage& page);
    void HandleCancel();
    static void OnTerminationSignal(void* dialog);
    [[noreturn]] static void OnDisplayLost(void* dialog);

    InstallerController* controller_ = nullptr;
    bool silent_ = false;
    bool confirmCancel_ = true;
    std::int32_t width_ = 500;
    std::int32_t height_ = 360;
    AString title_;
    GtkWidget* window_ = nullptr;
    GtkFixed* fixed_ = nullptr;
    GtkWidget* backButton_ = nullptr;
    GtkWidget* nextButton_ = nullptr;
    GtkWidget* cancelButton_ = nullptr;
    guint pollSource_ = 0;  // wakes the progress loop while the job runs
    PixbufRef iconPixbuf_;
    PixbufRef bannerPixbuf_;
    std::unique_ptr<MessagePage> welcomePage_;
    std::unique_ptr<DirSelectPage> dirPage_;
    WizardDialogPage* currentPage_ = nullptr;
    std::unique_ptr<ProgressPage> progressPage_;
    ProgressPacer progressPacer_;
    std::unique_ptr<SuccessFinalPage> successPage_;
    std::unique_ptr<MessagePage> errorPage_;

    // Last, so that it goes first: no signal reaches a half-destroyed window.
    std::unique_ptr<MainLoopSignals> signals_;
    WString successHeadline_;  // an installation's, or an uninstallation's; the former until the outcome says
    bool offersDescription_ = true;  // the success page's check box: not after an uninstallation

};
