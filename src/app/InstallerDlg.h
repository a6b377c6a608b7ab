// The one installer dialog: it owns the kit, the progress record, the worker,
// the wizard window with its pages, and the controller state that moves the
// wizard from the welcome page to the success or error page.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/ConsoleFrontEnd.h"
#include "app/ExitStatus.h"
#include "app/InstallerFrontEnd.h"
#include "app/ProgressPacer.h"
#include "app/ProgressState.h"
#include "app/TerminationSignals.h"
#include "app/WorkerThread.h"
#include "kit/KitReader.h"
#include "launcher/ConfigEntryList.h"
#include "launcher/LocationCleaning.h"  // SanitizeTargetDirectory, as the wizard has always offered it
#include "text/WString.h"
#include "ui/Images.h"
#include "ui/Wnd.h"

class WizardDialogPage;
class MessagePage;
class DirSelectPage;
class ProgressPage;
class SuccessFinalPage;

// Wizard states.
constexpr std::uint32_t STATE_CONSTRUCTED = 0;
constexpr std::uint32_t STATE_WELCOME = 1;
constexpr std::uint32_t STATE_DIRECTORY = 2;
constexpr std::uint32_t STATE_INSTALLING = 3;
constexpr std::uint32_t STATE_SUCCESS = 4;
constexpr std::uint32_t STATE_ERROR = 5;

// The dialog is the wizard's front end itself; without a display it hands
// everything to a console front end instead.
class CInstallerDlg : public CWnd, public InstallerFrontEnd {
public:
    // Initialises the toolkit with its own copies of the arguments; without a
    // display the console front end stands in for the window. A non-empty
    // `targetOption` is the directory asked for on the command line.
    CInstallerDlg(int argc, char** argv, bool silent, const WString& title, const WString& languageCode,
                  bool useCurrentDirectory, const WString& targetOption = WString());
    ~CInstallerDlg() override;
    CInstallerDlg(const CInstallerDlg&) = delete;
    CInstallerDlg& operator=(const CInstallerDlg&) = delete;

    WString GetTitle() const override;
    // Prepares, shows the wizard and returns when the installer is finished,
    // with the status the process ends with.
    ExitStatus RunWizard();

    // Controller.
    bool PrepareInstallation();
    WString GetKitPath() const;
    void ShowWelcomePage();
    void FinishWizard();
    static void OnBackClicked(GtkButton* button, gpointer dialog);
    static void OnNextClicked(GtkButton* button, gpointer dialog);

    // Installation, user-interface side.
    void RunInstallation();

    // Window.
    void CreateWizardWindow();
    void InitWindowProperties();
    void ShowPage(WizardDialogPage* page);
    void SetFinishButtons();
    void ShowSuccessPage();
    void ShowErrorPage(const WString& text);
    void ShowDirectoryPage();
    void ConfirmClose();
    static void OnCancelClicked(GtkButton* button, gpointer dialog);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer dialog);
    static gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer dialog);
    static void OnWindowDestroyed(GtkWidget* widget, gpointer dialog);

    // The wizard as a front end (the window side).
    std::int32_t ShowMessage(const WString& text, std::uint32_t flags) override;
    void ShowWelcome(const WString& text, bool silent) override;
    void WaitUntilClosed() override;
    void BeginInstallation(const WString& directory) override;
    void ShowProgress(const ProgressReport& report) override;
    void WaitForProgress(ProgressState& progress) override;
    void ShowOutcome(const ProgressReport& report, ExitStatus status) override;
    // Adds the note to the success page; a silent run, whose window closes by
    // itself, also writes it on standard error.
    void ShowNote(const WString& text) override;

    // Tells the user through whichever front end runs: the window's message
    // box, or a line on standard error.
    std::int32_t Tell(const WString& text, std::uint32_t flags) { return frontEnd_->ShowMessage(text, flags); }

    std::uint32_t state() const { return state_; }

private:
    void HandleNext();
    void HandleCancel();
    void StartFromDirectoryPage();
    void FollowInstallation();
    void EndInstallation(const ProgressReport& report);
    // Sets the exit status from the job's report and, after a success,
    // records the directory; returns the launcher files that do not name it.
    std::vector<WString> SettleOutcome(const ProgressReport& report);
    static WString UnrecordedNote(const std::vector<WString>& unrecorded);
    // The status of a run whose display is gone: the settled outcome, the
    // job's own once it has ended (stopped first), Unexpected before any job.
    ExitStatus SettleWithoutDisplay();
    static void OnTerminationSignal(void* dialog);
    [[noreturn]] static void OnDisplayLost(void* dialog);
    void OpenDescriptionDocument();

    // Controller state.
    std::uint32_t state_ = STATE_CONSTRUCTED;
    WString kitPath_;
    WString targetDirectory_;
    std::vector<ConfigValue> templateLocations_;
    bool alternativeFilePresent_ = false;
    bool locationsFromAlternative_ = false;
    WString languageCode_;
    bool useCurrentDirectory_ = false;
    bool silent_ = false;
    WString targetOption_;
    ExitStatus exitStatus_ = ExitStatus::Cancelled;
    bool outcomeSettled_ = false;
    KitReader kit_;

    // Installation.
    ProgressState progress_;
    WorkerThread worker_;

    // Front end: the dialog itself, or the console without a display.
    std::unique_ptr<ConsoleFrontEnd> console_;
    InstallerFrontEnd* frontEnd_ = this;

    // Window.
    int argc_ = 0;
    std::vector<char*> argv_;
    bool hasDisplay_ = false;
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

    // Last, so that it goes first: no signal reaches a half-destroyed dialog.
    std::unique_ptr<TerminationSignals> signals_;
};

// A typed "~" or "~/..." names the home directory, as in a shell; any other
// path is returned unchanged.
WString ExpandHomePrefix(const WString& path);

// A directory as the user typed it, on the directory page or after -D: every
// "\" becomes "/", a leading "~" names the home directory, and a relative
// path is taken from the working directory and made absolute.
WString CleanTypedDirectory(const WString& typed);

// The description document's path: directory and name joined by exactly the
// separator that neither supplies, every "\" turned into "/"; empty when the
// name is empty or would lead out of the directory.
WString DescriptionDocumentPath(const WString& directory, const WString& name);
