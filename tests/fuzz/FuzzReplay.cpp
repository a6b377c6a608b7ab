// Stands in for libFuzzer's driver in the ordinary build: feeds every file
// of the directories (or files) named on the command line to the harness
// once, so that seed inputs and every input that once crashed a harness run
// with the unit tests, under the same compiler and sanitizers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Optional, as for libFuzzer: a harness without set-up leaves it out.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> Inputs(const std::filesystem::path& where) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(where)) {
        for (const auto& item : std::filesystem::recursive_directory_iterator(where)) {
            if (item.is_regular_file() && item.path().filename() != "README.md") files.push_back(item.path());
        }
    } else if (std::filesystem::is_regular_file(where)) {
        files.push_back(where);
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& file : Inputs(argv[i])) {
            std::ifstream stream(file, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++count;
        }
    }
    // An empty corpus would make this test pass while checking nothing.
    std::printf("%zu inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
