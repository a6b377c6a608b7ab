#include "main/ToolkitLoader.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if QORN_LAZY_TOOLKIT

extern "C" [[noreturn]] void qorn_toolkit_not_loaded() {
    std::fputs("setup: a toolkit function was called before the toolkit was loaded\n", stderr);
    std::abort();
}

// Each toolkit function the installer calls is defined here as one jump
// through a slot, which holds qorn_toolkit_not_loaded until the loader puts
// the toolkit's own function there.
#define QORN_TOOLKIT_FUNCTION(name) \
    extern "C" {                    \
    void (*qorn_slot_##name)() = &qorn_toolkit_not_loaded; \
    }
#include "main/ToolkitFunctions.def"
#undef QORN_TOOLKIT_FUNCTION

#define QORN_TOOLKIT_FUNCTION(name)                                    \
    asm(".text\n.globl " #name "\n.type " #name ", @function\n" #name \
        ":\n\tjmp *qorn_slot_" #name "(%rip)\n.size " #name ", .-" #name "\n");
#include "main/ToolkitFunctions.def"
#undef QORN_TOOLKIT_FUNCTION

namespace {

struct ToolkitSlot {
    const char* name;
    void (**slot)();
};

constexpr ToolkitSlot kToolkitSlots[] = {
#define QORN_TOOLKIT_FUNCTION(name) {#name, &qorn_slot_##name},
#include "main/ToolkitFunctions.def"
#undef QORN_TOOLKIT_FUNCTION
};

// The toolkit is never unloaded: its widgets, handlers and threads live
// until the process ends. Bound lazily, as a linked toolkit would be: the
// functions the installer calls are looked up here, the rest as they are
// first called.
std::string LoadOnce() {
    void* toolkit = dlopen("libgtk-x11-2.0.so.0", RTLD_LAZY | RTLD_GLOBAL);
    if (toolkit == nullptr) return dlerror();
    for (const ToolkitSlot& slot : kToolkitSlots) {
        void* function = dlsym(toolkit, slot.name);
        if (function == nullptr) return std::string("libgtk-x11-2.0.so.0: no ") + slot.name;
        *slot.slot = reinterpret_cast<void (*)()>(function);
    }
    return {};
}

}  // namespace

bool LoadToolkit(std::string* why) {
    static const std::string failure = LoadOnce();
    if (!failure.empty() && why != nullptr) *why = failure;
    return failure.empty();
}

#else

// Linked with the toolkit: loaded with the program.
bool LoadToolkit(std::string*) { return true; }

#endif

bool MayOpenDisplay(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && display[0] != '\0') return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--display") == 0 || std::strncmp(argv[i], "--display=", 10) == 0) return true;
    }
    return false;
}
