#include "app/Startup.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "app/InstallJournal.h"
#include "app/InstallerController.h"
#include "app/MessageFlags.h"
#include "app/RecoveredRunText.h"
#include "app/Recovery.h"
#include "app/ReportingFrontEnd.h"
#include "l10n/LanguageSelection.h"
#include "l10n/Messages.h"
#include "platform/SystemPath.h"
#include "platform/TempSpace.h"
#include "report/ReportChannel.h"
#include "text/Convert.h"
#include "text/VisibleText.h"

namespace {

// Before anything else, and before a display is needed: whatever a run that
// died left behind is undone.
std::vector<RecoveredRun> RecoverEarlierRuns() {
    WString temp;
    (void)GetTempDirectory(&temp);  // always succeeds
    AString systemTemp;
    return RecoverDeadRuns(JournalFolder(), ToSystemPath(temp, &systemTemp) ? systemTemp.c_str() : "");
}

struct RecoveryNotice {
    WString text;
    std::uint32_t flags;
};

// What became of each dead run found: a record set aside, or the undo, called
// "as it was before" only when it is.
std::vector<RecoveryNotice> RecoveryNotices(const std::vector<RecoveredRun>& runs) {
    std::vector<RecoveryNotice> notices;
    for (const RecoveredRun& run : runs) {
        const WString kept = KeptJournalText(run);
        if (!kept.empty()) {
            notices.push_back({kept, MB_ERROR_OK});
            continue;
        }
        if (!run.setAside.empty()) {
            notices.push_back({LoadResString("IDS_JOURNAL_SET_ASIDE") + u" " + ToWString(run.setAside.c_str()),
                               MB_ERROR_OK});
            continue;
        }
        const char* said = run.keptBackup.empty() ? "IDS_RECOVERED_INSTALL" : "IDS_RECOVERED_PARTLY";
        WString text = LoadResString(said) + u" " + ToWString(run.target.c_str());
        if (!run.keptBackup.empty()) {
            text += u"\n" + LoadResString("IDS_BACKUP_KEPT") + u" " + ToWString(run.keptBackup.c_str());
        }
        notices.push_back({text, run.keptBackup.empty() ? MB_PLAIN_OK : MB_ERROR_OK});
    }
    return notices;
}

// For the starts that end before any window: help and a bad option.
void WriteNotices(const WString& title, const std::vector<RecoveryNotice>& notices) {
    for (const RecoveryNotice& notice : notices) {
        // The notices name directories: their control characters are shown, not sent to the terminal.
        std::fprintf(stderr, "%s: %s\n", ToAString(title).c_str(), ToAString(Visible(notice.text, true)).c_str());
    }
}

// A run that ends before its front end exists: the notices, then `text`
// (on standard output for help, else as an error line), then the run's
// document when one is asked for.
ExitStatus EndBeforeFrontEnd(const WString& title, const std::vector<RecoveryNotice>& notices, ExitStatus status,
                             const WString& text, ReportChannel* report) {
    WriteNotices(title, notices);
    if (status == ExitStatus::Success) {
        // With a report, standard output is the document's: this lands on standard error.
        std::printf("%s\n", ToAString(text).c_str());
    } else {
        std::fprintf(stderr, "%s: %s\n", ToAString(title).c_str(), ToAString(text).c_str());
    }
    if (report == nullptr) return status;
    RunEnding ending;
    ending.status = status;
    ending.message = text;
    for (const RecoveryNotice& notice : notices) ending.notes.push_back(notice.text);
    report->Write(ending);
    return status;
}

ExitStatus RunWithOptions(StartupContext& context, const CommandLineOptions& options, const LanguageChoice& choice,
                          const std::vector<RecoveryNotice>& notices, ReportChannel* report) {
    if (options.showHelp) {
        // Status 8 under the usage's list of statuses, which it continues; the options after.
        const WString usage = LoadResString("IDS_HELP_USAGE") + u"\n" + LoadResString("IDS_HELP_JOURNALWAITING") + u"\n" +
                              LoadResString("IDS_HELP_TERMINAL") + u"\n" + LoadResString("IDS_HELP_PROGRESSLINES") + u"\n" +
                              LoadResString("IDS_HELP_RECORD") + u"\n" + LoadResString("IDS_HELP_JSON");
        return EndBeforeFrontEnd(context.title, notices, ExitStatus::Success, usage, report);
    }
    // An empty -D, or one the locale cannot read whole, would silently mean
    // another directory than the one a script asked for.
    const WString targetOption = ToWString(options.targetDirectory);
    if (options.hasTargetOption && (targetOption.empty() || !(ToAString(targetOption) == options.targetDirectory))) {
        return EndBeforeFrontEnd(context.title, notices, ExitStatus::CouldNotStart,
                                 LoadResString("IDS_ERROR_TARGETOPTION"), report);
    }
    std::unique_ptr<InstallerFrontEnd> frontEnd = context.chooseFrontEnd(context, options);
    ReportingFrontEnd* reporting = nullptr;
    if (report != nullptr) {
        auto wrapped = std::make_unique<ReportingFrontEnd>(
            std::move(frontEnd), [report](const RunEnding& ending) { report->Write(ending); });
        reporting = wrapped.get();
        frontEnd = std::move(wrapped);
    }
    InstallerController dialog(*frontEnd, options.silent, choice.code, options.useCurrentDirectory, targetOption);
    dialog.SetRunKind(RunKindOf(options), options.dryRun && options.uninstall);
    for (const RecoveryNotice& notice : notices) dialog.Tell(notice.text, notice.flags);
    const ExitStatus status = dialog.RunWizard();
    if (reporting != nullptr) report->Write(reporting->Ending(status, dialog.Summary()));
    return status;
}

}  // namespace

