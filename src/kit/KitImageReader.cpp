#include "kit/KitImageReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/ErrorCode.h"

namespace {

constexpr std::size_t kReadAhead = 64 * 1024;

std::uint32_t DecodeU32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

WString DecodeUnits(const unsigned char* bytes, std::uint32_t count) {
    WString text;
    if (count == 0) return text;
    text.resize(count);
    char16_t* units = text.mutableData();
    for (std::uint32_t i = 0; i < count; ++i) {
        units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return text;
}

const unsigned char* Bytes(const std::string& block, std::size_t at) {
    return reinterpret_cast<const unsigned char*>(block.data()) + at;
}

}  // namespace

KitImageReader::KitImageReader(FileHandle image, std::uint64_t imageSize)
    : KitImageReader([image](unsigned char* into, std::uint32_t capacity,
                             std::uint32_t* got) { return FileRead(image, into, capacity, got); },
                     imageSize) {}

KitImageReader::KitImageReader(Source source, std::uint64_t imageSize)
    : source_(std::move(source)), size_(imageSize), buffer_(new unsigned char[kReadAhead]) {}

void KitImageReader::Refill() {
    std::uint32_t got = 0;
    const ErrorCode code = source_(buffer_.get(), kReadAhead, &got);
    if (code != ERR_NONE) throw code;
    if (got == 0) throw ERR_INVALID_DATA;  // shorter than it said it was
    next_ = 0;
    end_ = got;
}

void KitImageReader::ReadBlock(std::uint64_t length, std::string* block) {
    // Checked against the image before anything is allocated, so a hostile
    // count cannot ask for gigabytes.
    if (length > size_ - position_) throw ERR_INVALID_DATA;
    block->resize(static_cast<std::size_t>(length));
    for (std::size_t filled = 0; filled < length;) {
        if (next_ == end_) Refill();
        const std::size_t take = std::min(static_cast<std::size_t>(length) - filled, end_ - next_);
        std::memcpy(block->data() + filled, buffer_.get() + next_, take);
        next_ += take;
        filled += take;
    }
    position_ += length;
}

std::string KitImageReader::TakeReadAhead() {
    std::string bytes(reinterpret_cast<const char*>(buffer_.get()) + next_, end_ - next_);
    next_ = end_;
    return bytes;
}

std::uint32_t KitImageReader::ReadU32() {
    ReadBlock(4, &field_);
    return DecodeU32(Bytes(field_, 0));
}

WString KitImageReader::ReadString(std::uint32_t mostUnits) {
    const std::uint32_t count = ReadU32();
    if (count > mostUnits) throw ERR_INVALID_DATA;
    ReadBlock(std::uint64_t{count} * 2, &field_);
    return DecodeUnits(Bytes(field_, 0), count);
}

const std::string& KitImageReader::ReadRecord(std::uint32_t largest) {
    const std::uint32_t recordSize = ReadU32();
    if (recordSize < 4 || recordSize > largest) throw ERR_INVALID_DATA;
    ReadBlock(recordSize - 4, &field_);
    return field_;
}

std::uint32_t KitRecordCursor::ReadU32() {
    if (record_.size() - position_ < 4) throw ERR_INVALID_DATA;
    const std::uint32_t value = DecodeU32(Bytes(record_, position_));
    position_ += 4;
    return value;
}

WString KitRecordCursor::ReadString(std::uint32_t mostUnits) {
    const std::uint32_t count = ReadU32();
    const std::uint64_t bytes = std::uint64_t{count} * 2;
    if (count > mostUnits || record_.size() - position_ < bytes) throw ERR_INVALID_DATA;
    WString text = DecodeUnits(Bytes(record_, position_), static_cast<std::uint32_t>(bytes / 2));
    position_ += static_cast<std::size_t>(bytes);
    return text;
}
