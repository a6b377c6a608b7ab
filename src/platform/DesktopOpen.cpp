#include "platform/DesktopOpen.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "text/Convert.h"

extern char** environ;

namespace {

// Long enough for an xdg-open that hands the document over and returns.
constexpr int kReapAttempts = 20;
constexpr useconds_t kReapInterval = 50000;

void ReapIfQuick(pid_t child) {
    for (int i = 0; i < kReapAttempts; ++i) {
        if (waitpid(child, nullptr, WNOHANG) != 0) return;
        usleep(kReapInterval);
    }
}

}  // namespace

ErrorCode OpenWithDesktop(const WString& path) {
    const AString target = ToAString(path);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return ERR_INVALID_PARAMETER;
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char program[] = "xdg-open";
    char* argv[] = {program, const_cast<char*>(target.c_str()), nullptr};
    pid_t child = 0;
    const int started = posix_spawnp(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return ERR_INVALID_PARAMETER;
    ReapIfQuick(child);
    return ERR_NONE;
}
