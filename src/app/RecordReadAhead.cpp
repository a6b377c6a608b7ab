#include "app/RecordReadAhead.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/FolderBeneath.h"

RecordReadAhead::~RecordReadAhead() = default;  // the thread's end waits for it

void RecordReadAhead::Start(const std::string& target, const KitIdentity& identity) {
    if (thread_) return;
    identity_ = identity;
    thread_ = std::make_unique<SideThread>([this, target] { Read(target); });
}

DatedRecord ReadDatedRecord(int folder, const KitIdentity& identity) {
    DatedRecord read;
    struct statx status {};
    read.dated = statx(folder, RecordPath(identity).c_str(), AT_SYMLINK_NOFOLLOW, STATX_CTIME | STATX_BTIME,
                       &status) == 0 && (status.stx_mask & STATX_CTIME) != 0;
    if (read.dated) {
        const bool born = (status.stx_mask & STATX_BTIME) != 0 && Earlier(status.stx_btime, status.stx_ctime);
        const statx_timestamp& time = born ? status.stx_btime : status.stx_ctime;
        read.written = {static_cast<time_t>(time.tv_sec), static_cast<long>(time.tv_nsec)};
    }
    read.state = ReadRecord(folder, identity, &read.record);
    return read;
}

void RecordReadAhead::Read(const std::string& target) {
    const FolderDescriptor folder(open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat status {};
    if (!folder.valid() || fstat(folder.get(), &status) != 0) return;
    opened_ = true;
    device_ = status.st_dev;
    inode_ = status.st_ino;
    result_ = ReadDatedRecord(folder.get(), identity_);
}

bool RecordReadAhead::Take(int folder, const KitIdentity& identity, DatedRecord* result) {
    if (!thread_) return false;
    thread_->Wait();
    thread_.reset();
    struct stat status {};
    if (!opened_ || !(identity == identity_) || fstat(folder, &status) != 0 || status.st_dev != device_ ||
        status.st_ino != inode_) {
        return false;
    }
    *result = std::move(result_);
    return true;
}
