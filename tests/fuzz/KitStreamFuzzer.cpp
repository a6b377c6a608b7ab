// Feeds arbitrary bytes to KitOpen as the kit file: a kit is opened or
// refused as damaged, and either way the temporary directory holds nothing
// of it once the reader is gone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzScratch.h"
#include "kit/KitDirectory.h"
#include "kit/KitReader.h"
#include "text/Convert.h"

namespace {

const std::string& TempDirectory() {
    static const std::string directory = fuzz::ScratchDirectory() + "/tmp";
    return directory;
}

bool Empty(const std::string& directory) { return std::filesystem::is_empty(directory); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::filesystem::create_directory(TempDirectory());
    ::setenv("TMPDIR", TempDirectory().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string kitPath = fuzz::ScratchDirectory() + "/qorn.efd";
    fuzz::WriteBytes(kitPath, data, size);
    {
        KitReader reader;
        const ErrorCode code = KitOpen(reader, ToWString(kitPath.c_str()));
        if (code == ERR_NONE) {
            const auto imageSize = std::filesystem::file_size(ToAString(reader.tempPath).c_str());
            for (const KitEntry& entry : reader.entries) {
                if (std::uint64_t{entry.offset} + entry.size > imageSize) std::abort();
            }
            if (reader.entries.size() > kKitMaxEntries || Empty(TempDirectory())) std::abort();
        } else if (code != ERR_INVALID_DATA || !reader.entries.empty() || !Empty(TempDirectory())) {
            std::abort();
        }
    }
    if (!Empty(TempDirectory())) std::abort();
    return 0;
}
