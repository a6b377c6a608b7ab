#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/InstallerDlg.h"
#include "l10n/LanguageSelection.h"
#include "l10n/Messages.h"

void RunInstaller(StartupContext& context) {
    context.language = 0;
    const CommandLineOptions options = ParseCommandLine(context.argc, context.argv);
    const LanguageChoice choice = SelectLanguage(options.hasLanguageOption ? &options.languageCode : nullptr);
    context.language = static_cast<std::uint32_t>(choice.number);
    SetCurrentLanguage(choice.number);
    context.title = LoadResString("IDR_MAINFRAME");

    CInstallerDlg dialog(context.argc, context.argv, options.silent, context.title, choice.code,
                         options.useCurrentDirectory);
    dialog.RunWizard();
}
