// Process entry of the installer, and the one place that chooses its front
// end: the wizard window where a display can be opened, the terminal
// dialogue where a person types at a terminal (with a display too when -T
// asks for it), the console otherwise. The exit status tells a script the outcome (see ExitStatus.h);
// everything else is said in the front end.
#include <gdk/gdk.h>
#include <glib.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "console/ConsoleFrontEnd.h"
#include "main/LazyLibraries.h"
#include "terminal/TerminalFrontEnd.h"
#include "ui/InstallerDlg.h"

namespace {

// A screen reader follows lines that stay, not one redrawn in place; a dumb
// terminal cannot redraw at all.
bool WantsProgressLines(const CommandLineOptions& options) {
    const char* term = std::getenv("TERM");
    return options.progressLines || (term != nullptr && std::strcmp(term, "dumb") == 0);
}

std::unique_ptr<InstallerFrontEnd> MakeTerminalFrontEnd(const StartupContext& context, const CommandLineOptions& options) {
    auto frontEnd = std::make_unique<TerminalFrontEnd>(stdin, stderr, context.title, LoadLineEditing());
    frontEnd->SetProgressLines(WantsProgressLines(options));
    return frontEnd;
}

// Loads the toolkit and opens the display, where there may be one. The
// checking variant of the toolkit's start: without a display the installer
// can still work silently instead of being ended by the toolkit.
bool OpenToolkit(int* argc, char*** argv) {
    if (!MayOpenDisplay(*argc, *argv)) return false;
    std::string why;
    if (!LoadToolkit(&why)) {
        std::fprintf(stderr, "setup: %s\n", why.c_str());
        return false;
    }
    gdk_threads_init();
    return gtk_init_check(argc, argv) != FALSE;
}

std::unique_ptr<InstallerFrontEnd> ChooseFrontEnd(const StartupContext& context, const CommandLineOptions& options) {
    // Piped input or a captured error stream means nobody is there to answer:
    // such a run is told that it needs a display or -S, without waiting.
    // A dry run and a verification ask nothing and need no display.
    if (options.dryRun || (options.verify && !options.uninstall)) {
        return std::make_unique<ConsoleFrontEnd>(stderr, false, context.title);
    }
    const bool canAskInTerminal = !options.silent && isatty(STDIN_FILENO) != 0 && isatty(STDERR_FILENO) != 0;
    if (canAskInTerminal && options.terminal) return MakeTerminalFrontEnd(context, options);
    // The toolkit gets its own copy of the arguments, which it may rearrange,
    // for the whole run.
    static std::vector<char*> toolkitArgs;
    toolkitArgs.assign(context.argv, context.argv + context.argc);
    toolkitArgs.push_back(nullptr);
    int toolkitArgc = context.argc;
    char** toolkitArgv = toolkitArgs.data();
    if (OpenToolkit(&toolkitArgc, &toolkitArgv)) {
        return std::make_unique<CInstallerDlg>(options.silent, context.title);
    }
    if (canAskInTerminal) return MakeTerminalFrontEnd(context, options);
    auto console = std::make_unique<ConsoleFrontEnd>(stderr, isatty(STDERR_FILENO) != 0, context.title);
    console->SetProgressLines(WantsProgressLines(options));
    return console;
}

}  // namespace

int main(int argc, char** argv) {
    // The user's locale for every run, as the toolkit's start would set it:
    // line editing and the terminal's widths need the character set even
    // where no window is ever opened.
    std::setlocale(LC_ALL, "");
#if !GLIB_CHECK_VERSION(2, 32, 0)
    g_thread_init(nullptr);
#endif
    StartupContext context;
    context.argc = argc;
    context.argv = argv;
    context.chooseFrontEnd = &ChooseFrontEnd;
    context.loadReportLibrary = &LoadJsonLibrary;
    try {
        return static_cast<int>(RunInstaller(context));
    } catch (const std::exception& error) {
        // Out of memory and the like: a status of its own rather than an abort.
        std::fprintf(stderr, "setup: %s\n", error.what());
        return static_cast<int>(ExitStatus::Unexpected);
    }
}
