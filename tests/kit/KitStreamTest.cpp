#include "kit/KitStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "KitImages.h"
#include "kit/KitWriter.h"

using namespace kit_images;

namespace {

// The smallest ring a stream takes: entries larger than it pass through in pieces.
constexpr std::size_t kSmallRing = KitStream::kPieceBytes + KitStream::kWindowBytes;

class KitStreamTest : public KitTest {
protected:
    // A kit of `sizes.size()` entries.
    void WriteKitOf(const std::vector<std::size_t>& sizes) {
        KitSource source;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            source.files.push_back({Wide("e" + std::to_string(i)), FileTimeFromUnixSeconds(0), scratch::Noise(i, sizes[i]), {}});
        }
        ASSERT_EQ(WriteKit(source, Wide(kit)), ERR_NONE);
    }
    // The same, read for its directory first.
    void WriteAndOpen(const std::vector<std::size_t>& sizes, KitReader& reader) {
        WriteKitOf(sizes);
        ASSERT_EQ(KitOpenDirectoryFirst(reader, Wide(kit)), ERR_NONE);
    }

    // Reads every entry as the installation does: `readers` threads take runs of three entries in kit order, each
    // reading its own in order; reader 0 is slow inside its pieces, so that the others run ahead of it. What each
    // entry gave, and the first code other than 0.
    static ErrorCode ReadAll(KitStream& stream, const std::vector<KitEntry>& entries, std::size_t readers,
                             std::map<std::size_t, std::string>& got) {
        std::atomic<std::size_t> next{0};
        std::mutex mutex;
        ErrorCode first = ERR_NONE;
        const auto work = [&](std::size_t reader) {
            for (std::size_t start; (start = next.fetch_add(3)) < entries.size();) {
                for (std::size_t i = start; i < std::min(start + 3, entries.size()); ++i) {
                    std::string bytes;
                    const ErrorCode code = stream.Read(reader, entries[i].offset, entries[i].size,
                                                       [&](const unsigned char* piece, std::size_t size) {
                        if (reader == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
                        bytes.append(reinterpret_cast<const char*>(piece), size);
                        return ERR_NONE;
                    });
                    const std::lock_guard<std::mutex> lock(mutex);
                    if (code != ERR_NONE) {
                        if (first == ERR_NONE) first = code;
                        stream.Leave(reader);
                        return;
                    }
                    got[i] = std::move(bytes);
                }
            }
            stream.Leave(reader);
        };
        std::vector<std::thread> threads;
        for (std::size_t reader = 1; reader < readers; ++reader) threads.emplace_back(work, reader);
        work(0);
        for (std::thread& thread : threads) thread.join();
        return first;
    }
};

// Entries larger than the ring, empty ones and small ones, read by one to four threads: each gets exactly its bytes,
// and the inflater never overwrites what a slow reader is still taking.
TEST_F(KitStreamTest, EveryReaderGetsExactlyItsEntriesThroughASmallRing) {
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < 36; ++i) sizes.push_back(std::vector<std::size_t>{0, 1, 4096, 300000, 1000000}[i % 5]);
    WriteKitOf(sizes);
    for (const std::size_t readers : {1, 2, 4}) {
        KitReader reader;
        ASSERT_EQ(KitOpenDirectoryFirst(reader, Wide(kit)), ERR_NONE);
        ASSERT_TRUE(EntriesInStreamOrder(reader.entries));
        const std::unique_ptr<KitStream> stream = KitStream::Start(reader, readers, kSmallRing);
        ASSERT_TRUE(stream) << readers;
        EXPECT_FALSE(reader.tail);  // the stream's now
        std::map<std::size_t, std::string> got;
        EXPECT_EQ(ReadAll(*stream, reader.entries, readers, got), ERR_NONE) << readers;
        ASSERT_EQ(got.size(), sizes.size()) << readers;
        for (std::size_t i = 0; i < sizes.size(); ++i) EXPECT_TRUE(got[i] == scratch::Noise(i, sizes[i])) << readers << " " << i;
        EXPECT_EQ(stream->Finish(KitImageEnd(reader.entries)), ERR_NONE) << readers;
        EXPECT_EQ(stream->damage(), ERR_NONE);
    }
}

