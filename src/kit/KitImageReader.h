// Reading the fields of an unpacked kit image in order, refusing with 13
// anything that runs past the image or past its record, or that is longer
// than the caller allows: a field's memory is bounded before it is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ErrorCode.h"
#include "platform/File.h"
#include "text/WString.h"

// Sequential reader over the open image from its current position, through a
// read-ahead buffer (a directory of many small records would otherwise cost
// two reads a record). Every method throws an ErrorCode: 13 when the image
// ends before the field does, or the code of a failed read.
class KitImageReader {
public:
    // Fills up to `capacity` bytes of `into`, telling how many in `got`;
    // 0 bytes means the image ended.
    using Source = std::function<ErrorCode(unsigned char* into, std::uint32_t capacity, std::uint32_t* got)>;

    KitImageReader(FileHandle image, std::uint64_t imageSize);
    // The same over bytes that `source` produces in order, `imageSize` in all.
    KitImageReader(Source source, std::uint64_t imageSize);

    std::uint32_t ReadU32();
    // A count of UTF-16LE units followed by the units; 13 past `mostUnits`.
    WString ReadString(std::uint32_t mostUnits);
    // A record that starts with its own 4-byte length (at least 4, at most
    // `largest`): the bytes after it, until the next read.
    const std::string& ReadRecord(std::uint32_t largest);
    std::uint64_t position() const { return position_; }
    std::uint64_t size() const { return size_; }
    // The bytes read ahead past position(), handed over and forgotten.
    std::string TakeReadAhead();

private:
    // Into *block, whose memory a directory's many records share.
    void ReadBlock(std::uint64_t length, std::string* block);
    void Refill();

    Source source_;
    std::uint64_t size_;
    std::uint64_t position_ = 0;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t next_ = 0;  // the unread bytes of buffer_ are [next_, end_)
    std::size_t end_ = 0;
    std::string field_;  // the last field read
};

// The same fields taken from a record read before; throws 13 when a field
// runs past the record's end.
class KitRecordCursor {
public:
    explicit KitRecordCursor(const std::string& record) : record_(record) {}

    std::uint32_t ReadU32();
    WString ReadString(std::uint32_t mostUnits);

private:
    const std::string& record_;
    std::size_t position_ = 0;
};
