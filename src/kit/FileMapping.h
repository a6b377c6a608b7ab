// A read-only private mapping of a whole open file, released with its owner.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>

#include "platform/File.h"

class FileMapping {
public:
    // Maps `size` bytes of `handle`; valid() tells whether it worked (a
    // mapping of 0 bytes never does).
    FileMapping(FileHandle handle, std::size_t size) : size_(size) {
        if (handle == INVALID_FILE_HANDLE || size == 0) return;
        void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, static_cast<int>(handle), 0);
        if (address == MAP_FAILED) return;
        data_ = static_cast<const unsigned char*>(address);
        (void)::madvise(address, size_, MADV_SEQUENTIAL);  // a hint; nothing depends on it
    }
    ~FileMapping() {
        if (data_ != nullptr) ::munmap(const_cast<unsigned char*>(data_), size_);
    }
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    bool valid() const { return data_ != nullptr; }
    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

    // Lets the system drop the pages before `offset`, which the reader has
    // consumed, so that a large kit never stays resident as a whole.
    void ReleaseBefore(std::size_t offset) {
        const std::size_t pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const std::size_t end = offset / pageSize * pageSize;
        if (data_ == nullptr || end <= released_) return;
        (void)::madvise(const_cast<unsigned char*>(data_) + released_, end - released_, MADV_DONTNEED);  // a hint
        released_ = end;
    }

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_;
    std::size_t released_ = 0;
};
