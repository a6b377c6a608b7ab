// Preloaded into the installer by the GUI tests (LD_PRELOAD) to stretch an installation: giving an
// extracted entry its time (futimens) first sleeps QORN_E2E_FUTIMES_DELAY_US microseconds, so that a large
// kit installs slowly enough for a test or a screenshot to catch it half-way on any machine; the commit's
// flush of the file system (syncfs) likewise sleeps QORN_E2E_SYNCFS_DELAY_US, so that a test can act while
// a run commits.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

void Delay(const char* variable) {
    const char* text = std::getenv(variable);
    const long delay = text != nullptr ? std::strtol(text, nullptr, 10) : 0L;
    if (delay > 0) usleep(static_cast<useconds_t>(delay));
}

}  // namespace

extern "C" int futimens(int descriptor, const struct timespec times[2]) {
    using Futimens = int (*)(int, const struct timespec[2]);
    static const Futimens real = reinterpret_cast<Futimens>(dlsym(RTLD_NEXT, "futimens"));
    Delay("QORN_E2E_FUTIMES_DELAY_US");
    return real(descriptor, times);
}

extern "C" int syncfs(int descriptor) {
    using Syncfs = int (*)(int);
    static const Syncfs real = reinterpret_cast<Syncfs>(dlsym(RTLD_NEXT, "syncfs"));
    Delay("QORN_E2E_SYNCFS_DELAY_US");
    return real(descriptor);
}
