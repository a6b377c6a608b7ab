// What the installer shows while it prepares and installs, what it asks, and
// how it waits for the worker: the one seam between the controller and
// whatever shows things to the user. The wizard window, the terminal
// dialogue and the console (standard error, for silent runs without a
// display) all fill it; the controller never asks which one it has. A front
// end passes the user's answers on to the controller it is connected to.
#pragma once

#include <cstdint>

#include "app/ExitStatus.h"
#include "app/ProgressState.h"
#include "text/WString.h"

class InstallerController;

class InstallerFrontEnd {
public:
    virtual ~InstallerFrontEnd() = default;

    // The controller that answers and stop requests go to, from its
    // construction until it goes away (null then, after which nothing
    // reaches it). The front end starts watching the termination signals
    // here, in whatever way it can see them, and stops with null.
    virtual void ConnectController(InstallerController* controller) = 0;
    // Whether a person is there to answer; a run that is not silent cannot
    // go on without one.
    virtual bool CanAsk() const = 0;

    // Tells the user `text`; `flags` are the message flag words. Returns
    // the answer (IDYES, IDNO, IDOK or IDNONE); a front end nobody can answer
    // says IDNO to a question.
    virtual std::int32_t ShowMessage(const WString& text, std::uint32_t flags) = 0;
    // The welcome, composed by the controller; a silent run shows it without
    // waiting for the user.
    virtual void ShowWelcome(const WString& text, bool silent) = 0;
    // The directory question with `proposal` as the editable answer; the
    // answer goes to the controller's AcceptDirectory.
    virtual void AskDirectory(const WString& proposal) = 0;
    // Runs the dialogue until the user has closed the front end; returns at
    // once where there is no user to wait for.
    virtual void WaitUntilClosed() = 0;
    // Ends the dialogue, so that WaitUntilClosed returns.
    virtual void Close() = 0;

    // The installation into `directory` starts; `progress` is the record
    // the worker reports to.
    virtual void BeginInstallation(const WString& directory, ProgressState& progress) = 0;
    // The latest report of the running job; called often, cheap when nothing changed.
    virtual void ShowProgress(const ProgressReport& report) = 0;
    // Waits a short while for the job to move on, keeping the front end
    // alive; returns at once when `progress` reports the end of the job.
    virtual void WaitForProgress(ProgressState& progress) = 0;
    // The job has ended as `report` says, giving `status`.
    virtual void ShowOutcome(const ProgressReport& report, ExitStatus status) = 0;
    // After the outcome, something the installation left undone that the
    // user may want to put right; asks nothing and never waits.
    virtual void ShowNote(const WString& text) = 0;
    // When the user finishes after a successful installation: the kit's
    // description document, an existing file at `path`, for the front end to
    // open as the user chose or to name.
    virtual void OfferDescriptionDocument(const WString& path) = 0;
    // The process ends now with `status`, the job's last report being
    // `report`, without the outcome being shown (the display is gone): only
    // what must outlive the front end is done here. Nothing by default.
    virtual void EndAbruptly(const ProgressReport& report, ExitStatus status) {
        (void)report;
        (void)status;
    }
};
