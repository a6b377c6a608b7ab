// A read-only private mapping of a range of an open file (the whole kit, or
// the kit inside a one-file installer), released with its owner.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "platform/File.h"

class FileMapping {
public:
    // Maps `size` bytes of `handle` from byte `offset` on (any offset: the
    // page alignment is the mapping's business); valid() tells whether it
    // worked (a mapping of 0 bytes never does).
    FileMapping(FileHandle handle, std::size_t size, std::uint64_t offset = 0) : size_(size) {
        if (handle == INVALID_FILE_HANDLE || size == 0) return;
        const std::uint64_t start = offset / PageSize() * PageSize();
        lead_ = static_cast<std::size_t>(offset - start);
        void* address = ::mmap(nullptr, lead_ + size, PROT_READ, MAP_PRIVATE, static_cast<int>(handle),
                               static_cast<off_t>(start));
        if (address == MAP_FAILED) return;
        base_ = static_cast<unsigned char*>(address);
        (void)::madvise(address, lead_ + size_, MADV_SEQUENTIAL);  // a hint; nothing depends on it
    }
    ~FileMapping() {
        if (base_ != nullptr) ::munmap(base_, lead_ + size_);
    }
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    bool valid() const { return base_ != nullptr; }
    const unsigned char* data() const { return base_ == nullptr ? nullptr : base_ + lead_; }
    std::size_t size() const { return size_; }

    // Lets the system drop the pages before `offset` (counted from data()),
    // which the reader has consumed, so that a large kit never stays resident
    // as a whole.
    // Released in steps of kReleaseStep: each call flushes the processor's
    // page tables, which costs far more than the pages it gives back.
    void ReleaseBefore(std::size_t offset) {
        const std::size_t end = (lead_ + offset) / PageSize() * PageSize();
        if (base_ == nullptr || end < released_ + kReleaseStep) return;
        (void)::madvise(base_ + released_, end - released_, MADV_DONTNEED);  // a hint
        released_ = end;
    }

private:
    static constexpr std::size_t kReleaseStep = 4u << 20;
    static std::size_t PageSize() { return static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)); }

    unsigned char* base_ = nullptr;  // the page-aligned start of the mapping
    std::size_t lead_ = 0;           // bytes mapped before the range asked for
    std::size_t size_;
    std::size_t released_ = 0;
};
