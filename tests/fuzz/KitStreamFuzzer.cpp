// Feeds arbitrary bytes to KitOpen as the kit file: a kit is opened or
// refused as damaged (13), what is opened keeps every promise the installer
// relies on, reading its directory alone (KitOpenDirectory) agrees, and either
// way the temporary directory holds nothing of it once the reader is gone. The first byte chooses whether the rest is the kit
// file itself (inflation is fuzzed) or an image that is deflated first, so
// that mutations reach the reader of the image behind a valid stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzScratch.h"
#include "kit/KitDirectory.h"
#include "kit/KitDirectoryOpen.h"
#include "kit/KitEntryName.h"
#include "kit/KitWriter.h"
#include "text/Convert.h"

static const std::string tempDirectory = fuzz::ScratchDirectory() + "/tmp";

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::filesystem::create_directory(tempDirectory);
    ::setenv("TMPDIR", tempDirectory.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string kitPath = fuzz::ScratchDirectory() + "/qorn.efd";
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    fuzz::WriteBytes(kitPath, data[0] & 1 ? DeflateRaw(rest) : rest);
    {
        KitReader reader;
        const ErrorCode code = KitOpen(reader, ToWString(kitPath.c_str()));
        // The image is there while the reader holds an opened kit, and only then.
        if (std::filesystem::is_empty(tempDirectory) == (code == ERR_NONE)) std::abort();
        if (code != ERR_NONE && (code != ERR_INVALID_DATA || !reader.entries.empty())) std::abort();
        if (reader.entries.size() > kKitMaxEntries || reader.descriptions.size() > kKitMaxDescriptions) std::abort();
        for (const KitDescription& description : reader.descriptions) {
            if (description.productName.length() > kKitMaxTextUnits) std::abort();
        }
        for (const KitEntry& entry : reader.entries) {
            const auto imageSize = std::filesystem::file_size(ToAString(reader.tempPath).c_str());
            if (std::uint64_t{entry.offset} + entry.size > imageSize || !IsSafeEntryName(entry.name)) std::abort();
        }
        // Reading the directory alone gives the same answer and list, and unpacks nothing.
        KitReader listed;
        if (KitOpenDirectory(listed, ToWString(kitPath.c_str())) != code || listed.handle != INVALID_FILE_HANDLE ||
            listed.entries.size() != reader.entries.size() || listed.descriptions.size() != reader.descriptions.size()) {
            std::abort();
        }
        for (std::size_t i = 0; i < listed.entries.size(); ++i) {
            const KitEntry& a = listed.entries[i];
            const KitEntry& b = reader.entries[i];
            if (a.name != b.name || a.offset != b.offset || a.size != b.size) std::abort();
        }
    }
    if (!std::filesystem::is_empty(tempDirectory)) std::abort();
    return 0;
}
