#include "app/Verification.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <span>
#include <vector>
#include <unordered_set>

#include "app/SideThread.h"
#include "platform/FolderBeneath.h"
#include "platform/SystemPath.h"

namespace {

constexpr std::size_t kBuffer = 64 * 1024;
// Fewer files than this are not worth a thread.
constexpr std::size_t kAloneUpTo = 256;
// Files a thread takes at a time: few, since a block may have files to read.
constexpr std::size_t kBlock = 64;

using What = RunSummary::Difference::What;

// The hash of what is on disk, and the comparison with the record.
bool ContentDiffers(int target, const RecordedFile& file, std::span<unsigned char> buffer) {
    const FolderDescriptor opened(openat(target, file.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    Checksum128 checksum;
    // The recorded size's bytes, as fstat found them: one read for a small file.
    return !opened.valid() || fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
           static_cast<std::uint64_t>(status.st_size) != file.size ||
           !ChecksumOfRange(opened.get(), 0, file.size, buffer, &checksum) || !(checksum == file.checksum);
}

// What differs in one recorded file, or nothing (false). A file unchanged
// since the record (UnchangedSinceRecord) is as it was then; every other
// file of the recorded size is read and its checksum compared.
bool Compare(int target, const RecordedFile& file, const timespec& recordWritten, std::span<unsigned char> buffer,
             What* what) {
    struct stat status {};
    if (fstatat(target, file.path.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        *what = errno == ENOENT || errno == ENOTDIR ? What::Missing : What::ContentChanged;
        return true;
    }
    *what = What::ContentChanged;
    if (!S_ISREG(status.st_mode) || static_cast<std::uint64_t>(status.st_size) != file.size) return true;
    if (UnchangedSinceRecord(status, file, recordWritten)) return false;
    const bool sameTime = SameRecordedTime(status, file);
    if (ContentDiffers(target, file, buffer)) return true;
    *what = What::TimeChanged;
    return !sameTime;
}

using Differences = std::vector<RunSummary::Difference>;

// The differences among `files`, in their order.
void CompareAll(int target, std::span<const RecordedFile> files, timespec recordWritten, Differences* differences) {
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[kBuffer]);
    for (const RecordedFile& file : files) {
        What what = What::Missing;
        if (Compare(target, file, recordWritten, {buffer.get(), kBuffer}, &what)) {
            differences->push_back({file.path, what});
        }
    }
}

// Opening, reading and closing small files is mostly the kernel's work, and
// a second thread takes blocks of them beside the first, as in an installation.
Differences CompareRecorded(int target, const std::vector<RecordedFile>& files, timespec recordWritten) {
    const std::span<const RecordedFile> all(files);
    std::vector<Differences> found((files.size() + kBlock - 1) / kBlock);
    InBlocks(files.size(), kBlock, kAloneUpTo, [&](std::size_t from, std::size_t to) {
        CompareAll(target, all.subspan(from, to - from), recordWritten, &found[from / kBlock]);
    });
    Differences differences;
    for (const Differences& block : found) differences.insert(differences.end(), block.begin(), block.end());
    return differences;
}

}  // namespace

VerificationResult VerifyInstallation(const std::string& target, const KitReader& kit, RecordReadAhead* ahead) {
    VerificationResult result;
    result.summary.kind = RunSummary::Kind::Verify;
    result.summary.templateDirectory = target;
    const KitIdentity identity = IdentityOfKit(kit.descriptions);
    result.summary.product = identity.product;
    result.summary.provider = identity.provider;
    const FolderDescriptor folder(open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DatedRecord read;
    if (folder.valid() && (ahead == nullptr || !ahead->Take(folder.get(), identity, &read))) {
        read = ReadDatedRecord(folder.get(), identity);
    }
    result.record = read.state;
    if (result.record != RecordState::Found) return result;
    const InstallRecord& record = read.record;
    result.summary.differences = CompareRecorded(folder.get(), record.files, read.dated ? read.written : timespec{});
    std::unordered_set<std::string> reported;  // a name the kit lists twice is told once
    for (const KitEntry& entry : kit.entries) {
        WString name = entry.name;
        ReplaceAll(name, u"\\", u"/");
        AString system;
        if (!ToSystemPath(name, &system)) continue;
        std::string path(system.c_str(), system.size());
        struct stat status {};
        if (FindRecordedFile(record, path) == nullptr &&
            fstatat(folder.get(), path.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 && reported.insert(path).second) {
            result.summary.differences.push_back({std::move(path), What::NewInKit});
        }
    }
    return result;
}
