#include "platform/FolderBeneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Cleared at the first sign that the kernel (or a sandbox) lacks openat2.
std::atomic<bool> kernelResolves{true};

int OpenAt2(int root, const char* path) {
    open_how how{};
    how.flags = kFolderFlags;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(syscall(SYS_openat2, root, path, &how, sizeof how));
}

const AllowedLink* FindLink(std::span<const AllowedLink> links, std::string_view path) {
    for (const AllowedLink& link : links) {
        if (link.path == path) return &link;
    }
    return nullptr;
}

// One component below `folder`: a real folder, or an allowed link that still
// leads where it led.
int OpenComponent(int folder, const std::string& name, std::string_view pathSoFar,
                  std::span<const AllowedLink> links) {
    const int opened = openat(folder, name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (opened >= 0 || (errno != ELOOP && errno != ENOTDIR)) return opened;
    struct stat status {};
    const AllowedLink* link = FindLink(links, pathSoFar);
    if (fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(status.st_mode) ||
        link == nullptr) {
        errno = S_ISLNK(status.st_mode) ? ELOOP : ENOTDIR;
        return -1;
    }
    FolderDescriptor followed(openat(folder, name.c_str(), kFolderFlags));
    if (!followed.valid() || fstat(followed.get(), &status) != 0) return -1;
    if (status.st_dev != link->device || status.st_ino != link->inode) {
        errno = ELOOP;  // the link now leads somewhere else
        return -1;
    }
    return followed.release();
}

}  // namespace

int WalkFolderBeneath(int root, std::string_view relative, std::span<const AllowedLink> links) {
    if (!IsPlainRelative(relative, true)) {
        errno = EINVAL;
        return -1;
    }
    FolderDescriptor current(fcntl(root, F_DUPFD_CLOEXEC, 0));
    std::size_t start = 0;
    while (current.valid() && start < relative.size()) {
        std::size_t slash = relative.find('/', start);
        if (slash == std::string_view::npos) slash = relative.size();
        current.reset(OpenComponent(current.get(), std::string(relative.substr(start, slash - start)),
                                    relative.substr(0, slash), links));
        start = slash + 1;
    }
    return current.release();
}

std::string_view FolderPart(std::string_view relative) {
    const std::size_t slash = relative.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash);
}

std::string_view NamePart(std::string_view relative) { return relative.substr(relative.rfind('/') + 1); }

std::string JoinRelative(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (name.empty()) return std::string(folder);
    std::string joined(folder);
    joined += '/';
    joined += name;
    return joined;
}

bool IsPlainRelative(std::string_view relative, bool mayBeEmpty) {
    if (relative.empty()) return mayBeEmpty;
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = relative.find('/', start);
        if (slash == std::string_view::npos) slash = relative.size();
        const std::string_view part = relative.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (slash == relative.size()) return true;
        start = slash + 1;
    }
}

int OpenFolderBeneath(int root, std::string_view relative, std::span<const AllowedLink> links) {
    if (!IsPlainRelative(relative, true)) {
        errno = EINVAL;
        return -1;
    }
    if (kernelResolves.load(std::memory_order_relaxed)) {
        const int opened = OpenAt2(root, relative.empty() ? "." : std::string(relative).c_str());
        if (opened >= 0 || (errno == ELOOP && links.empty())) return opened;
        // ENOSYS: an older kernel; EPERM: a sandbox that filters the call.
        if (errno == ENOSYS || errno == EPERM) kernelResolves.store(false, std::memory_order_relaxed);
        else if (errno != ELOOP) return -1;
    }
    return WalkFolderBeneath(root, relative, links);
}

FolderDescriptor::~FolderDescriptor() { reset(); }

FolderDescriptor& FolderDescriptor::operator=(FolderDescriptor&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
}

void FolderDescriptor::reset(int descriptor) {
    if (descriptor_ >= 0) (void)close(descriptor_);  // read-only folder descriptor: nothing to lose
    descriptor_ = descriptor;
}
