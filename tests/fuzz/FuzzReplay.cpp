// Stands in for libFuzzer's driver in the ordinary build: feeds every file of
// the directories named on the command line to the harness once, so that seed
// inputs and every input that once crashed a harness run with the unit tests,
// under the same compiler and sanitizers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "FuzzScratch.h"

// Optional, as for libFuzzer: a harness without set-up leaves it out.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code missing;  // a harness that never failed has no regressions directory
        for (const auto& item : std::filesystem::recursive_directory_iterator(argv[i], missing)) {
            if (!item.is_regular_file() || item.path().filename() == "README.md") continue;
            const std::string bytes = fuzz::ReadBytes(item.path());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    // An empty corpus would make this test pass while checking nothing.
    std::printf("%zu inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
