// A read-only private mapping of a whole open file, released with its owner.
#pragma once

#include <sys/mman.h>

#include <cstddef>

#include "platform/File.h"

class FileMapping {
public:
    // Maps `size` bytes of `handle`; valid() tells whether it worked (a
    // mapping of 0 bytes never does).
    FileMapping(FileHandle handle, std::size_t size) : size_(size) {
        if (handle == INVALID_FILE_HANDLE || size == 0) return;
        void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, static_cast<int>(handle), 0);
        if (address != MAP_FAILED) data_ = static_cast<const unsigned char*>(address);
    }
    ~FileMapping() {
        if (data_ != nullptr) ::munmap(const_cast<unsigned char*>(data_), size_);
    }
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    bool valid() const { return data_ != nullptr; }
    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_;
};
