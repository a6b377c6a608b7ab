#include "kit/KitDirectory.h"

#include "kit/InflateFile.h"
#include "kit/KitEntryName.h"
#include "kit/KitImageReader.h"

namespace {

// The smallest records the format allows: a size word and four empty
// strings; a size word, a name of one unit, the time, offset and size.
constexpr std::uint64_t kSmallestDescriptionRecord = 4 + 4 * 4;
constexpr std::uint64_t kSmallestEntryRecord = 4 + 4 + 2 + 4 * 4;

std::uint64_t ImageSize(FileHandle image) {
    std::uint64_t high = 0;
    const std::uint32_t low = FileSeek(image, 0, &high, SEEK_FROM_END);
    if (high == 0xFFFFFFFFull) throw ERR_INVALID_DATA;
    const std::uint64_t size = (high << 32) | low;
    if (size > kLargestKitImage || FileSeek(image, 0, nullptr, SEEK_FROM_BEGIN) != 0) throw ERR_INVALID_DATA;
    return size;
}

// A count of records is believed only when it is within `most` and the
// image has room for that many of the smallest record.
std::uint32_t ReadCount(KitImageReader& image, std::uint32_t most, std::uint64_t smallestRecord) {
    const std::uint32_t count = image.ReadU32();
    if (count > most || count * smallestRecord > image.size() - image.position()) throw ERR_INVALID_DATA;
    return count;
}

KitDescription ReadDescriptionRecord(KitImageReader& image) {
    const std::string& record = image.ReadRecord(kKitMaxRecordBytes);
    KitRecordCursor cursor(record);
    KitDescription description;
    description.language = cursor.ReadString(kKitMaxTextUnits);
    description.productName = cursor.ReadString(kKitMaxTextUnits);
    description.providerName = cursor.ReadString(kKitMaxTextUnits);
    description.descriptionFile = cursor.ReadString(kKitMaxTextUnits);
    return description;
}

void ReadDescriptions(KitImageReader& image, std::vector<KitDescription>& descriptions) {
    if (image.ReadU32() == 0) {
        KitDescription description;
        description.language = u"en";
        description.productName = image.ReadString(kKitMaxTextUnits);
        description.providerName = image.ReadString(kKitMaxTextUnits);
        description.descriptionFile = image.ReadString(kKitMaxTextUnits);
        descriptions.push_back(description);
        return;
    }
    const std::uint32_t count = ReadCount(image, kKitMaxDescriptions, kSmallestDescriptionRecord);
    for (std::uint32_t i = 0; i < count; ++i) descriptions.push_back(ReadDescriptionRecord(image));
}

KitEntry ReadEntryRecord(KitImageReader& image) {
    const std::string& record = image.ReadRecord(kKitMaxRecordBytes);
    KitRecordCursor cursor(record);
    KitEntry entry;
    entry.name = cursor.ReadString(kKitMaxRecordBytes / 2);
    entry.lastWriteTime.low = cursor.ReadU32();
    entry.lastWriteTime.high = cursor.ReadU32();
    entry.offset = cursor.ReadU32();
    entry.size = cursor.ReadU32();
    // A kit must never write outside the template directory.
    if (!IsSafeEntryName(entry.name)) throw ERR_INVALID_DATA;
    return entry;
}

void ReadEntries(KitImageReader& image, std::vector<KitEntry>& entries) {
    const std::uint32_t count = ReadCount(image, kKitMaxEntries, kSmallestEntryRecord);
    // Bounded by the limit and by the bytes the image really holds.
    entries.reserve(count);
    std::uint64_t nameUnits = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        entries.push_back(ReadEntryRecord(image));
        nameUnits += entries.back().name.length();
        if (nameUnits > kKitMaxNameUnits) throw ERR_INVALID_DATA;
    }
}

// Turns offsets into image positions, refusing data that runs past the end.
void LocateEntryData(const KitImageReader& image, std::vector<KitEntry>& entries) {
    const std::uint64_t dataStart = image.position();
    for (KitEntry& entry : entries) {
        if (dataStart + entry.offset + entry.size > image.size()) throw ERR_INVALID_DATA;
        entry.offset = static_cast<std::uint32_t>(dataStart + entry.offset);
    }
}

}  // namespace

ErrorCode ReadKitDirectory(FileHandle image, std::vector<KitDescription>& descriptions,
                           std::vector<KitEntry>& entries) {
    std::uint64_t size = 0;
    try {
        size = ImageSize(image);
    } catch (ErrorCode code) {
        std::vector<KitEntry>().swap(entries);
        return code;
    }
    KitImageReader fields(image, size);
    return ReadKitDirectory(fields, descriptions, entries);
}

ErrorCode ReadKitDirectory(KitImageReader& fields, std::vector<KitDescription>& descriptions,
                           std::vector<KitEntry>& entries, const KitDescriptionsRead& onDescriptions) {
    // Swapped with an empty list, so that a refused kit gives its memory back;
    // a reader opened again holds only the new kit's descriptions.
    std::vector<KitEntry>().swap(entries);
    descriptions.clear();
    try {
        ReadDescriptions(fields, descriptions);
        if (onDescriptions) onDescriptions(descriptions);
        ReadEntries(fields, entries);
        LocateEntryData(fields, entries);
        return ERR_NONE;
    } catch (ErrorCode code) {
        std::vector<KitEntry>().swap(entries);
        return code;
    }
}
