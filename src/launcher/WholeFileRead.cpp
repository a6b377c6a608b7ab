#include "launcher/WholeFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/File.h"

namespace {

constexpr std::size_t kReadBlock = 65536;

}  // namespace

WholeFileRead ReadWholeFile(const std::string& path, std::string& content) {
    content.clear();
    // Non-blocking, so that opening a named pipe without a writer returns at once.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ENOENT || errno == ENOTDIR ? WholeFileRead::kMissing : WholeFileRead::kUnreadable;
    }
    const FileHandleGuard guard(descriptor);
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return WholeFileRead::kUnreadable;
    content.reserve(static_cast<std::size_t>(status.st_size));
    char block[kReadBlock];
    for (;;) {
        const ssize_t count = read(descriptor, block, sizeof block);
        if (count == 0) return WholeFileRead::kRead;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            content.clear();
            return WholeFileRead::kUnreadable;
        }
        content.append(block, static_cast<std::size_t>(count));
    }
}
