// The floor under an installation: what writing a kit's files costs the file
// system when nothing else is done. It inflates the kit on a second thread
// into memory (the project's raw inflater), reads the header and directory as
// the bytes arrive, and writes each entry with its time: mkdir for a new
// folder, then openat, write, futimens and close per file. No unpacked image
// on disk, no plan, journal, backup or record. With --sync it ends with one
// syncfs of the destination's file system, as an installation's commit does.
//
//   floor_bench KIT DESTINATION [--sync]
//
// DESTINATION must exist. Exits 0 when every file was written, 1 otherwise.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "kit/RawInflater.h"
#include "platform/SystemPath.h"
#include "text/WString.h"

namespace {

constexpr std::uint64_t kLargestImage = 0xFFFFFFFFull;  // the format's limit
constexpr std::uint32_t kWindow = 256 << 10;
constexpr std::uint64_t kEnded = 1ull << 62;   // in the produced count: the stream has ended
constexpr std::uint64_t kFailed = 1ull << 63;  // in the produced count: the stream is damaged
constexpr std::uint64_t kUnitsPerSecond = 10000000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(-1); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    void Reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

class Mapping {
public:
    Mapping(void* address, std::size_t size) : address_(address == MAP_FAILED ? nullptr : address), size_(size) {}
    ~Mapping() {
        if (address_ != nullptr) ::munmap(address_, size_);
    }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    unsigned char* bytes() const { return static_cast<unsigned char*>(address_); }

private:
    void* address_;
    std::size_t size_;
};

// The image as the inflating thread fills it; readers wait for the bytes they need.
class GrowingImage {
public:
    GrowingImage(const unsigned char* kit, std::size_t kitSize)
        : memory_(::mmap(nullptr, kLargestImage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                         -1, 0),
                  kLargestImage),
          inflater_(kit, kitSize) {}

    bool valid() const { return memory_.bytes() != nullptr && inflater_.valid(); }
    // Large pages where the kernel has them: a fault per 4 KiB page of the image costs more than its writing.
    void PreferLargePages() const { (void)::madvise(memory_.bytes(), kLargestImage, MADV_HUGEPAGE); }
    const unsigned char* bytes() const { return memory_.bytes(); }

    void Inflate() {
        std::uint64_t produced = 0;
        for (;;) {
            std::uint32_t window = 0;
            const std::uint32_t capacity = static_cast<std::uint32_t>(std::min<std::uint64_t>(kWindow, kLargestImage - produced));
            const RawInflater::Result result = inflater_.Inflate(memory_.bytes() + produced, capacity, &window);
            produced += window;
            const bool last = result != RawInflater::Result::kMore || produced == kLargestImage;
            const std::uint64_t flags = result == RawInflater::Result::kInvalid ? kFailed : last ? kEnded : 0;
            state_.store(produced | flags, std::memory_order_release);
            state_.notify_all();
            if (last) return;
        }
    }

    // Whether the image holds `end` bytes, waiting for them; false when the stream ends or fails first.
    bool WaitFor(std::uint64_t end) {
        for (;;) {
            const std::uint64_t state = state_.load(std::memory_order_acquire);
            if ((state & ~(kEnded | kFailed)) >= end) return true;
            if ((state & (kEnded | kFailed)) != 0) return false;
            state_.wait(state, std::memory_order_acquire);
        }
    }

private:
    Mapping memory_;
    RawInflater inflater_;
    std::atomic<std::uint64_t> state_{0};
};

// The header and directory, read in order as they arrive.
class Cursor {
public:
    explicit Cursor(GrowingImage& image) : image_(image) {}

    bool U32(std::uint32_t& value) {
        if (!image_.WaitFor(position_ + 4)) return false;
        std::memcpy(&value, image_.bytes() + position_, 4);  // little-endian, as the machines this runs on
        position_ += 4;
        return true;
    }
    bool Skip(std::uint64_t bytes) {
        position_ += bytes;
        return image_.WaitFor(position_);
    }
    // A count of UTF-16LE units and the units, as the system's bytes with "\" turned into "/" (the
    // installer's own conversion: its cost is part of the floor).
    bool Name(std::string& name) {
        std::uint32_t units = 0;
        if (!U32(units) || !image_.WaitFor(position_ + 2ull * units)) return false;
        WString wide;
        const unsigned char* unit = image_.bytes() + position_;
        for (std::uint32_t i = 0; i < units; ++i, unit += 2) {
            const char16_t code = static_cast<char16_t>(unit[0] | (unit[1] << 8));
            wide += code == u'\\' ? u'/' : code;
        }
        position_ += 2ull * units;
        AString system;
        if (!ToSystemPath(wide, &system)) return false;
        name.assign(system.c_str(), system.size());
        return true;
    }
    std::uint64_t position() const { return position_; }

private:
    GrowingImage& image_;
    std::uint64_t position_ = 0;
};

struct Entry {
    std::string path;
    timespec time{};
    std::uint64_t offset = 0;  // from the start of the data
    std::uint32_t size = 0;
};

bool SkipDescriptions(Cursor& cursor) {
    std::uint32_t version = 0;
    std::uint32_t count = 0;
    std::string text;
    if (!cursor.U32(version)) return false;
    if (version == 0) return cursor.Name(text) && cursor.Name(text) && cursor.Name(text);
    if (!cursor.U32(count)) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = 0;
        if (!cursor.U32(length) || length < 4 || !cursor.Skip(length - 4)) return false;
    }
    return true;
}

