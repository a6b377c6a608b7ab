// Preloaded into the installer by the GUI tests (LD_PRELOAD) to stretch an installation: giving an
// extracted entry its time (futimens) first sleeps QORN_E2E_FUTIMES_DELAY_US microseconds, so that a large
// kit installs slowly enough for a test or a screenshot to catch it half-way on any machine. (Unlike strace's
// delay injection, the installer stays the process that the tests signal and whose windows they look for.)
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

extern "C" int futimens(int descriptor, const struct timespec times[2]) {
    using Futimens = int (*)(int, const struct timespec[2]);
    static const Futimens real = reinterpret_cast<Futimens>(dlsym(RTLD_NEXT, "futimens"));
    const char* delay = std::getenv("QORN_E2E_FUTIMES_DELAY_US");
    if (delay != nullptr) usleep(static_cast<useconds_t>(std::strtol(delay, nullptr, 10)));
    return real(descriptor, times);
}
