// Preloaded into the installer by the GUI tests (LD_PRELOAD) to stretch an
// installation: every call that gives an extracted entry its time (futimens,
// or futimes) first sleeps QORN_E2E_FUTIMES_DELAY_US microseconds. A large
// kit then installs slowly enough for a test or a screenshot to catch it
// half-way on any machine. The commit's flush of the file system (syncfs)
// likewise sleeps QORN_E2E_SYNCFS_DELAY_US, so that a test can act while a
// run commits.
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>

namespace {

long Microseconds(const char* variable) {
    const char* text = std::getenv(variable);
    return text != nullptr ? std::strtol(text, nullptr, 10) : 0L;
}

void Delay() {
    static const long delay = Microseconds("QORN_E2E_FUTIMES_DELAY_US");
    if (delay > 0) usleep(static_cast<useconds_t>(delay));
}

}  // namespace

extern "C" int futimes(int descriptor, const struct timeval times[2]) {
    using Futimes = int (*)(int, const struct timeval[2]);
    static const Futimes real = reinterpret_cast<Futimes>(dlsym(RTLD_NEXT, "futimes"));
    Delay();
    return real(descriptor, times);
}

extern "C" int futimens(int descriptor, const struct timespec times[2]) {
    using Futimens = int (*)(int, const struct timespec[2]);
    static const Futimens real = reinterpret_cast<Futimens>(dlsym(RTLD_NEXT, "futimens"));
    Delay();
    return real(descriptor, times);
}

extern "C" int syncfs(int descriptor) {
    using Syncfs = int (*)(int);
    static const Syncfs real = reinterpret_cast<Syncfs>(dlsym(RTLD_NEXT, "syncfs"));
    static const long delay = Microseconds("QORN_E2E_SYNCFS_DELAY_US");
    if (delay > 0) usleep(static_cast<useconds_t>(delay));
    return real(descriptor);
}
