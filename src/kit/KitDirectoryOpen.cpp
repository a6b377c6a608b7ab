#include "kit/KitDirectoryOpen.h"

#include <malloc.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>

#include "kit/KitDirectory.h"
#include "kit/KitImageReader.h"
#include "kit/KitTail.h"
#include "kit/RawInflater.h"
#include "platform/File.h"
#include "platform/SystemPath.h"

namespace {

// The length of the whole image, and whether the stream holds together to
// its end, learnt without keeping a byte of it.
ErrorCode MeasureImage(FileMapping& mapping, std::uint64_t* size) {
    return InflateKitBytes(mapping, [size](std::uint64_t before, const unsigned char*, std::uint32_t count) {
        *size = before + count;
        return ERR_NONE;
    });
}

// The image's bytes in order, inflated only as far as they are asked for;
// the kit's pages behind the inflater are let go as it goes.
KitImageReader::Source StreamFrom(KitTail& tail) {
    return [&tail](unsigned char* into, std::uint32_t capacity, std::uint32_t* got) {
        *got = 0;
        if (tail.ended) return ERR_NONE;
        const RawInflater::Result result = tail.inflater->Inflate(into, capacity, got);
        tail.ended = result == RawInflater::Result::kEnd;
        tail.mapping->ReleaseBefore(tail.inflater->consumed());
        return result == RawInflater::Result::kInvalid ? ERR_INVALID_DATA : ERR_NONE;
    };
}

// A digest of the directory, field by field: the descriptions and the entries.
std::uint64_t DirectoryDigest(const KitReader& reader) {
    uLong crc = crc32(0, nullptr, 0);
    uLong adler = adler32(0, nullptr, 0);
    const auto add = [&](const void* bytes, std::size_t size) {
        crc = crc32(crc, static_cast<const Bytef*>(bytes), static_cast<uInt>(size));
        adler = adler32(adler, static_cast<const Bytef*>(bytes), static_cast<uInt>(size));
    };
    const auto addText = [&](const WString& text) {
        const std::uint64_t length = text.length();
        add(&length, sizeof length);
        add(text.data(), text.length() * sizeof(char16_t));
    };
    for (const KitDescription& d : reader.descriptions) {
        for (const WString* text : {&d.language, &d.productName, &d.providerName, &d.descriptionFile}) addText(*text);
    }
    for (const KitEntry& e : reader.entries) {
        addText(e.name);
        const std::uint64_t fields[] = {e.lastWriteTime.value(), e.offset, e.size};
        add(fields, sizeof fields);
    }
    return (std::uint64_t{crc} << 32) | (adler & 0xFFFFFFFFu);
}

}  // namespace

bool KitTail::Unchanged() const {
    struct stat now {};
    return fstat(static_cast<int>(file.get()), &now) == 0 && now.st_size == opened.st_size &&
           now.st_mtim.tv_sec == opened.st_mtim.tv_sec && now.st_mtim.tv_nsec == opened.st_mtim.tv_nsec &&
           now.st_ctim.tv_sec == opened.st_ctim.tv_sec && now.st_ctim.tv_nsec == opened.st_ctim.tv_nsec;
}

ErrorCode KitOpenDirectory(KitReader& reader, const WString& path, const KitSlice& slice) {
    ErrorCode code = KitOpenDirectoryFirst(reader, path, slice);
    if (code == ERR_NONE) code = KitCheckWholeStream(reader);
    if (code != ERR_NONE) {
        std::vector<KitEntry>().swap(reader.entries);
        reader.descriptions.clear();
    }
    return code;
}

ErrorCode KitOpenDirectoryFirst(KitReader& reader, const WString& path, const KitSlice& slice,
                                const KitDescriptionsRead& onDescriptions) {
    KitClose(reader);
    std::vector<KitEntry>().swap(reader.entries);
    reader.descriptions.clear();
    auto tail = std::make_unique<KitTail>();
    const ErrorCode opened = FileOpen(path, ACCESS_READ, 0, OPEN_EXISTING, tail->file.out());
    if (opened != ERR_NONE) return opened;
    if (fstat(static_cast<int>(tail->file.get()), &tail->opened) != 0) return ErrorFromErrno(errno);
    tail->mapping = MapKitBytes(tail->file.get(), slice);
    if (!tail->mapping) return ERR_INVALID_DATA;
    tail->inflater = std::make_unique<RawInflater>(tail->mapping->data(), tail->mapping->size());
    if (!tail->inflater->valid()) return ERR_INVALID_DATA;
    // The image's length is not known without inflating it all: the most the
    // format addresses bounds the fields instead, and the kit's own limits
    // bound what they may make the reader hold.
    KitImageReader fields(StreamFrom(*tail), kLargestKitImage);
    const ErrorCode code = ReadKitDirectory(fields, reader.descriptions, reader.entries, onDescriptions);
    if (code != ERR_NONE) {
        reader.descriptions.clear();
        return code;
    }
    tail->dataStart = fields.position();
    tail->unread = fields.TakeReadAhead();
    reader.tail = std::move(tail);
    reader.sourcePath = path;
    reader.sourceSlice = slice;
    return ERR_NONE;
}

ErrorCode KitOpenImage(KitReader& reader, const FreeSpaceProbe& freeSpace) {
    if (reader.handle != INVALID_FILE_HANDLE) return ERR_NONE;
    const std::uint64_t planned = DirectoryDigest(reader);
    const WString path = reader.sourcePath;
    const KitSlice slice = reader.sourceSlice;
    // The image's own list takes the place of the one read first, which goes
    // before it is read: a large kit's list never stands in memory twice.
    std::vector<KitEntry>().swap(reader.entries);
    // The list was most likely made on another thread, whose freed memory
    // the allocator keeps for it: given back now, not held beside the new one.
    (void)malloc_trim(0);
    KitReader whole;
    ErrorCode code = KitOpen(whole, path, slice, freeSpace);
    // Another list than the one the run planned on: the kit file changed since.
    if (code == ERR_NONE && DirectoryDigest(whole) != planned) code = ERR_INVALID_DATA;
    if (code != ERR_NONE) {
        (void)KitOpenDirectoryFirst(reader, path, slice);  // the list back, as far as the kit still gives it
        return code;
    }
    std::swap(reader.entries, whole.entries);
    std::swap(reader.descriptions, whole.descriptions);
    std::swap(reader.tempPath, whole.tempPath);
    std::swap(reader.handle, whole.handle);
    std::swap(reader.imageLock, whole.imageLock);
    reader.tail.reset();  // the image holds the data now
    return ERR_NONE;
}

std::uint64_t KitStreamBytes(const KitReader& reader) { return reader.tail ? reader.tail->mapping->size() : 0; }

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
