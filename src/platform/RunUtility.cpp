#include "platform/RunUtility.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace {

// Owns the spawn attributes and file actions for one start.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
        posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0);
        // Inherited ignored signals (SIGPIPE in particular) would change how
        // the utility behaves; it starts as from a fresh login.
        sigset_t all;
        sigfillset(&all);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attributes_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

std::vector<char*> ArgumentPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

bool WaitFor(pid_t child, int* status) {
    for (;;) {
        if (::waitpid(child, status, 0) == child) return true;
        if (errno != EINTR) return false;
    }
}

}  // namespace

UtilityOutcome RunUtility(const std::vector<std::string>& argv) {
    if (argv.empty()) return UtilityOutcome::NotStarted;
    SpawnSetup setup;
    std::vector<char*> pointers = ArgumentPointers(argv);
    pid_t child = 0;
    if (::posix_spawnp(&child, pointers[0], setup.actions(), setup.attributes(), pointers.data(), environ) != 0) {
        return UtilityOutcome::NotStarted;
    }
    int status = 0;
    if (!WaitFor(child, &status)) return UtilityOutcome::Failed;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? UtilityOutcome::Succeeded : UtilityOutcome::Failed;
}
