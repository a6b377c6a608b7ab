// Preloaded into the installer by the GUI tests (LD_PRELOAD) to stretch an
// installation: every call that gives an extracted entry its time (futimens,
// or futimes) first sleeps QORN_E2E_FUTIMES_DELAY_US microseconds. A large
// kit then installs slowly enough for a test or a screenshot to catch it
// half-way on any machine.
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>

namespace {

void Delay() {
    static const long delay = [] {
        const char* text = std::getenv("QORN_E2E_FUTIMES_DELAY_US");
        return text != nullptr ? std::strtol(text, nullptr, 10) : 0L;
    }();
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
