// Feeds arbitrary bytes to the reader of unpacked kit images: it must
// refuse or accept without fault, and what it accepts must keep every
// promise the installer relies on.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "kit/KitDirectory.h"
#include "kit/KitEntryName.h"

namespace {

// The image lives in memory, behind a descriptor like a file's.
class MemoryFile {
public:
    MemoryFile() : fd_(::memfd_create("kit-image", MFD_CLOEXEC)) {
        if (fd_ < 0) std::abort();
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void Fill(const std::uint8_t* data, std::size_t size) {
        if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    }
    FileHandle handle() const { return fd_; }

private:
    int fd_;
};

void CheckAccepted(const std::vector<KitDescription>& descriptions, const std::vector<KitEntry>& entries,
                   std::size_t imageSize) {
    if (descriptions.size() > kKitMaxDescriptions || entries.size() > kKitMaxEntries) std::abort();
    for (const KitDescription& description : descriptions) {
        if (description.productName.length() > kKitMaxTextUnits) std::abort();
    }
    for (const KitEntry& entry : entries) {
        if (!IsSafeEntryName(entry.name)) std::abort();
        if (std::uint64_t{entry.offset} + entry.size > imageSize) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile image;
    image.Fill(data, size);
    std::vector<KitDescription> descriptions;
    std::vector<KitEntry> entries;
    const ErrorCode code = ReadKitDirectory(image.handle(), descriptions, entries);
    if (code == ERR_NONE) CheckAccepted(descriptions, entries, size);
    else if (code != ERR_INVALID_DATA || !entries.empty()) std::abort();
    return 0;
}
