// Pieces for crafting unpacked kit images in tests, byte by byte, and the
// fixture that opens them as kits.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/KitDirectoryOpen.h"
#include "kit/KitWriter.h"
#include "launcher/ScratchDirectory.h"

namespace kit_images {

using scratch::Narrow;
using scratch::Wide;

inline std::string U32(std::uint32_t value) {
    std::string bytes;
    AppendKitU32(bytes, value);
    return bytes;
}
inline std::string Entry(std::u16string name, std::uint32_t offset, std::uint32_t size, std::int64_t seconds = 0) {
    return EncodeEntryRecord(WString(name.data(), name.size()), FileTimeFromUnixSeconds(seconds), offset, size);
}
// A multi-language header without records, then `rest` (the directory and the data).
inline std::string Multi(const std::string& rest) { return U32(1) + U32(0) + rest; }
inline KitDescription Description(const char* language, const char* product, const char* file) {
    return {Wide(language), Wide(product), Wide(std::string(product) + " Labs"), Wide(file)};
}
// A name of `bytes` bytes, in components of at most NAME_MAX bytes.
inline std::u16string LongName(std::size_t bytes) {
    std::u16string name;
    while (name.size() < bytes) name += name.size() % 256 == 128 ? u'\\' : u'a';
    return name;
}
// `record` with surplus zero bytes up to `size`, its size word saying so.
inline std::string Padded(std::string record, std::size_t size) {
    record.resize(size, '\0');
    return record.replace(0, 4, U32(static_cast<std::uint32_t>(size)));
}

// TMPDIR is the environment's own directory, so that the image can be seen.
class KitTest : public ::testing::Test {
protected:
    scratch::Environment env;
    const std::string kit = env / "qorn.efd";
    // Opens `image`, deflated, as the kit.
    ErrorCode Open(KitReader& reader, const std::string& image) {
        scratch::WriteBytes(kit, DeflateRaw(image));
        return OpenKit(reader);
    }
    // Opens the kit file; reading its directory alone must give the same
    // answer and listing, and leave TMPDIR as it was. Read directory first,
    // the kit gives KitOpen's answer at the latest when it is unpacked.
    ErrorCode OpenKit(KitReader& reader) {
        const std::vector<std::string> before = scratch::Names(env.temp());
        KitReader directory;
        const ErrorCode listed = KitOpenDirectory(directory, Wide(kit));
        KitReader first;
        const ErrorCode read = KitOpenDirectoryFirst(first, Wide(kit));
        EXPECT_EQ(scratch::Names(env.temp()), before);
        const ErrorCode code = KitOpen(reader, Wide(kit));
        EXPECT_EQ(listed, code);
        EXPECT_EQ(Listing(directory), Listing(reader));
        EXPECT_EQ(read == ERR_NONE ? KitOpenImage(first) : read, code);
        if (code == ERR_NONE) {
            EXPECT_EQ(Listing(first), Listing(reader));
        }
        return code;
    }
    static std::string Listing(const KitReader& reader) {
        std::string all;
        for (const KitDescription& d : reader.descriptions) {
            all += Narrow(d.language + u"|" + d.productName + u"|" + d.providerName + u"|" + d.descriptionFile) + "\n";
        }
        for (const KitEntry& e : reader.entries) {
            const std::uint64_t time = std::uint64_t{e.lastWriteTime.high} << 32 | e.lastWriteTime.low;
            all += Narrow(e.name) + "|" + std::to_string(time) + "|" + std::to_string(e.offset) + "+" +
                   std::to_string(e.size) + "\n";
        }
        return all;
    }
};

}  // namespace kit_images
