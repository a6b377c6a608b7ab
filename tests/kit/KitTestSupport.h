// Building kit files for tests, from whole sources or from hand-made
// (possibly damaged) images.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "kit/KitWriter.h"
#include "platform/ScratchDirectory.h"

namespace testing_support {

inline KitDescription Description(const std::string& language, const std::string& product,
                                  const std::string& provider, const std::string& file) {
    return {W(language), W(product), W(provider), W(file)};
}

inline KitFileSource FileEntry(const std::string& name, const std::string& data, std::int64_t unixSeconds = 1500000000) {
    KitFileSource file;
    file.name = W(name);
    file.data = data;
    file.lastWriteTime = FileTimeFromUnixSeconds(unixSeconds);
    return file;
}

inline std::string ImageOf(const KitSource& source) {
    std::string image;
    EXPECT_EQ(BuildKitImage(source, &image), ERR_NONE);
    return image;
}

// Writes `image` deflated as a kit file and returns its path.
inline std::string WriteKitImage(const ScratchDirectory& scratch, const std::string& image,
                                 const std::string& name = "qorn.efd") {
    const std::string path = scratch / name;
    WriteBytes(path, DeflateRaw(image));
    return path;
}

// An image with a multi-language header of no records, then `directory`
// (entry count and records) and `data`.
inline std::string ImageWithDirectory(const std::string& directory, const std::string& data = "") {
    std::string image;
    AppendKitU32(image, 1);
    AppendKitU32(image, 0);
    return image + directory + data;
}

inline std::string U32(std::uint32_t value) {
    std::string bytes;
    AppendKitU32(bytes, value);
    return bytes;
}

}  // namespace testing_support
