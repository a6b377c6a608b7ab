#include "app/Startup.h"

#include <cstdio>

#include "app/CommandLine.h"
#include "app/InstallerDlg.h"
#include "l10n/LanguageSelection.h"
#include "l10n/Messages.h"
#include "text/Convert.h"

ExitStatus RunInstaller(StartupContext& context) {
    context.language = 0;
    const CommandLineOptions options = ParseCommandLine(context.argc, context.argv);
    const LanguageChoice choice = SelectLanguage(options.hasLanguageOption ? &options.languageCode : nullptr);
    context.language = static_cast<std::uint32_t>(choice.number);
    SetCurrentLanguage(choice.number);
    context.title = LoadResString("IDR_MAINFRAME");

    if (options.showHelp) {
        std::printf("%s\n", ToAString(LoadResString("IDS_HELP_USAGE")).c_str());
        return ExitStatus::Success;
    }
    // An empty -D, or one the locale cannot read whole, would silently mean
    // another directory than the one a script asked for.
    const WString targetOption = ToWString(options.targetDirectory);
    if (options.hasTargetOption && (targetOption.empty() || !(ToAString(targetOption) == options.targetDirectory))) {
        std::fprintf(stderr, "%s: %s\n", ToAString(context.title).c_str(),
                     ToAString(LoadResString("IDS_ERROR_TARGETOPTION")).c_str());
        return ExitStatus::CouldNotStart;
    }
    CInstallerDlg dialog(context.argc, context.argv, options.silent, context.title, choice.code,
                         options.useCurrentDirectory, targetOption);
    return dialog.RunWizard();
}
