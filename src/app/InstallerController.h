// The installer's controller: it owns the kit, the progress record, the
// worker and the state that moves the user from the welcome to the success
// or error end, and it shows and asks everything through the front end it is
// given, whichever that is.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/ExitStatus.h"
#include "app/InstallerFrontEnd.h"
#include "app/ProgressState.h"
#include "app/RecordReadAhead.h"
#include "app/WorkerThread.h"
#include "kit/KitDirectory.h"
#include "kit/KitReader.h"
#include "launcher/ConfigEntryList.h"
#include "launcher/LocationCleaning.h"  // SanitizeTargetDirectory, as the wizard has always offered it
#include "text/WString.h"

// Wizard states.
constexpr std::uint32_t STATE_CONSTRUCTED = 0;
constexpr std::uint32_t STATE_WELCOME = 1;
constexpr std::uint32_t STATE_DIRECTORY = 2;
constexpr std::uint32_t STATE_INSTALLING = 3;
constexpr std::uint32_t STATE_SUCCESS = 4;
constexpr std::uint32_t STATE_ERROR = 5;

class InstallerController {
public:
    // Connects itself to `frontEnd` (not owned, outlives the controller). A
    // non-empty `targetOption` is the directory asked for on the command line.
    InstallerController(InstallerFrontEnd& frontEnd, bool silent, const WString& languageCode,
                        bool useCurrentDirectory, const WString& targetOption = WString());
    ~InstallerController();
    InstallerController(const InstallerController&) = delete;
    InstallerController& operator=(const InstallerController&) = delete;

    // What the run is to do: install (the default), uninstall, or, without
    // any dialogue, a dry run or a verification. Before RunWizard.
    // `previewsUninstall`: a dry run says what an uninstallation would do.
    void SetRunKind(RunSummary::Kind kind, bool previewsUninstall = false) {
        runKind_ = kind;
        previewsUninstall_ = previewsUninstall;
    }

    // Prepares, runs the front end's dialogue and returns when the installer
    // is finished, with the status the process ends with.
    ExitStatus RunWizard();

    bool PrepareInstallation();
    WString GetKitPath() const;
    void ShowWelcomePage();
    void ShowDirectoryPage();
    void FinishWizard();

    // The user's answers, from the front end. Back: from the directory
    // question to the welcome. Next: from the welcome to the directory
    // question, or Finish on the last page. AcceptDirectory: the directory as
    // typed or chosen; an empty one is told and asked again, any other is
    // cleaned as typed and installed into.
    void Back();
    void Next();
    void AcceptDirectory(const WString& typed);
    // Cancel while the installation runs: the job stops and rolls back.
    // False, doing nothing, when no installation runs.
    bool StopInstallation();
    // A termination signal, seen by a front end with a main loop: a running
    // installation stops; otherwise the front end is closed.
    void OnTerminationSignal();
    // The front end can no longer work (its display is gone): a running
    // installation is stopped and rolled back unless it has committed, the
    // unpacked kit removed, and the process ends at once with the run's
    // outcome (a committed run recorded and Success; Cancelled when stopped;
    // Unexpected before any installation).
    [[noreturn]] void AbandonRun();

    // Installation.
    void RunInstallation();

    // Tells the user through whichever front end runs.
    std::int32_t Tell(const WString& text, std::uint32_t flags) { return frontEnd_.ShowMessage(text, flags); }

    std::uint32_t state() const { return state_; }
    // What the run did, once it has done it (null before, and when it ended
    // before its job): for the report that follows the run.
    std::shared_ptr<const RunSummary> Summary() { return progress_.ReadProgress().summary; }

private:
    // A dry run or a verification of the kit against the directory: the
    // lines for scripts on standard output, the rest through the front end;
    // nothing is changed. Returns the status.
    ExitStatus RunReadOnly();
    // The same, the kit's directory read and no image unpacked: a run that
    // changes nothing leaves no trace in the temporary directory either.
    ExitStatus RunReadOnlyKeepingTemp();
    ExitStatus RunDryRun(const std::string& target);
    ExitStatus RunVerification(const std::string& target);
    // Says that something but a folder has the record folder's name in `target`; Failed.
    ExitStatus RecordObstructed(const std::string& target);
    // The directory a dry run or a verification looks at (absolute, system
    // bytes, "/" at the end); empty when it cannot be one.
    std::string ReadOnlyTarget() const;
    // For a run that only reads: starts reading the record of the kit whose
    // descriptions these are, while the rest of its directory is read.
    KitDescriptionsRead RecordReaderAhead();
    // The user's edits kept, the files removed and the launcher files that
    // do not name the directory, as one note; empty when there is nothing.
    WString OutcomeNote(const ProgressReport& report, const std::vector<WString>& unrecorded) const;
    void FollowInstallation();
    void EndInstallation(const ProgressReport& ended);
    // Sets the exit status from the job's report and, after a success,
    // records the directory; returns the launcher files that do not name it,
    // the first of them also in the summary of `report` and of the progress
    // record.
    std::vector<WString> SettleOutcome(ProgressReport& report);
    // Records the installed directory in the launcher files, or forgets the
    // uninstalled one; returns the files left as they were.
    std::vector<WString> RecordDirectory();
    static WString UnrecordedNote(const std::vector<WString>& unrecorded);
    // The status of a run whose front end is gone (see AbandonRun).
    ExitStatus SettleAbandonedRun();
    void OpenDescriptionDocument();

    InstallerFrontEnd& frontEnd_;

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
    RunSummary::Kind runKind_ = RunSummary::Kind::Install;
    bool previewsUninstall_ = false;
    WString targetOption_;
    ExitStatus exitStatus_ = ExitStatus::Cancelled;
    bool outcomeSettled_ = false;
    KitReader kit_;
    RecordReadAhead recordAhead_;  // a run that only reads: the record, read beside the kit's directory

    // Installation.
    ProgressState progress_;
    WorkerThread worker_;
};

// A typed "~" or "~/..." names the home directory, as in a shell; any other
// path is returned unchanged.
WString ExpandHomePrefix(const WString& path);

// A directory as the user typed it, on the directory page or after -D: every
// "\" becomes "/", a leading "~" names the home directory, and a relative
// path is taken from the working directory and made absolute.
WString CleanTypedDirectory(const WString& typed);

// An absolute directory with every "." and ".." that follows its longest
// existing part worked out by name (those folders do not exist yet, so no link
// can be among them); the path unchanged when there is none.
WString WithoutDotsInMissingPart(const WString& path);

// The description document's path: directory and name joined by exactly the
// separator that neither supplies, every "\" turned into "/"; empty when the
// name is empty or would lead out of the directory.
WString DescriptionDocumentPath(const WString& directory, const WString& name);
