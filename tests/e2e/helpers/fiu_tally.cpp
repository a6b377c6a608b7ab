// Preloaded after libfiu's POSIX preload by tests/e2e/faults.sh: the points in QORN_FIU_POINTS fail with
// QORN_FIU_PROBABILITY from QORN_FIU_SEED, each failure's name logged to QORN_FIU_LOG to tell what failed.
#include <fcntl.h>
#include <fiu-control.h>
#include <fiu.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

int gLog = -1;
std::uint64_t gThreshold = 0;  // of 2^32
std::atomic<std::uint64_t> gState{0};

// A small shared generator: the decision must not call anything libfiu wraps.
std::uint32_t NextRandom() {
    std::uint64_t x = gState.fetch_add(0x9E3779B97F4A7C15ull) + 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(x ^ (x >> 31));
}

int Decide(const char* name, int*, void**, unsigned int*) {
    if (NextRandom() >= gThreshold) return 0;
    if (gLog >= 0) {
        // Raw system calls: the preload's own wrappers must not see the log.
        (void)syscall(SYS_write, gLog, name, std::strlen(name));
        (void)syscall(SYS_write, gLog, "\n", 1);
    }
    return 1;
}

__attribute__((constructor)) void Enable() {
    const char* points = std::getenv("QORN_FIU_POINTS");
    const char* probability = std::getenv("QORN_FIU_PROBABILITY");
    if (points == nullptr || probability == nullptr) return;
    gThreshold = static_cast<std::uint64_t>(std::strtod(probability, nullptr) * 4294967296.0);
    const char* seed = std::getenv("QORN_FIU_SEED");
    gState = seed != nullptr ? std::strtoull(seed, nullptr, 10) : static_cast<std::uint64_t>(getpid());
    if (const char* log = std::getenv("QORN_FIU_LOG")) {
        gLog = static_cast<int>(syscall(SYS_open, log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    }
    fiu_init(0);
    // Each name on its own: the decision then learns which point it is.
    static char names[4096];
    std::strncpy(names, points, sizeof names - 1);
    char* rest = names;
    while (char* name = strtok_r(rest, " ", &rest)) fiu_enable_external(name, 1, nullptr, 0, &Decide);
}

}  // namespace
