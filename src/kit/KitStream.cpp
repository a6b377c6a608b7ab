#include "kit/KitStream.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "kit/InflateFile.h"
#include "kit/KitTail.h"

bool EntriesInStreamOrder(const std::vector<KitEntry>& entries) {
    std::uint64_t end = 0;
    for (const KitEntry& entry : entries) {
        if (entry.size == 0) continue;  // never read
        if (entry.offset < end) return false;
        end = std::uint64_t{entry.offset} + entry.size;
    }
    return true;
}

std::uint64_t KitImageEnd(const std::vector<KitEntry>& entries) {
    std::uint64_t end = 0;
    for (const KitEntry& entry : entries) end = std::max(end, std::uint64_t{entry.offset} + entry.size);
    return end;
}

std::unique_ptr<KitStream> KitStream::Start(KitReader& reader, std::size_t readers, std::size_t ringBytes) {
    if (!reader.tail || readers == 0 || readers > kMostReaders || ringBytes < kPieceBytes + kWindowBytes) {
        return nullptr;
    }
    // A kit file changed since its directory was read is looked at again from its start (KitOpenImage).
    if (!reader.tail->Unchanged()) return nullptr;
    std::unique_ptr<KitStream> stream;
    try {
        stream.reset(new KitStream(reader.tail->dataStart, readers, ringBytes));
        stream->tail_ = std::move(reader.tail);
        stream->inflater_ = std::thread(&KitStream::Inflate, stream.get());
    } catch (const std::exception&) {  // no memory or no thread: the caller reads the kit another way
        if (stream && stream->tail_) reader.tail = std::move(stream->tail_);
        return nullptr;
    }
    return stream;
}

KitStream::KitStream(std::uint64_t dataStart, std::size_t readers, std::size_t ringBytes)
    : ringBytes_(ringBytes), ring_(new unsigned char[ringBytes]), places_(readers), produced_(dataStart) {
    for (std::atomic<std::uint64_t>& place : places_) place.store(dataStart);
}

KitStream::~KitStream() {
    Stop();
    if (inflater_.joinable()) inflater_.join();
}

void KitStream::Inflate() {
    KitTail& tail = *tail_;
    if (!Put(reinterpret_cast<const unsigned char*>(tail.unread.data()), tail.unread.size())) return;
    std::string().swap(tail.unread);
    std::uint64_t produced = produced_.load();
    while (!tail.ended) {
        const std::size_t at = static_cast<std::size_t>(produced % ringBytes_);
        const std::size_t capacity = std::min(kWindowBytes, ringBytes_ - at);
        if (!WaitForRoom(produced + capacity)) return;
        std::uint32_t got = 0;
        const RawInflater::Result result =
            tail.inflater->Inflate(ring_.get() + at, static_cast<std::uint32_t>(capacity), &got);
        tail.mapping->ReleaseBefore(tail.inflater->consumed());
        if (result == RawInflater::Result::kInvalid || produced + got > kLargestKitImage) {
            End(ERR_INVALID_DATA);
            return;
        }
        tail.ended = result == RawInflater::Result::kEnd;
        produced += got;
        Publish(produced);
    }
    End(ERR_NONE);
}

bool KitStream::Put(const unsigned char* bytes, std::size_t size) {
    std::uint64_t produced = produced_.load();
    while (size > 0) {
        const std::size_t at = static_cast<std::size_t>(produced % ringBytes_);
        const std::size_t piece = std::min({size, kWindowBytes, ringBytes_ - at});
        if (!WaitForRoom(produced + piece)) return false;
        std::memcpy(ring_.get() + at, bytes, piece);
        bytes += piece;
        size -= piece;
        produced += piece;
        Publish(produced);
    }
    return true;
}

// The readers are told only when one of them waits: most of the time the
// inflater is ahead, and nobody needs waking.
void KitStream::Publish(std::uint64_t produced) {
    produced_.store(produced);
    if (readersWaiting_.load() == 0) return;
    { const std::lock_guard<std::mutex> lock(mutex_); }
    moreBytes_.notify_all();
}

