// One installing thread's way to the entries' bytes: out of the unpacked
// image through a buffer of its own, or its place in the kit's stream.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "kit/KitReader.h"
#include "kit/KitStream.h"
#include "platform/ErrorCode.h"
#include "platform/FileCopy.h"

class KitEntryData {
public:
    virtual ~KitEntryData() = default;
    // Appends entry `index`'s bytes to the open `destination`, handing each
    // piece to `observe` first when there is one. 0; 13 when the kit's data
    // is damaged or ends before the entry's; else the code of the failed write.
    virtual ErrorCode Copy(std::size_t index, int destination, const CopyObserver* observe) = 0;
    // Hands entry `index`'s bytes to `observe` without writing them anywhere; codes as Copy.
    virtual ErrorCode Look(std::size_t index, const CopyObserver& observe) = 0;
};

// From the image open in `kit`, through `buffer` (several threads at once, each with its own buffer).
class ImageEntryData final : public KitEntryData {
public:
    ImageEntryData(const KitReader& kit, std::span<unsigned char> buffer) : kit_(kit), buffer_(buffer) {}
    ErrorCode Copy(std::size_t index, int destination, const CopyObserver* observe) override;
    ErrorCode Look(std::size_t index, const CopyObserver& observe) override;

private:
    const KitReader& kit_;
    std::span<unsigned char> buffer_;
};

// As reader `reader` of `stream`, which it leaves when it goes. The entries
// are the stream's kit's; each thread asks for its entries in their order.
class StreamEntryData final : public KitEntryData {
public:
    StreamEntryData(KitStream& stream, const std::vector<KitEntry>& entries, std::size_t reader)
        : stream_(stream), entries_(entries), reader_(reader) {}
    ~StreamEntryData() override { stream_.Leave(reader_); }
    StreamEntryData(const StreamEntryData&) = delete;
    StreamEntryData& operator=(const StreamEntryData&) = delete;
    ErrorCode Copy(std::size_t index, int destination, const CopyObserver* observe) override;
    ErrorCode Look(std::size_t index, const CopyObserver& observe) override;

private:
    KitStream& stream_;
    const std::vector<KitEntry>& entries_;
    std::size_t reader_;
};
