// The kit's files' data inflated on a thread of its own while the
// installation writes them, with no image unpacked anywhere: the inflater
// fills a ring of memory ahead of the threads that read it and never
// overwrites a byte one of them may still need. A reader's place only moves
// forward, so the entries must lie in the image in their own order
// (EntriesInStreamOrder); each thread reads its entries in that order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "kit/KitReader.h"
#include "platform/ErrorCode.h"

struct KitTail;

// Whether every entry with data starts at or after the end of the one before:
// what a kit packed by efdkit always is, and what a stream needs.
bool EntriesInStreamOrder(const std::vector<KitEntry>& entries);

// The least image length that holds every entry's data.
std::uint64_t KitImageEnd(const std::vector<KitEntry>& entries);

class KitStream {
public:
    static constexpr std::size_t kMostReaders = 4;
    static constexpr std::size_t kRingBytes = 1u << 20;
    // The most a reader is handed at once, and the most the inflater adds at once.
    static constexpr std::size_t kPieceBytes = 512u << 10;
    static constexpr std::size_t kWindowBytes = 256u << 10;

    // Takes each piece of an entry's bytes in order; a code other than 0 ends the read with it.
    using PieceSink = std::function<ErrorCode(const unsigned char* piece, std::size_t size)>;

    // Starts inflating the rest of `reader`'s stream (a kit opened by
    // KitOpenDirectoryFirst) for `readers` threads, numbered from 0. Nothing
    // when the reader holds no tail, the kit file changed since its directory
    // was read, `readers` is out of range or no thread can be started; the
    // tail is then still the reader's.
    static std::unique_ptr<KitStream> Start(KitReader& reader, std::size_t readers,
                                            std::size_t ringBytes = kRingBytes);
    // Stops the inflater and waits for it.
    ~KitStream();
    KitStream(const KitStream&) = delete;
    KitStream& operator=(const KitStream&) = delete;

    // Hands the image's bytes [offset, offset + size) to `take`, waiting for
    // them; reader `reader` needs nothing before their end afterwards. 0 at
    // once for no bytes; 13 when the stream is damaged or ends before them,
    // or `offset` lies behind the reader's place; ERR_CANCELLED after Stop;
    // else the sink's code.
    ErrorCode Read(std::size_t reader, std::uint64_t offset, std::uint64_t size, const PieceSink& take);
    // Reader `reader` needs nothing more.
    void Leave(std::size_t reader);
    // Ends the inflating early: what a reader still waits for never comes.
    void Stop();
    // Once every reader has left: waits for the stream's end. 0 when it held
    // together to its end with at least `imageEnd` bytes, else 13 (ERR_CANCELLED after Stop).
    ErrorCode Finish(std::uint64_t imageEnd);
    // 13 once the stream was found damaged or a reader found it ending
    // before its bytes, else 0 (whatever a reader's sink returned).
    ErrorCode damage() const;

private:
    static constexpr std::uint64_t kLeft = ~std::uint64_t{0};
    static constexpr std::uint64_t kNotWaiting = ~std::uint64_t{0};

    KitStream(std::uint64_t dataStart, std::size_t readers, std::size_t ringBytes);
    void Inflate();
    bool Put(const unsigned char* bytes, std::size_t size);
    void Publish(std::uint64_t produced);
    bool WaitForRoom(std::uint64_t end);
    ErrorCode WaitForBytes(std::uint64_t end);
    void Advance(std::size_t reader, std::uint64_t place);
    std::uint64_t Floor() const;
    void End(ErrorCode code);

    std::unique_ptr<KitTail> tail_;
    const std::size_t ringBytes_;
    std::unique_ptr<unsigned char[]> ring_;  // image byte p lives at ring_[p % ringBytes_]
    std::vector<std::atomic<std::uint64_t>> places_;  // each reader's first byte still needed
    std::atomic<std::uint64_t> produced_;             // the image's bytes inflated so far
    std::atomic<bool> ended_{false};
    std::atomic<bool> stopped_{false};
    std::atomic<int> readersWaiting_{0};
    std::atomic<std::uint64_t> roomWanted_{kNotWaiting};  // the floor the waiting inflater needs
    ErrorCode damage_ = ERR_NONE;  // under mutex_, set before ended_
    mutable std::mutex mutex_;
    std::condition_variable moreBytes_;
    std::condition_variable moreRoom_;
    std::thread inflater_;
};
