#include "kit/KitBundle.h"

#include <elf.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

constexpr unsigned char kMagic[8] = {'Q', 'O', 'R', 'N', 'K', 'I', 'T', 0x1a};
constexpr std::size_t kChecksumBlock = 1 << 20;
// Far beyond any real executable's section count; keeps a hostile header
// from making the walk long.
constexpr std::uint64_t kMostSections = 1 << 16;

// Reads exactly `count` bytes at `offset`; false on a short read or an error.
bool ReadAt(FileHandle file, std::uint64_t offset, void* buffer, std::size_t count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        const ssize_t n = ::pread(static_cast<int>(file), bytes, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        offset += static_cast<std::uint64_t>(n);
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

std::uint64_t LittleEndian(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

void PutLittleEndian(unsigned char* bytes, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The end of the table of `count` records of `size` bytes at `offset`, and
// of what each record (read by `extent`) covers; UINT64_MAX when a record
// cannot be read, which the caller takes for a cut file.
template <typename Record, typename Extent>
std::uint64_t TableEnd(FileHandle file, std::uint64_t offset, std::uint64_t count, std::uint64_t size,
                       Extent extent) {
    if (count == 0) return 0;
    if (size < sizeof(Record)) return ~std::uint64_t{0};
    std::uint64_t end = offset + count * size;
    for (std::uint64_t i = 0; i < count; ++i) {
        Record record;
        if (!ReadAt(file, offset + i * size, &record, sizeof record)) return ~std::uint64_t{0};
        end = std::max(end, extent(record));
    }
    return end;
}

}  // namespace

bool ExecutableImageSize(FileHandle file, std::uint64_t fileSize, std::uint64_t* size) {
    Elf64_Ehdr header;
    if (fileSize < sizeof header || !ReadAt(file, 0, &header, sizeof header)) return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) return false;
    std::uint64_t sections = header.e_shnum;
    if (sections == 0 && header.e_shoff != 0) {
        // Extended numbering: the real count is the first section's size.
        Elf64_Shdr first;
        sections = ReadAt(file, header.e_shoff, &first, sizeof first) ? first.sh_size : kMostSections + 1;
    }
    if (sections > kMostSections || header.e_phoff > fileSize || header.e_shoff > fileSize) {
        *size = ~std::uint64_t{0};
        return true;
    }
    const std::uint64_t segmentsEnd = TableEnd<Elf64_Phdr>(
        file, header.e_phoff, header.e_phnum, header.e_phentsize,
        [](const Elf64_Phdr& segment) { return segment.p_offset + segment.p_filesz; });
    const std::uint64_t sectionsEnd =
        TableEnd<Elf64_Shdr>(file, header.e_shoff, sections, header.e_shentsize, [](const Elf64_Shdr& section) {
            return section.sh_type == SHT_NOBITS ? 0 : section.sh_offset + section.sh_size;
        });
    *size = std::max({std::uint64_t{header.e_ehsize}, segmentsEnd, sectionsEnd});
    return true;
}

bool ChecksumOfRange(FileHandle file, std::uint64_t offset, std::uint64_t length, std::uint32_t* checksum) {
    auto block = std::make_unique<unsigned char[]>(kChecksumBlock);
    uLong crc = crc32(0L, Z_NULL, 0);
    while (length > 0) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length, kChecksumBlock));
        if (!ReadAt(file, offset, block.get(), count)) return false;
        crc = crc32_z(crc, block.get(), count);
        offset += count;
        length -= count;
    }
    *checksum = static_cast<std::uint32_t>(crc);
    return true;
}

std::array<unsigned char, kBundleTrailerSize> BundleTrailer(std::uint64_t length, std::uint32_t checksum) {
    std::array<unsigned char, kBundleTrailerSize> trailer{};
    PutLittleEndian(trailer.data(), length, 8);
    PutLittleEndian(trailer.data() + 8, checksum, 4);
    PutLittleEndian(trailer.data() + 12, kBundleFormatVersion, 4);
    std::memcpy(trailer.data() + 16, kMagic, sizeof kMagic);
    return trailer;
}

BundledKit FindBundledKit(const WString& path, KitSlice* slice, std::string* problem) {
    std::string ignored;
    std::string& reason = problem != nullptr ? *problem : ignored;
    FileHandleGuard file;
    if (FileOpen(path, ACCESS_READ, 0, OPEN_EXISTING, file.out()) != ERR_NONE) return BundledKit::kNone;
    std::uint64_t high = 0;
    const std::uint32_t low = FileSeek(file.get(), 0, &high, SEEK_FROM_END);
    if (high == 0xFFFFFFFFull) return BundledKit::kNone;
    const std::uint64_t fileSize = (high << 32) | low;
    std::uint64_t imageSize = 0;
    if (!ExecutableImageSize(file.get(), fileSize, &imageSize)) return BundledKit::kNone;
    if (imageSize == fileSize) {
        reason = "an executable that carries no kit";
        return BundledKit::kNone;
    }
    if (imageSize > fileSize) {
        reason = "the executable is cut short";
        return BundledKit::kDamaged;
    }
    unsigned char trailer[kBundleTrailerSize];
    if (fileSize - imageSize <= kBundleTrailerSize ||
        !ReadAt(file.get(), fileSize - kBundleTrailerSize, trailer, sizeof trailer) ||
        std::memcmp(trailer + 16, kMagic, sizeof kMagic) != 0) {
        reason = "the bytes after the executable are no kit with its trailer (cut short or altered)";
        return BundledKit::kDamaged;
    }
    const std::uint64_t length = LittleEndian(trailer, 8);
    const std::uint32_t expected = static_cast<std::uint32_t>(LittleEndian(trailer + 8, 4));
    if (LittleEndian(trailer + 12, 4) != kBundleFormatVersion) {
        reason = "the kit's trailer has a format this installer does not know";
        return BundledKit::kDamaged;
    }
    if (length != fileSize - imageSize - kBundleTrailerSize || length > kLargestBundledKit) {
        reason = "the kit's length in its trailer does not match the bytes after the executable";
        return BundledKit::kDamaged;
    }
    std::uint32_t actual = 0;
    if (!ChecksumOfRange(file.get(), imageSize, length, &actual) || actual != expected) {
        reason = "the kit's checksum does not match its bytes";
        return BundledKit::kDamaged;
    }
    *slice = KitSlice{imageSize, length};
    return BundledKit::kFound;
}
