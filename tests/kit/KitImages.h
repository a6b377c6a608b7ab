// Pieces for crafting unpacked kit images in tests, byte by byte.
#pragma once

#include <cstdint>
#include <string>

#include "kit/KitWriter.h"
#include "launcher/ScratchDirectory.h"

namespace kit_images {

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
    return {scratch::Wide(language), scratch::Wide(product), scratch::Wide(std::string(product) + " Labs"),
            scratch::Wide(file)};
}

}  // namespace kit_images
