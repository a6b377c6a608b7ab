// Folders reached only below a folder the caller already holds open: a name
// that a swapped link could redirect never leads outside. The kernel's
// openat2 (RESOLVE_BENEATH, no links) does it in one call; where it is
// missing, the folders are walked one by one with O_NOFOLLOW.
#pragma once

#include <sys/types.h>

#include <span>
#include <string>
#include <string_view>

// A link to a folder that was already there when the caller looked (a user's
// linked subfolder): followed, but only while it still leads to that folder.
struct AllowedLink {
    std::string path;  // below the root, "/" between components
    dev_t device = 0;
    ino_t inode = 0;
};

// Opens the folder `relative` below `root` ("" is the root itself): every
// component a real folder, or one of `links` leading where it led. A
// descriptor, else -1 with errno (ELOOP for any other link, EINVAL for "."
// or ".." or an empty component).
int OpenFolderBeneath(int root, std::string_view relative, std::span<const AllowedLink> links = {});
// The same, always walking the folders one by one (what it falls back to
// where the kernel lacks openat2).
int WalkFolderBeneath(int root, std::string_view relative, std::span<const AllowedLink> links = {});

// The folder part and the last name of a relative path ("a/b/c" -> "a/b", "c").
std::string_view FolderPart(std::string_view relative);
std::string_view NamePart(std::string_view relative);
// `folder` + "/" + `name`, either side possibly empty.
std::string JoinRelative(std::string_view folder, std::string_view name);
// A path below a folder: not empty (unless `mayBeEmpty`), no leading or
// doubled "/", no "." or ".." component.
bool IsPlainRelative(std::string_view relative, bool mayBeEmpty = false);

// Closes its descriptor when it goes out of scope.
class FolderDescriptor {
public:
    explicit FolderDescriptor(int descriptor = -1) : descriptor_(descriptor) {}
    ~FolderDescriptor();
    FolderDescriptor(FolderDescriptor&& other) noexcept : descriptor_(other.release()) {}
    FolderDescriptor& operator=(FolderDescriptor&& other) noexcept;
    FolderDescriptor(const FolderDescriptor&) = delete;
    FolderDescriptor& operator=(const FolderDescriptor&) = delete;
    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    int release() {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return descriptor;
    }
    void reset(int descriptor = -1);

private:
    int descriptor_;
};
