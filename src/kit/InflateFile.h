// Turning the kit file, one raw deflate stream, into its unpacked image
// without ever filling the file system that receives it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "kit/FileMapping.h"
#include "platform/ErrorCode.h"
#include "platform/File.h"
#include "text/WString.h"

// Free bytes on the file system of the open destination; a non-zero result
// means unknown. GetFileSystemFreeSpace, or a stand-in in tests.
using FreeSpaceProbe = std::function<ErrorCode(FileHandle destination, std::uint64_t* freeBytes)>;

// Where the kit's bytes lie in the file that holds them: the whole file for a
// kit of its own, a range of it for the kit a one-file installer carries.
struct KitSlice {
    static constexpr std::uint64_t kToEnd = ~std::uint64_t{0};
    std::uint64_t offset = 0;
    std::uint64_t length = kToEnd;  // kToEnd: up to the end of the file
};

// What the image leaves free beside itself: the installation later keeps a
// backup of each file it replaces in the same directory, up to the image's
// own size, and needs some room for its own small files.
inline constexpr std::uint64_t kImageSpaceMargin = 16ull << 20;
// The most an image may hold: the format addresses it in 32 bits.
inline constexpr std::uint64_t kLargestKitImage = 0xFFFFFFFFull;
// How much may be written between two questions to the file system.
inline constexpr std::uint64_t kSpaceCheckInterval = 1ull << 20;

// Inflates `source` into `destination` (created when missing, cut to the
// inflated length). Before the first write and after every further
// kSpaceCheckInterval bytes, the free space must be at least the image so far
// plus kImageSpaceMargin (an unknown free space is not checked). 0; 13 when
// the source cannot be mapped (an empty file included), is no complete raw
// deflate stream, or inflates past 4 GiB; 112 when the space runs short or
// a write finds the file system full; 1013 when the destination cannot be
// opened or written for another reason; otherwise the code of the failed
// open of the source. The caller removes a partial destination. With a
// `slice`, only those bytes of `source` are the kit; a slice that runs past
// the end of the file is a damaged kit (13).
ErrorCode InflateFile(const WString& source, const WString& destination, const FreeSpaceProbe& freeSpace);
ErrorCode InflateFile(const WString& source, const KitSlice& slice, const WString& destination,
                      const FreeSpaceProbe& freeSpace);

// The kit's bytes of the open `file` mapped, or nothing when the file is
// shorter than the slice, the kit passes 4 GiB or cannot be mapped (an empty
// kit among them).
std::unique_ptr<FileMapping> MapKitBytes(FileHandle file, const KitSlice& slice);

// Takes each inflated window: the bytes before it, the window and its length.
using InflatedWindowSink =
    std::function<ErrorCode(std::uint64_t before, const unsigned char* window, std::uint32_t count)>;
// Runs the whole stream through `sink`, a window at a time. Only a stream
// that reaches its end counts as complete: a cut stream is a damaged kit, not
// a shorter one. 0; 13 for a damaged stream or an image past 4 GiB; else the
// first code the sink returns.
ErrorCode InflateKitBytes(FileMapping& mapping, const InflatedWindowSink& sink);
