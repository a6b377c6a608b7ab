// Buffers shared between threads: counts must stay exact and copies isolated
// while two threads copy, change and drop strings that share buffers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "text/AllocationProbe.h"
#include "text/TextTestSupport.h"
#include "text/WString.h"

namespace {

constexpr int kRounds = 20000;

// Each thread repeatedly copies the shared originals, changes its copies and
// checks that neither the originals nor its own copies see the other
// thread's changes.
void CopyAndMutate(const WString& sharedWide, const AString& sharedNarrow, char16_t mark,
                   std::atomic<int>& mismatches) {
    const WString wideBefore(sharedWide.c_str(), sharedWide.length());
    WString kept;
    for (int round = 0; round < kRounds; ++round) {
        WString copy = sharedWide;
        AString narrow = sharedNarrow;
        copy.mutableData()[0] = mark;
        copy += mark;
        narrow += static_cast<char>(mark);
        if (round % 3 == 0) {
            kept = sharedWide;  // hold a reference across rounds
        }
        if (copy[0] != mark || copy.back() != mark || copy.length() != wideBefore.length() + 1 ||
            narrow.back() != static_cast<char>(mark) || !(kept == wideBefore)) {
            mismatches.fetch_add(1);
        }
    }
}

TEST(ThreadSharing, CopiesStayIsolatedAcrossThreads) {
    const std::int64_t baseline = allocation_probe::LiveBlocks();
    {
        const WString wide = Letters(40);
        const AString narrow = ALetters(40);
        std::atomic<int> mismatches{0};
        std::thread worker(CopyAndMutate, std::cref(wide), std::cref(narrow), u'W', std::ref(mismatches));
        CopyAndMutate(wide, narrow, u'U', mismatches);
        worker.join();
        EXPECT_EQ(mismatches.load(), 0);
        EXPECT_EQ(wide, Letters(40));
        EXPECT_EQ(narrow, ALetters(40));
        EXPECT_EQ(wide.shareCount(), 1u);
        EXPECT_EQ(narrow.shareCount(), 1u);
    }
    EXPECT_EQ(allocation_probe::LiveBlocks(), baseline);
}

// The last reference may be dropped on either thread; the buffer is freed
// exactly once.
TEST(ThreadSharing, LastReleaseOnEitherThreadFreesOnce) {
    const std::int64_t baseline = allocation_probe::LiveBlocks();
    for (int round = 0; round < 2000; ++round) {
        std::vector<WString> handedOver(4, Letters(30 + round % 7));
        WString mine = handedOver[0];
        std::thread worker([texts = std::move(handedOver)]() mutable {
            for (WString& text : texts) {
                text += u'x';  // un-shares the copies that still share
            }
            texts.clear();
        });
        mine.clear();
        worker.join();
    }
    EXPECT_EQ(allocation_probe::LiveBlocks(), baseline);
}

}  // namespace
