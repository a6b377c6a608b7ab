#include "app/RecordedFilesNow.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <string>

#include "app/ContentChecksum.h"
#include "app/SideThread.h"
#include "platform/FolderCursor.h"

namespace {

constexpr std::size_t kChecksumBuffer = 64 * 1024;
// Fewer files than this are looked at by one thread: a thread costs more than they do.
constexpr std::size_t kLookAlone = 256;
// A block that is read may be slow to read: small ones keep either thread from waiting long for the other.
constexpr std::size_t kLookBlock = 64;

RecordedFileNow LookAtOne(FolderCursor& folders, const RecordedFile& recorded, const timespec& recordWritten,
                          std::span<unsigned char> buffer) {
    RecordedFileNow now;
    const int folder = folders.At(FolderPart(recorded.path));
    const std::string name(NamePart(recorded.path));
    struct stat status {};
    if (folder < 0) {
        // A folder that became a link, or something else in its place: what
        // lies there is the user's, never judged gone.
        now.onDisk = now.edited = folders.error() != ENOENT;
        return now;
    }
    if (fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return now;
    now.onDisk = true;
    now.identity = IdentityOfStatus(status);
    if (!S_ISREG(status.st_mode) || static_cast<std::uint64_t>(status.st_size) != recorded.size) {
        now.edited = true;
        return now;
    }
    if (UnchangedSinceRecord(status, recorded, recordWritten)) return now;
    const FolderDescriptor file(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    Checksum128 found;
    std::uint64_t size = 0;
    now.edited = !file.valid() || !ChecksumOfFile(file.get(), buffer, &found, &size) ||
                 !(found == recorded.checksum) || size != recorded.size;
    return now;
}

}  // namespace

std::vector<RecordedFileNow> LookAtRecordedFiles(int target, std::span<const AllowedLink> links,
                                                 const InstallRecord& record, std::span<const std::uint32_t> which,
                                                 const timespec& recordWritten) {
    std::vector<RecordedFileNow> now(which.size());
    // Each block its own folder and buffer; record and links are only read.
    const auto lookAt = [&](std::size_t from, std::size_t to) {
        FolderCursor folders(target, links);
        const std::unique_ptr<unsigned char[]> buffer(new unsigned char[kChecksumBuffer]);
        for (std::size_t k = from; k < to; ++k) {
            now[k] = LookAtOne(folders, record.files[which[k]], recordWritten, {buffer.get(), kChecksumBuffer});
        }
    };
    // Reading a file is the kernel's work: a second thread takes blocks of files beside this one.
    InBlocks(which.size(), kLookBlock, kLookAlone, lookAt);
    return now;
}
