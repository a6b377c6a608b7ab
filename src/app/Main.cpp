// Process entry of the installer. The exit status tells a script the
// outcome (see ExitStatus.h); everything else is said in the front end.
#include <gdk/gdk.h>
#include <glib.h>

#include "app/Startup.h"

int main(int argc, char** argv) {
#if !GLIB_CHECK_VERSION(2, 32, 0)
    g_thread_init(nullptr);
#endif
    gdk_threads_init();
    StartupContext context;
    context.argc = argc;
    context.argv = argv;
    return static_cast<int>(RunInstaller(context));
}