RunSummary::Kind RunKindOf(const CommandLineOptions& options) {
    // A dry run changes nothing whatever else is asked: with --uninstall it
    // says what the uninstallation would do.
    if (options.dryRun && (options.uninstall || !options.verify)) return RunSummary::Kind::DryRun;
    if (options.uninstall) return RunSummary::Kind::Uninstall;
    if (options.verify) return RunSummary::Kind::Verify;
    return RunSummary::Kind::Install;
}

ExitStatus RunInstaller(StartupContext& context) {
    // A file-size limit then fails a write, which rolls back, instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    context.language = 0;
    const CommandLineOptions options = ParseCommandLine(context.argc, context.argv);
    // A dry run and a verification change nothing anywhere, a dead run's
    // journal and kit image included: those wait for the next real run.
    const RunSummary::Kind kind = RunKindOf(options);
    const bool readOnly = kind == RunSummary::Kind::DryRun || kind == RunSummary::Kind::Verify;
    const std::vector<RecoveredRun> recovered = readOnly ? std::vector<RecoveredRun>() : RecoverEarlierRuns();
    const LanguageChoice choice = SelectLanguage(options.hasLanguageOption ? &options.languageCode : nullptr);
    context.language = static_cast<std::uint32_t>(choice.number);
    SetCurrentLanguage(choice.number);
    context.title = LoadResString("IDR_MAINFRAME");
    const std::vector<RecoveryNotice> notices = RecoveryNotices(recovered);
    if (!options.json) return RunWithOptions(context, options, choice, notices, nullptr);

    std::string why;
    if (context.loadReportLibrary && !context.loadReportLibrary(&why)) {
        std::fprintf(stderr, "setup: %s\n", why.c_str());
        return ExitStatus::Unexpected;
    }

    ReportChannel report;
    try {
        return RunWithOptions(context, options, choice, notices, &report);
    } catch (const std::exception& error) {
        // The caller says it on standard error and ends with Unexpected; the
        // document says the same.
        RunEnding ending;
        ending.status = ExitStatus::Unexpected;
        ending.message = ToWString(error.what());
        report.Write(ending);
        throw;
    }
}
