#include "kit/InflateFile.h"

#include <memory>

#include "kit/FileMapping.h"
#include "kit/InflateStream.h"
#include "platform/File.h"

namespace {

constexpr std::uint32_t kWindowSize = 32768;
constexpr std::uint64_t kLargestImage = 0xFFFFFFFFull;

// The whole size of an open file, or nothing when it cannot be told or is
// beyond what the kit format addresses.
bool KitFileSize(FileHandle file, std::uint64_t* size) {
    std::uint64_t high = 0;
    const std::uint32_t low = FileSeek(file, 0, &high, SEEK_FROM_END);
    if (high == 0xFFFFFFFFull) return false;
    *size = (high << 32) | low;
    return *size <= kLargestImage && FileSeek(file, 0, nullptr, SEEK_FROM_BEGIN) == 0;
}

// Keeps the image from taking the room the installation needs after it.
class SpaceGuard {
public:
    SpaceGuard(const FreeSpaceProbe& probe, FileHandle destination) : probe_(probe), destination_(destination) {}

    // Whether `produced` more bytes may follow the `written` ones.
    bool Allows(std::uint64_t written, std::uint64_t produced) {
        if (written + produced < nextCheck_) return true;
        nextCheck_ = written + produced + kSpaceCheckInterval;
        std::uint64_t freeBytes = 0;
        if (probe_(destination_, &freeBytes) != ERR_NONE) return true;  // the writes will tell
        return freeBytes >= written + produced + kImageSpaceMargin;
    }

private:
    const FreeSpaceProbe& probe_;
    FileHandle destination_;
    std::uint64_t nextCheck_ = 0;
};

ErrorCode WriteImage(FileHandle destination, const unsigned char* bytes, std::uint32_t count) {
    std::uint32_t written = 0;
    const ErrorCode code = FileWrite(destination, bytes, count, &written);
    if (code == ERR_NONE || code == ERR_DISK_FULL) return code;
    return ERR_CANT_WRITE;
}

// Runs the stream over the mapping in 32 KiB windows, writing each window
// out at once. Only a stream that reaches its end counts as complete: a cut
// stream is a damaged kit, not a shorter one.
ErrorCode InflateInto(z_stream& stream, FileMapping& mapping, FileHandle destination, SpaceGuard& space) {
    auto window = std::make_unique<unsigned char[]>(kWindowSize);
    stream.next_in = const_cast<unsigned char*>(mapping.data());
    stream.avail_in = static_cast<uInt>(mapping.size());
    for (;;) {
        stream.next_out = window.get();
        stream.avail_out = kWindowSize;
        const uLong before = stream.total_out;
        const int result = ::inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) return ERR_INVALID_DATA;
        if (stream.total_out > kLargestImage) return ERR_INVALID_DATA;
        const auto produced = static_cast<std::uint32_t>(stream.total_out - before);
        if (produced > 0) {
            if (!space.Allows(before, produced)) return ERR_DISK_FULL;
            const ErrorCode code = WriteImage(destination, window.get(), produced);
            if (code != ERR_NONE) return code;
        }
        if (result == Z_STREAM_END) return ERR_NONE;
        mapping.ReleaseBefore(static_cast<std::size_t>(stream.next_in - mapping.data()));
        if (result == Z_BUF_ERROR || stream.avail_out != 0) return ERR_INVALID_DATA;
    }
}

}  // namespace

ErrorCode InflateFile(const WString& source, const WString& destination, const FreeSpaceProbe& freeSpace) {
    FileHandleGuard in;
    ErrorCode code = FileOpen(source, ACCESS_READ, 0, OPEN_EXISTING, in.out());
    if (code != ERR_NONE) return code;
    FileHandleGuard out;
    if (FileOpen(destination, ACCESS_WRITE, 0, OPEN_CREATE, out.out()) != ERR_NONE) return ERR_CANT_WRITE;

    std::uint64_t size = 0;
    if (!KitFileSize(in.get(), &size)) return ERR_INVALID_DATA;
    FileMapping mapping(in.get(), static_cast<std::size_t>(size));
    if (!mapping.valid()) return ERR_INVALID_DATA;
    InflateStream stream;
    if (!stream.valid()) return ERR_INVALID_DATA;

    SpaceGuard space(freeSpace, out.get());
    code = InflateInto(stream.get(), mapping, out.get(), space);
    if (code != ERR_NONE) return code;
    // An older, longer destination keeps nothing of its own.
    if (FileSetEnd(out.get()) != ERR_NONE) return ERR_CANT_WRITE;
    code = FileClose(out.release());
    return code == ERR_NONE || code == ERR_DISK_FULL ? code : ERR_CANT_WRITE;
}
