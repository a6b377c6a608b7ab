#include "kit/KitDirectoryOpen.h"

#include <memory>

#include "kit/KitDirectory.h"
#include "kit/KitImageReader.h"
#include "kit/RawInflater.h"
#include "platform/File.h"

namespace {

// The length of the whole image, and whether the stream holds together to
// its end, learnt without keeping a byte of it.
ErrorCode MeasureImage(FileMapping& mapping, std::uint64_t* size) {
    return InflateKitBytes(mapping, [size](std::uint64_t before, const unsigned char*, std::uint32_t count) {
        *size = before + count;
        return ERR_NONE;
    });
}

// The image's bytes in order, inflated only as far as they are asked for.
KitImageReader::Source StreamFrom(RawInflater& inflater) {
    return [&inflater, ended = false](unsigned char* into, std::uint32_t capacity, std::uint32_t* got) mutable {
        *got = 0;
        if (ended) return ERR_NONE;
        const RawInflater::Result result = inflater.Inflate(into, capacity, got);
        ended = result == RawInflater::Result::kEnd;
        return result == RawInflater::Result::kInvalid ? ERR_INVALID_DATA : ERR_NONE;
    };
}

}  // namespace

ErrorCode KitOpenDirectory(KitReader& reader, const WString& path, const KitSlice& slice) {
    KitClose(reader);
    std::vector<KitEntry>().swap(reader.entries);
    FileHandleGuard in;
    const ErrorCode opened = FileOpen(path, ACCESS_READ, 0, OPEN_EXISTING, in.out());
    if (opened != ERR_NONE) return opened;
    const std::unique_ptr<FileMapping> mapping = MapKitBytes(in.get(), slice);
    if (!mapping) return ERR_INVALID_DATA;
    std::uint64_t size = 0;
    const ErrorCode measured = MeasureImage(*mapping, &size);
    if (measured != ERR_NONE) return measured;
    RawInflater inflater(mapping->data(), mapping->size());
    if (!inflater.valid()) return ERR_INVALID_DATA;
    KitImageReader fields(StreamFrom(inflater), size);
    return ReadKitDirectory(fields, reader.descriptions, reader.entries);
}
