#include "app/Verification.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <unordered_set>

#include "platform/FolderBeneath.h"
#include "platform/SystemPath.h"

namespace {

constexpr std::size_t kBuffer = 64 * 1024;

// The recorded time, to the precision the file system keeps.
bool SameTime(const struct stat& status, const RecordedFile& file) {
    const std::int64_t found = status.st_mtim.tv_nsec;
    return status.st_mtim.tv_sec == file.seconds &&
           (found == file.nanoseconds || found == file.nanoseconds / 1000 * 1000 || found == 0);
}

using What = RunSummary::Difference::What;

// What differs in one recorded file, or nothing (false).
bool Compare(int target, const RecordedFile& file, std::span<unsigned char> buffer, What* what) {
    const FolderDescriptor opened(openat(target, file.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!opened.valid()) {
        *what = errno == ENOENT || errno == ENOTDIR ? What::Missing : What::ContentChanged;
        return true;
    }
    Checksum128 checksum;
    std::uint64_t size = 0;
    if (fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) != file.size ||
        !ChecksumOfFile(opened.get(), buffer, &checksum, &size) || !(checksum == file.checksum)) {
        *what = What::ContentChanged;
        return true;
    }
    *what = What::TimeChanged;
    return !SameTime(status, file);
}

}  // namespace

VerificationResult VerifyInstallation(const std::string& target, const KitReader& kit) {
    VerificationResult result;
    result.summary.kind = RunSummary::Kind::Verify;
    result.summary.templateDirectory = target;
    const KitIdentity identity = IdentityOfKit(kit.descriptions);
    result.summary.product = identity.product;
    result.summary.provider = identity.provider;
    const FolderDescriptor folder(open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    InstallRecord record;
    result.record = folder.valid() ? ReadRecord(folder.get(), identity, &record) : RecordState::Missing;
    if (result.record != RecordState::Found) return result;
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[kBuffer]);
    std::unordered_set<std::string> recorded;
    for (const RecordedFile& file : record.files) {
        recorded.insert(file.path);
        What what = What::Missing;
        if (Compare(folder.get(), file, {buffer.get(), kBuffer}, &what)) result.summary.differences.push_back({file.path, what});
    }
    for (const KitEntry& entry : kit.entries) {
        WString name = entry.name;
        ReplaceAll(name, u"\\", u"/");
        AString system;
        if (!ToSystemPath(name, &system)) continue;
        const std::string path(system.c_str(), system.size());
        struct stat status {};
        if (recorded.insert(path).second && fstatat(folder.get(), path.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            result.summary.differences.push_back({path, What::NewInKit});
        }
    }
    return result;
}
