// What the installer shows while it prepares and installs, and how it waits
// for the worker: the one seam between the controller and whatever shows
// things to the user. The wizard window and the console (standard error,
// for silent runs without a display) both fill it; the controller never asks
// which one it has.
#pragma once

#include <cstdint>

#include "app/ExitStatus.h"
#include "app/ProgressState.h"
#include "text/WString.h"

class InstallerFrontEnd {
public:
    virtual ~InstallerFrontEnd() = default;

    // Tells the user `text`; `flags` are the message box's flag words. Returns
    // the answer (IDYES, IDNO, IDOK or IDNONE); a front end nobody can answer
    // says IDNO to a question.
    virtual std::int32_t ShowMessage(const WString& text, std::uint32_t flags) = 0;
    // The welcome, composed by the controller; a silent run shows it without
    // waiting for the user.
    virtual void ShowWelcome(const WString& text, bool silent) = 0;
    // Waits until the user has closed the front end; returns at once where
    // there is no user to wait for.
    virtual void WaitUntilClosed() = 0;
    // The installation into `directory` starts.
    virtual void BeginInstallation(const WString& directory) = 0;
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
};
