// The one-file installer: an executable with a kit appended. The bytes are
// the executable's own ELF image, then the kit file unchanged, then a
// 24-byte trailer: the kit's length (8 bytes), the zlib CRC-32 of the kit
// (4), the trailer's format version (4, now 1), all little-endian, and the
// magic "QORNKIT\x1a" (8). Anything after the ELF image must be such a kit:
// a cut or altered bundle is a damaged kit, found before anything is unpacked.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "kit/InflateFile.h"
#include "platform/File.h"
#include "text/WString.h"

inline constexpr std::size_t kBundleTrailerSize = 24;
inline constexpr std::uint32_t kBundleFormatVersion = 1;
// The longest kit a bundle may carry: the installer refuses a longer one as damaged.
inline constexpr std::uint64_t kLargestBundledKit = 0xFFFFFFFFull;

enum class BundledKit {
    kNone,     // not an ELF executable, or nothing follows its image (or the file cannot be read)
    kFound,    // a whole kit follows the image and its checksum matches
    kDamaged,  // something follows the image (or the image itself is cut short) but it is no whole kit
};

// The bytes of the ELF image at the start of the open file `file` of
// `fileSize` bytes: its headers, segments, sections and section table. False
// when the file does not start with a 64-bit ELF header; true with a size
// beyond `fileSize` when the file is cut short.
bool ExecutableImageSize(FileHandle file, std::uint64_t fileSize, std::uint64_t* size);

// Looks for a kit carried at the end of the file at `path`. kFound sets
// `slice` to the kit's bytes, after checking the length, version and CRC-32
// of the trailer against the whole kit; kDamaged sets `problem` to a short
// English reason (for efdkit), and so does kNone for an executable without a
// kit (a plain file leaves it empty).
BundledKit FindBundledKit(const WString& path, KitSlice* slice, std::string* problem = nullptr);

// The trailer that follows a kit of `length` bytes whose CRC-32 is `checksum`.
std::array<unsigned char, kBundleTrailerSize> BundleTrailer(std::uint64_t length, std::uint32_t checksum);

// The zlib CRC-32 of `length` bytes of `file` from `offset` on, read in
// blocks. False when the file ends before or a read fails.
bool ChecksumOfRange(FileHandle file, std::uint64_t offset, std::uint64_t length, std::uint32_t* checksum);
