#include "app/Startup.h"

#include <csignal>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/InstallJournal.h"
#include "app/InstallerController.h"
#include "app/MessageFlags.h"
#include "app/Recovery.h"
#include "l10n/LanguageSelection.h"
#include "l10n/Messages.h"
#include "platform/SystemPath.h"
#include "platform/TempSpace.h"
#include "text/Convert.h"

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
        std::fprintf(stderr, "%s: %s\n", ToAString(title).c_str(), ToAString(notice.text).c_str());
    }
}

}  // namespace

ExitStatus RunInstaller(StartupContext& context) {
    // A file-size limit then fails a write, which rolls back, instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<RecoveredRun> recovered = RecoverEarlierRuns();
    context.language = 0;
    const CommandLineOptions options = ParseCommandLine(context.argc, context.argv);
    const LanguageChoice choice = SelectLanguage(options.hasLanguageOption ? &options.languageCode : nullptr);
    context.language = static_cast<std::uint32_t>(choice.number);
    SetCurrentLanguage(choice.number);
    context.title = LoadResString("IDR_MAINFRAME");
    const std::vector<RecoveryNotice> notices = RecoveryNotices(recovered);

    if (options.showHelp) {
        WriteNotices(context.title, notices);
        std::printf("%s\n%s\n%s\n", ToAString(LoadResString("IDS_HELP_USAGE")).c_str(),
                    ToAString(LoadResString("IDS_HELP_TERMINAL")).c_str(),
                    ToAString(LoadResString("IDS_HELP_PROGRESSLINES")).c_str());
        return ExitStatus::Success;
    }
    // An empty -D, or one the locale cannot read whole, would silently mean
    // another directory than the one a script asked for.
    const WString targetOption = ToWString(options.targetDirectory);
    if (options.hasTargetOption && (targetOption.empty() || !(ToAString(targetOption) == options.targetDirectory))) {
        WriteNotices(context.title, notices);
        std::fprintf(stderr, "%s: %s\n", ToAString(context.title).c_str(),
                     ToAString(LoadResString("IDS_ERROR_TARGETOPTION")).c_str());
        return ExitStatus::CouldNotStart;
    }
    const std::unique_ptr<InstallerFrontEnd> frontEnd = context.chooseFrontEnd(context, options);
    InstallerController dialog(*frontEnd, options.silent, choice.code, options.useCurrentDirectory, targetOption);
    for (const RecoveryNotice& notice : notices) dialog.Tell(notice.text, notice.flags);
    return dialog.RunWizard();
}
