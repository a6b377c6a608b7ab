#include "kit/KitDirectoryOpen.h"

#include <algorithm>
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

// The same directory, description by description and entry by entry.
bool SameDirectory(const KitReader& a, const KitReader& b) {
    const auto sameDescription = [](const KitDescription& x, const KitDescription& y) {
        return x.language == y.language && x.productName == y.productName && x.providerName == y.providerName &&
               x.descriptionFile == y.descriptionFile;
    };
    const auto sameEntry = [](const KitEntry& x, const KitEntry& y) {
        return x.name == y.name && x.lastWriteTime.value() == y.lastWriteTime.value() && x.offset == y.offset &&
               x.size == y.size;
    };
    return std::equal(a.descriptions.begin(), a.descriptions.end(), b.descriptions.begin(), b.descriptions.end(),
                      sameDescription) &&
           std::equal(a.entries.begin(), a.entries.end(), b.entries.begin(), b.entries.end(), sameEntry);
}

}  // namespace

ErrorCode KitOpenDirectory(KitReader& reader, const WString& path, const KitSlice& slice) {
    ErrorCode code = KitOpenDirectoryFirst(reader, path, slice);
    if (code == ERR_NONE) code = KitCheckWholeStream(reader);
    if (code != ERR_NONE) {
        std::vector<KitEntry>().swap(reader.entries);
        reader.descriptions.clear();
    }
    return code;
}

ErrorCode KitOpenDirectoryFirst(KitReader& reader, const WString& path, const KitSlice& slice) {
    KitClose(reader);
    std::vector<KitEntry>().swap(reader.entries);
    reader.descriptions.clear();
    FileHandleGuard in;
    const ErrorCode opened = FileOpen(path, ACCESS_READ, 0, OPEN_EXISTING, in.out());
    if (opened != ERR_NONE) return opened;
    const std::unique_ptr<FileMapping> mapping = MapKitBytes(in.get(), slice);
    if (!mapping) return ERR_INVALID_DATA;
    RawInflater inflater(mapping->data(), mapping->size());
    if (!inflater.valid()) return ERR_INVALID_DATA;
    // The image's length is not known without inflating it all: the most the
    // format addresses bounds the fields instead, and the kit's own limits
    // bound what they may make the reader hold.
    KitImageReader fields(StreamFrom(inflater), kLargestKitImage);
    const ErrorCode code = ReadKitDirectory(fields, reader.descriptions, reader.entries);
    if (code != ERR_NONE) {
        reader.descriptions.clear();
        return code;
    }
    reader.sourcePath = path;
    reader.sourceSlice = slice;
    return ERR_NONE;
}

ErrorCode KitOpenImage(KitReader& reader, const FreeSpaceProbe& freeSpace) {
    if (reader.handle != INVALID_FILE_HANDLE) return ERR_NONE;
    KitReader whole;
    const ErrorCode code = KitOpen(whole, reader.sourcePath, reader.sourceSlice, freeSpace);
    if (code != ERR_NONE) return code;
    if (!SameDirectory(whole, reader)) return ERR_INVALID_DATA;  // `whole` removes its image
    // The image changes hands; the entries the run has planned on stay where they are.
    std::swap(reader.tempPath, whole.tempPath);
    std::swap(reader.handle, whole.handle);
    std::swap(reader.imageLock, whole.imageLock);
    return ERR_NONE;
}

ErrorCode KitCheckWholeStream(const KitReader& reader) {
    FileHandleGuard in;
    const ErrorCode opened = FileOpen(reader.sourcePath, ACCESS_READ, 0, OPEN_EXISTING, in.out());
    if (opened != ERR_NONE) return opened;
    const std::unique_ptr<FileMapping> mapping = MapKitBytes(in.get(), reader.sourceSlice);
    if (!mapping) return ERR_INVALID_DATA;
    std::uint64_t size = 0;
    const ErrorCode measured = MeasureImage(*mapping, &size);
    if (measured != ERR_NONE) return measured;
    const bool holdsAll = std::all_of(reader.entries.begin(), reader.entries.end(), [size](const KitEntry& entry) {
        return std::uint64_t{entry.offset} + entry.size <= size;
    });
    return holdsAll ? ERR_NONE : ERR_INVALID_DATA;
}
