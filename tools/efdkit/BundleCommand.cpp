// efdkit bundle: the one-file installer, a copy of the installer with the kit
// appended (the layout is in src/kit/KitBundle.h). The file is written under
// a temporary name beside the output, synced, and renamed into place (its
// folder synced after), so an
// interrupted run never leaves a half bundle under the output's name.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>

#include "Commands.h"
#include "OpenedKit.h"
#include "ToolText.h"
#include "kit/KitBundle.h"
#include "platform/FileCopy.h"

namespace {

constexpr unsigned kCopyBufferSize = 1 << 20;

struct BundleOptions {
    std::string setup;
    std::string kit;
    std::string output;
};

bool ParseBundleOptions(const Arguments& arguments, BundleOptions* options) {
    Arguments paths;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-o" || arguments[i] == "--output") {
            if (i + 1 == arguments.size() || !options->output.empty()) return false;
            options->output = arguments[++i];
        } else {
            paths.push_back(arguments[i]);
        }
    }
    if (paths.size() != 2 || options->output.empty()) return false;
    options->setup = paths[0];
    options->kit = paths[1];
    return true;
}

std::string SystemReason(int error) { return std::strerror(error); }

// The bundle under its temporary name, removed unless it was renamed into place.
class PartialOutput {
public:
    explicit PartialOutput(const std::string& output) : path_(output + ".XXXXXX") {
        descriptor_ = ::mkstemp(path_.data());
        if (descriptor_ < 0) path_.clear();
    }
    ~PartialOutput() {
        if (descriptor_ >= 0) (void)::close(descriptor_);  // only after a failure: the file goes anyway
        if (!path_.empty()) (void)::unlink(path_.c_str());  // nothing else to do if it will not go
    }
    PartialOutput(const PartialOutput&) = delete;
    PartialOutput& operator=(const PartialOutput&) = delete;

    int descriptor() const { return descriptor_; }
    // Makes it executable for everyone, syncs it and gives it the output's
    // name; 0 or the errno of the failing step.
    int Complete(const std::string& output) {
        if (::fchmod(descriptor_, 0755) != 0 || ::fsync(descriptor_) != 0) return errno;
        const int descriptor = descriptor_;
        descriptor_ = -1;
        if (::close(descriptor) != 0 || ::rename(path_.c_str(), output.c_str()) != 0) return errno;
        path_.clear();
        // The new name is on disk only once its folder is.
        const std::size_t slash = output.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : output.substr(0, slash + 1);
        const FileHandleGuard parent(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (parent.get() == INVALID_FILE_HANDLE || ::fsync(static_cast<int>(parent.get())) != 0) return errno;
        return 0;
    }

private:
    std::string path_;
    int descriptor_ = -1;
};

// An input file opened for reading, with its size.
struct Input {
    FileHandleGuard file;
    std::uint64_t size = 0;
};

bool OpenInput(const std::string& path, Input* input, std::string* reason) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        *reason = path + ": " + SystemReason(errno);
        return false;
    }
    input->file.reset(descriptor);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        *reason = path + ": not a regular file";
        return false;
    }
    input->size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

// Appends the trailer; 0 or the errno of the write (EIO for a short one).
int AppendTrailer(int destination, std::uint64_t kitSize, std::uint32_t checksum) {
    const auto trailer = BundleTrailer(kitSize, checksum);
    const ssize_t written = ::write(destination, trailer.data(), trailer.size());
    if (written < 0) return errno;
    return static_cast<std::size_t>(written) == trailer.size() ? 0 : EIO;
}

// The installer's own image: a kit it already carries is left out, so that
// bundling a bundle replaces its kit.
bool InstallerImage(const std::string& path, const Input& setup, std::uint64_t* imageSize, std::string* reason) {
    if (!ExecutableImageSize(setup.file.get(), setup.size, imageSize)) {
        *reason = path + ": not an installer (no ELF executable)";
        return false;
    }
    if (*imageSize > setup.size) {
        *reason = path + ": the executable is cut short";
        return false;
    }
    if (*imageSize < setup.size) std::cerr << "efdkit: " << path << " already carries a kit; it is replaced\n";
    return true;
}

// The kit must be a plain kit that the installer's reader opens, and no
// longer than a bundle may carry.
bool CheckKit(const std::string& path, const Input& kit, std::string* reason) {
    if (kit.size > kLargestBundledKit) {
        *reason = path + ": " + std::to_string(kit.size) + " bytes; a bundle carries at most " +
                  std::to_string(kLargestBundledKit) + " bytes of kit";
        return false;
    }
    KitSlice slice;
    std::string problem;
    if (FindBundledKit(ToKitText(path), &slice, &problem) != BundledKit::kNone || !problem.empty()) {
        *reason = path + ": an executable, not a kit; give the kit file itself";
        return false;
    }
    KitReader reader;
    return OpenKitForTool(reader, path, reason);
}

int WriteBundle(const BundleOptions& options, const Input& setup, std::uint64_t imageSize, const Input& kit) {
    std::uint32_t checksum = 0;
    if (!ChecksumOfRange(kit.file.get(), 0, kit.size, &checksum)) return Fail(options.kit + ": cannot be read");
    PartialOutput output(options.output);
    if (output.descriptor() < 0) return Fail("cannot write " + options.output + ": " + SystemReason(errno));
    auto buffer = std::make_unique<unsigned char[]>(kCopyBufferSize);
    int error = CopyRange(static_cast<int>(setup.file.get()), 0, static_cast<long long>(imageSize),
                          output.descriptor(), buffer.get(), kCopyBufferSize);
    if (error == 0) {
        error = CopyRange(static_cast<int>(kit.file.get()), 0, static_cast<long long>(kit.size), output.descriptor(),
                          buffer.get(), kCopyBufferSize);
    }
    if (error == 0) error = AppendTrailer(output.descriptor(), kit.size, checksum);
    if (error == 0) error = output.Complete(options.output);
    if (error != 0) return Fail("cannot write " + options.output + ": " + SystemReason(error));
    std::cout << options.output << ": installer " << imageSize << " bytes, kit " << kit.size << " bytes\n";
    return kExitSuccess;
}

}  // namespace

int RunBundle(const Arguments& arguments) {
    BundleOptions options;
    if (!ParseBundleOptions(arguments, &options)) return Usage("bundle needs an installer, a kit and -o FILE");
    Input setup;
    Input kit;
    std::uint64_t imageSize = 0;
    std::string reason;
    if (!OpenInput(options.setup, &setup, &reason) || !InstallerImage(options.setup, setup, &imageSize, &reason) ||
        !OpenInput(options.kit, &kit, &reason) || !CheckKit(options.kit, kit, &reason)) {
        return Fail(reason);
    }
    return WriteBundle(options, setup, imageSize, kit);
}
