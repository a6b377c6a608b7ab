// Feeds arbitrary bytes to KitOpen as the kit file: a kit is opened or
// refused as damaged (13), what is opened keeps every promise the installer
// relies on, and either way the temporary directory holds nothing of it once
// the reader is gone. The first byte chooses whether the rest is the kit
// file itself (inflation is fuzzed) or an image that is deflated first, so
// that mutations reach the reader of the image behind a valid stream.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzScratch.h"
#include "kit/KitDirectory.h"
#include "kit/KitEntryName.h"
#include "kit/KitReader.h"
#include "text/Convert.h"

namespace {

const std::string& TempDirectory() {
    static const std::string directory = fuzz::ScratchDirectory() + "/tmp";
    return directory;
}

bool Empty(const std::string& directory) { return std::filesystem::is_empty(directory); }

std::string DeflateRaw(const std::uint8_t* data, std::size_t size) {
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
    std::string out(deflateBound(&stream, size), '\0');
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) std::abort();
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::filesystem::create_directory(TempDirectory());
    ::setenv("TMPDIR", TempDirectory().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string kitPath = fuzz::ScratchDirectory() + "/qorn.efd";
    const std::string kit = data[0] & 1 ? DeflateRaw(data + 1, size - 1)
                                        : std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    fuzz::WriteBytes(kitPath, kit.data(), kit.size());
    {
        KitReader reader;
        const ErrorCode code = KitOpen(reader, ToWString(kitPath.c_str()));
        if (code == ERR_NONE) {
            const auto imageSize = std::filesystem::file_size(ToAString(reader.tempPath).c_str());
            for (const KitEntry& entry : reader.entries) {
                if (std::uint64_t{entry.offset} + entry.size > imageSize || !IsSafeEntryName(entry.name)) std::abort();
            }
            for (const KitDescription& description : reader.descriptions) {
                if (description.productName.length() > kKitMaxTextUnits) std::abort();
            }
            if (reader.entries.size() > kKitMaxEntries || reader.descriptions.size() > kKitMaxDescriptions ||
                Empty(TempDirectory())) {
                std::abort();
            }
        } else if (code != ERR_INVALID_DATA || !reader.entries.empty() || !Empty(TempDirectory())) {
            std::abort();
        }
    }
    if (!Empty(TempDirectory())) std::abort();
    return 0;
}
