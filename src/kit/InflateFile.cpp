#include "kit/InflateFile.h"

#include <cerrno>
#include <memory>

#include "kit/FileMapping.h"
#include "kit/RawInflater.h"
#include "platform/File.h"
#include "platform/SystemPath.h"

namespace {

constexpr std::uint32_t kWindowSize = 256 * 1024;

// The length of the kit's bytes in an open file: the slice, or the rest of
// the file from its offset; nothing when the file is shorter than the slice
// or the kit is beyond what the format addresses.
bool KitBytes(FileHandle file, const KitSlice& slice, std::uint64_t* length) {
    std::uint64_t high = 0;
    const std::uint32_t low = FileSeek(file, 0, &high, SEEK_FROM_END);
    if (high == 0xFFFFFFFFull) return false;
    const std::uint64_t fileSize = (high << 32) | low;
    if (slice.offset > fileSize) return false;
    *length = slice.length == KitSlice::kToEnd ? fileSize - slice.offset : slice.length;
    return *length <= fileSize - slice.offset && *length <= kLargestKitImage &&
           FileSeek(file, 0, nullptr, SEEK_FROM_BEGIN) == 0;
}

}  // namespace

std::unique_ptr<FileMapping> MapKitBytes(FileHandle file, const KitSlice& slice) {
    std::uint64_t size = 0;
    if (!KitBytes(file, slice, &size)) return nullptr;
    auto mapping = std::make_unique<FileMapping>(file, static_cast<std::size_t>(size), slice.offset);
    return mapping->valid() ? std::move(mapping) : nullptr;
}

ErrorCode InflateKitBytes(FileMapping& mapping, const InflatedWindowSink& sink) {
    RawInflater inflater(mapping.data(), mapping.size());
    if (!inflater.valid()) return ERR_INVALID_DATA;
    auto window = std::make_unique<unsigned char[]>(kWindowSize);
    std::uint64_t total = 0;
    for (;;) {
        std::uint32_t produced = 0;
        const RawInflater::Result result = inflater.Inflate(window.get(), kWindowSize, &produced);
        if (result == RawInflater::Result::kInvalid) return ERR_INVALID_DATA;
        if (total + produced > kLargestKitImage) return ERR_INVALID_DATA;
        if (produced > 0) {
            const ErrorCode code = sink(total, window.get(), produced);
            if (code != ERR_NONE) return code;
        }
        total += produced;
        if (result == RawInflater::Result::kEnd) return ERR_NONE;
        mapping.ReleaseBefore(inflater.consumed());
    }
}

namespace {

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
    // A limit of the session is not the temporary folder's fault, and is told apart.
    if (code == ERR_NONE || code == ERR_DISK_FULL || code == ERR_FILE_TOO_LARGE) return code;
    return ERR_CANT_WRITE;
}

// Writes each window out at once, within the room the space guard allows.
ErrorCode InflateInto(FileMapping& mapping, FileHandle destination, SpaceGuard& space) {
    return InflateKitBytes(mapping, [&](std::uint64_t total, const unsigned char* bytes, std::uint32_t count) {
        if (!space.Allows(total, count)) return ERR_DISK_FULL;
        return WriteImage(destination, bytes, count);
    });
}

}  // namespace

ErrorCode InflateFile(const WString& source, const WString& destination, const FreeSpaceProbe& freeSpace) {
    return InflateFile(source, KitSlice{}, destination, freeSpace);
}

ErrorCode InflateFile(const WString& source, const KitSlice& slice, const WString& destination,
                      const FreeSpaceProbe& freeSpace) {
    FileHandleGuard in;
    ErrorCode code = FileOpen(source, ACCESS_READ, 0, OPEN_EXISTING, in.out());
    if (code != ERR_NONE) return code;
    FileHandleGuard out;
    if (FileOpen(destination, ACCESS_WRITE, 0, OPEN_CREATE, out.out()) != ERR_NONE) {
        // A process out of descriptors is not the temporary folder's fault.
        return errno == EMFILE || errno == ENFILE ? ErrorFromErrno(errno) : ERR_CANT_WRITE;
    }

    const std::unique_ptr<FileMapping> mapping = MapKitBytes(in.get(), slice);
    if (!mapping) return ERR_INVALID_DATA;
    SpaceGuard space(freeSpace, out.get());
    code = InflateInto(*mapping, out.get(), space);
    if (code != ERR_NONE) return code;
    // An older, longer destination keeps nothing of its own.
    if (FileSetEnd(out.get()) != ERR_NONE) return ERR_CANT_WRITE;
    code = FileClose(out.release());
    return code == ERR_NONE || code == ERR_DISK_FULL ? code : ERR_CANT_WRITE;
}