// A stream cut short, or shorter than its directory says, is damage: the reader waiting for the missing bytes is told,
// and so is the end, even when no reader asked for them (a file the run does not write).
TEST_F(KitStreamTest, DamageAndMissingBytesReachTheReaderWaitingAndTheEnd) {
    const std::vector<std::size_t> sizes(12, 200000);
    {
        KitReader reader;
        WriteAndOpen(sizes, reader);
        const std::string whole = scratch::ReadBytes(kit);
        KitReader cut;
        scratch::WriteBytes(kit, whole.substr(0, whole.size() / 2));
        ASSERT_EQ(KitOpenDirectoryFirst(cut, Wide(kit)), ERR_NONE);
        const std::unique_ptr<KitStream> stream = KitStream::Start(cut, 2, kSmallRing);
        ASSERT_TRUE(stream);
        std::map<std::size_t, std::string> got;
        EXPECT_EQ(ReadAll(*stream, cut.entries, 2, got), ERR_INVALID_DATA);
        EXPECT_LT(got.size(), sizes.size());
        for (const auto& [i, bytes] : got) EXPECT_TRUE(bytes == scratch::Noise(i, sizes[i])) << i;
        EXPECT_EQ(stream->damage(), ERR_INVALID_DATA);
        EXPECT_EQ(stream->Finish(KitImageEnd(cut.entries)), ERR_INVALID_DATA);
    }
    // Whole streams whose directory promises four bytes more than the data holds.
    for (const bool read : {true, false}) {
        KitReader reader;
        scratch::WriteBytes(kit, DeflateRaw(Multi(U32(2) + Entry(u"a", 0, 4) + Entry(u"b", 4, 8) + "datamore")));
        ASSERT_EQ(KitOpenDirectoryFirst(reader, Wide(kit)), ERR_NONE);
        const std::unique_ptr<KitStream> stream = KitStream::Start(reader, 1, kSmallRing);
        ASSERT_TRUE(stream);
        const auto ignore = [](const unsigned char*, std::size_t) { return ERR_NONE; };
        EXPECT_EQ(stream->Read(0, reader.entries[0].offset, 4, ignore), ERR_NONE);
        if (read) {
            EXPECT_EQ(stream->Read(0, reader.entries[1].offset, 8, ignore), ERR_INVALID_DATA);
        }
        stream->Leave(0);
        EXPECT_EQ(stream->Finish(KitImageEnd(reader.entries)), ERR_INVALID_DATA) << read;
        EXPECT_EQ(stream->damage(), read ? ERR_INVALID_DATA : ERR_NONE);
    }
}

// A reader that has not read yet holds the ring at the start: the other waits for bytes past it until the stream is
// stopped, and is told so; nothing is read behind a reader's place, and the stream ends without hanging.
TEST_F(KitStreamTest, AStopReachesAReaderWaitingBehindAnother) {
    const std::vector<std::size_t> sizes{300000, 300000, 300000, 300000};
    KitReader reader;
    WriteAndOpen(sizes, reader);
    std::unique_ptr<KitStream> stream = KitStream::Start(reader, 2, kSmallRing);
    ASSERT_TRUE(stream);
    const KitEntry& last = reader.entries.back();
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stream->Stop();
    });
    std::string bytes;
    const ErrorCode code = stream->Read(1, last.offset, last.size, [&](const unsigned char* piece, std::size_t size) {
        bytes.append(reinterpret_cast<const char*>(piece), size);
        return ERR_NONE;
    });
    stopper.join();
    EXPECT_EQ(code, ERR_CANCELLED);
    EXPECT_TRUE(bytes.empty());
    const auto ignore = [](const unsigned char*, std::size_t) { return ERR_NONE; };
    EXPECT_EQ(stream->Read(1, reader.entries[0].offset, 1, ignore), ERR_INVALID_DATA);  // behind its place
    EXPECT_EQ(stream->Read(1, 0, 0, ignore), ERR_NONE);  // an empty file, wherever its offset points
    EXPECT_EQ(stream->Finish(KitImageEnd(reader.entries)), ERR_CANCELLED);
    stream.reset();
}

// No tail (a kit unpacked whole), or a kit file changed since its directory was read: no stream, and the tail stays.
TEST_F(KitStreamTest, OnlyAnUnchangedKitReadForItsDirectoryIsStreamed) {
    KitReader whole;
    scratch::WriteBytes(kit, DeflateRaw(Multi(U32(1) + Entry(u"a", 0, 4) + "data")));
    ASSERT_EQ(KitOpen(whole, Wide(kit)), ERR_NONE);
    EXPECT_FALSE(KitStream::Start(whole, 1));
    KitReader first;
    ASSERT_EQ(KitOpenDirectoryFirst(first, Wide(kit)), ERR_NONE);
    EXPECT_FALSE(KitStream::Start(first, 0));
    EXPECT_FALSE(KitStream::Start(first, KitStream::kMostReaders + 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    scratch::WriteBytes(kit, DeflateRaw(Multi(U32(1) + Entry(u"a", 0, 4) + "DATA")));
    EXPECT_FALSE(KitStream::Start(first, 1));
    EXPECT_TRUE(first.tail);
}

TEST(EntriesInStreamOrder, EachEntryWithDataStartsWhereTheOneBeforeEnded) {
    const auto at = [](std::uint32_t offset, std::uint32_t size) { return KitEntry{WString(), {}, offset, size}; };
    const std::pair<const char*, std::vector<KitEntry>> cases[] = {
        {"in order, with gaps", {at(10, 5), at(15, 0), at(20, 1)}},
        {"an empty entry anywhere", {at(10, 5), at(0, 0), at(15, 3)}},
        {"overlapping", {at(10, 5), at(14, 2)}},
        {"backwards", {at(20, 5), at(10, 5)}},
    };
    const bool expected[] = {true, true, false, false};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(EntriesInStreamOrder(cases[i].second), expected[i]) << cases[i].first;
    }
}

}  // namespace
