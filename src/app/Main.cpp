// Process entry of the installer. The exit status is 0 in every case: all
// the installer has to say it says in its message boxes and pages.
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
    RunInstaller(context);
    return 0;
}