bool ReadEntry(Cursor& cursor, Entry& entry) {
    std::uint32_t length = 0;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    std::uint32_t offset = 0;
    if (!cursor.U32(length) || length < 4) return false;
    const std::uint64_t end = cursor.position() + length - 4;
    if (!cursor.Name(entry.path) || !cursor.U32(low) || !cursor.U32(high) || !cursor.U32(offset) ||
        !cursor.U32(entry.size) || cursor.position() > end || !cursor.Skip(end - cursor.position())) {
        return false;
    }
    const std::uint64_t units = (std::uint64_t{high} << 32) | low;
    entry.time.tv_sec = static_cast<std::int64_t>(units / kUnitsPerSecond) - kSecondsFrom1601To1970;
    entry.time.tv_nsec = static_cast<long>(units % kUnitsPerSecond) * 100;
    entry.offset = offset;
    return true;
}

// Makes `folder` and the parents it lacks below `root`, each once.
bool MakeFolder(int root, const std::string& folder, std::unordered_set<std::string>& made) {
    if (folder.empty() || made.count(folder) != 0) return true;
    const std::size_t slash = folder.rfind('/');
    if (slash != std::string::npos && !MakeFolder(root, folder.substr(0, slash), made)) return false;
    if (::mkdirat(root, folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
    made.insert(folder);
    return true;
}

bool WriteEntry(int folder, const char* name, const unsigned char* data, const Entry& entry) {
    const Descriptor file(::openat(folder, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) return false;
    for (std::uint32_t done = 0; done < entry.size;) {
        const ssize_t put = ::write(file.get(), data + done, entry.size - done);
        if (put <= 0) return false;
        done += static_cast<std::uint32_t>(put);
    }
    const timespec times[2] = {entry.time, entry.time};
    return ::futimens(file.get(), times) == 0;
}

bool Install(GrowingImage& image, int root) {
    Cursor cursor(image);
    std::uint32_t count = 0;
    if (!SkipDescriptions(cursor) || !cursor.U32(count)) return false;
    std::vector<Entry> entries(count);
    for (Entry& entry : entries) {
        if (!ReadEntry(cursor, entry)) return false;
    }
    const std::uint64_t dataStart = cursor.position();
    std::unordered_set<std::string> made;
    std::string openFolder = "\n";  // no folder's name
    Descriptor folder;
    for (const Entry& entry : entries) {
        const std::size_t slash = entry.path.rfind('/');
        const std::string parent = slash == std::string::npos ? std::string() : entry.path.substr(0, slash);
        if (parent != openFolder) {
            if (!MakeFolder(root, parent, made)) return false;
            folder.Reset(parent.empty() ? ::fcntl(root, F_DUPFD_CLOEXEC, 0)
                                        : ::openat(root, parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (folder.get() < 0) return false;
            openFolder = parent;
        }
        const std::uint64_t start = dataStart + entry.offset;
        if (!image.WaitFor(start + entry.size)) return false;
        const char* name = entry.path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
        if (!WriteEntry(folder.get(), name, image.bytes() + start, entry)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool sync = argc == 4 && std::strcmp(argv[3], "--sync") == 0;
    if (argc != 3 && !sync) {
        std::fprintf(stderr, "usage: floor_bench KIT DESTINATION [--sync]\n");
        return 2;
    }
    const Descriptor kit(::open(argv[1], O_RDONLY | O_CLOEXEC));
    const Descriptor root(::open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat status {};
    if (kit.get() < 0 || root.get() < 0 || ::fstat(kit.get(), &status) != 0 || status.st_size == 0) {
        std::fprintf(stderr, "floor_bench: cannot open %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    const std::size_t kitSize = static_cast<std::size_t>(status.st_size);
    const Mapping kitBytes(::mmap(nullptr, kitSize, PROT_READ, MAP_PRIVATE, kit.get(), 0), kitSize);
    if (kitBytes.bytes() == nullptr) return 1;
    GrowingImage image(kitBytes.bytes(), kitSize);
    if (!image.valid()) return 1;
    image.PreferLargePages();
    std::thread inflating([&image] { image.Inflate(); });
    const bool written = Install(image, root.get());
    inflating.join();
    if (!written) {
        std::fprintf(stderr, "floor_bench: the kit is damaged or a file could not be written\n");
        return 1;
    }
    return !sync || ::syncfs(root.get()) == 0 ? 0 : 1;
}
