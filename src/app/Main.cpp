// Process entry of the installer. The exit status tells a script the
// outcome (see ExitStatus.h); everything else is said in the front end.
#include <gdk/gdk.h>
#include <glib.h>

#include <cstdio>
#include <exception>

#include "app/Startup.h"

int main(int argc, char** argv) {
#if !GLIB_CHECK_VERSION(2, 32, 0)
    g_thread_init(nullptr);
#endif
    gdk_threads_init();
    StartupContext context;
    context.argc = argc;
    context.argv = argv;
    try {
        return static_cast<int>(RunInstaller(context));
    } catch (const std::exception& error) {
        // Out of memory and the like: a status of its own rather than an abort.
        std::fprintf(stderr, "setup: %s\n", error.what());
        return static_cast<int>(ExitStatus::Unexpected);
    }
}
