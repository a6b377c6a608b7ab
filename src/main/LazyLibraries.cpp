#include "main/LazyLibraries.h"

#include <dlfcn.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if QORN_LAZY_TOOLKIT

extern "C" [[noreturn]] void qorn_library_not_loaded() {
    std::fputs("setup: a function of a library was called before the library was loaded\n", stderr);
    std::abort();
}

// Each function the installer calls in a library loaded on demand is defined
// here as one jump through a slot, which holds qorn_library_not_loaded until
// the loader puts the library's own function there.
#define QORN_LAZY_FUNCTION(name) \
    extern "C" {                 \
    void (*qorn_slot_##name)() = &qorn_library_not_loaded; \
    }
#include "main/GLibFunctions.def"
#include "main/JsonFunctions.def"
#include "main/LineEditingFunctions.def"
#include "main/ToolkitFunctions.def"
#undef QORN_LAZY_FUNCTION

#define QORN_LAZY_FUNCTION(name)                                       \
    asm(".text\n.globl " #name "\n.type " #name ", @function\n" #name \
        ":\n\tjmp *qorn_slot_" #name "(%rip)\n.size " #name ", .-" #name "\n");
#include "main/GLibFunctions.def"
#include "main/JsonFunctions.def"
#include "main/LineEditingFunctions.def"
#include "main/ToolkitFunctions.def"
#undef QORN_LAZY_FUNCTION

namespace {

struct FunctionSlot {
    const char* name;
    void (**slot)();
};

#define QORN_LAZY_FUNCTION(name) {#name, &qorn_slot_##name},
constexpr FunctionSlot kToolkitSlots[] = {
#include "main/ToolkitFunctions.def"
};
constexpr FunctionSlot kGLibSlots[] = {
#include "main/GLibFunctions.def"
};
constexpr FunctionSlot kJsonSlots[] = {
#include "main/JsonFunctions.def"
};
constexpr FunctionSlot kLineEditingSlots[] = {
#include "main/LineEditingFunctions.def"
};
#undef QORN_LAZY_FUNCTION

template <std::size_t count>
std::string FillSlots(void* library, const char* file, const FunctionSlot (&slots)[count]) {
    for (const FunctionSlot& slot : slots) {
        void* function = dlsym(library, slot.name);
        if (function == nullptr) return std::string(file) + ": no " + slot.name;
        *slot.slot = reinterpret_cast<void (*)()>(function);
    }
    return {};
}

// A library is never unloaded: its objects, handlers and threads live until
// the process ends. Bound lazily, as a linked library would be: the functions
// the installer calls are looked up here, the rest as they are first called.
// GLib and GObject come with the toolkit and with json-glib alike
// (`bringsGLib`), and their functions are found through either.
template <std::size_t count>
std::string LoadOnce(const char* file, const FunctionSlot (&slots)[count], bool bringsGLib) {
    void* library = dlopen(file, RTLD_LAZY | RTLD_GLOBAL);
    if (library == nullptr) return dlerror();
    std::string failure = bringsGLib ? FillSlots(library, file, kGLibSlots) : std::string();
    return failure.empty() ? FillSlots(library, file, slots) : failure;
}

bool Loaded(const std::string& failure, std::string* why) {
    if (!failure.empty() && why != nullptr) *why = failure;
    return failure.empty();
}

}  // namespace

bool LoadToolkit(std::string* why) {
    static const std::string failure = LoadOnce("libgtk-x11-2.0.so.0", kToolkitSlots, true);
    return Loaded(failure, why);
}

bool LoadJsonLibrary(std::string* why) {
    static const std::string failure = LoadOnce("libjson-glib-1.0.so.0", kJsonSlots, true);
    return Loaded(failure, why);
}

bool LoadLineEditing() {
#if QORN_HAVE_LIBEDIT
    static const std::string failure = LoadOnce("libedit.so.2", kLineEditingSlots, false);
    return failure.empty();
#else
    return false;
#endif
}

#else

// Linked with the libraries: loaded with the program.
bool LoadToolkit(std::string*) { return true; }
bool LoadJsonLibrary(std::string*) { return true; }
bool LoadLineEditing() { return true; }

#endif

bool MayOpenDisplay(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && display[0] != '\0') return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--display") == 0 || std::strncmp(argv[i], "--display=", 10) == 0) return true;
    }
    return false;
}