bool KitStream::WaitForRoom(std::uint64_t end) {
    const std::uint64_t floor = end > ringBytes_ ? end - ringBytes_ : 0;
    if (Floor() >= floor) return !stopped_.load();
    std::unique_lock<std::mutex> lock(mutex_);
    roomWanted_.store(floor);
    moreRoom_.wait(lock, [&] { return Floor() >= floor || stopped_.load(); });
    roomWanted_.store(kNotWaiting);
    return !stopped_.load();
}

ErrorCode KitStream::WaitForBytes(std::uint64_t end) {
    if (produced_.load() >= end) return ERR_NONE;
    std::unique_lock<std::mutex> lock(mutex_);
    readersWaiting_.fetch_add(1);
    moreBytes_.wait(lock, [&] { return produced_.load() >= end || ended_.load() || stopped_.load(); });
    readersWaiting_.fetch_sub(1);
    if (produced_.load() >= end) return ERR_NONE;
    if (stopped_.load() && damage_ == ERR_NONE) return ERR_CANCELLED;
    damage_ = ERR_INVALID_DATA;  // damaged, or ended before the bytes its directory promised
    return damage_;
}

std::uint64_t KitStream::Floor() const {
    std::uint64_t floor = kLeft;
    for (const std::atomic<std::uint64_t>& place : places_) floor = std::min(floor, place.load());
    return floor;
}

// The inflater is woken only when what it waits for has come: once a window, not once a file.
void KitStream::Advance(std::size_t reader, std::uint64_t place) {
    places_[reader].store(place);
    const std::uint64_t wanted = roomWanted_.load();
    if (wanted == kNotWaiting || place < wanted || Floor() < wanted) return;
    { const std::lock_guard<std::mutex> lock(mutex_); }
    moreRoom_.notify_one();
}

ErrorCode KitStream::Read(std::size_t reader, std::uint64_t offset, std::uint64_t size, const PieceSink& take) {
    if (reader >= places_.size()) return ERR_INVALID_DATA;
    if (size == 0) return ERR_NONE;  // an empty file's offset says nothing: other packers leave it 0
    if (offset < places_[reader].load()) return ERR_INVALID_DATA;
    Advance(reader, offset);
    const std::uint64_t end = offset + size;
    for (std::uint64_t at = offset; at < end;) {
        const std::uint64_t wrap = at - at % ringBytes_ + ringBytes_;
        const std::uint64_t pieceEnd = std::min({end, wrap, at + kPieceBytes});
        const ErrorCode ready = WaitForBytes(pieceEnd);
        if (ready != ERR_NONE) return ready;
        const ErrorCode code = take(ring_.get() + at % ringBytes_, static_cast<std::size_t>(pieceEnd - at));
        if (code != ERR_NONE) return code;
        at = pieceEnd;
        Advance(reader, at);
    }
    return ERR_NONE;
}

void KitStream::Leave(std::size_t reader) {
    if (reader < places_.size()) Advance(reader, kLeft);
}

void KitStream::End(ErrorCode code) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        damage_ = code;
        ended_.store(true);
    }
    moreBytes_.notify_all();
}

void KitStream::Stop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopped_.store(true);
    }
    moreBytes_.notify_all();
    moreRoom_.notify_all();
}

ErrorCode KitStream::Finish(std::uint64_t imageEnd) {
    if (inflater_.joinable()) inflater_.join();
    const std::lock_guard<std::mutex> lock(mutex_);
    if (damage_ != ERR_NONE) return damage_;
    if (!ended_.load()) return ERR_CANCELLED;  // stopped before its end
    return produced_.load() >= imageEnd ? ERR_NONE : ERR_INVALID_DATA;
}

ErrorCode KitStream::damage() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return damage_;
}
