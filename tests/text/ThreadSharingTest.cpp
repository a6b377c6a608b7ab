// Buffers shared between threads: counts must stay exact and copies isolated
// while two threads copy, change and drop strings that share buffers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "text/AllocationProbe.h"
#include "text/TextTestSupport.h"

namespace {

// Copies and changes `shared`, counting every sign of the other thread's changes.
void CopyAndChange(const WString& shared, char16_t mark, std::atomic<int>& mismatches) {
    WString kept;
    for (int round = 0; round < 20000; ++round) {
        WString copy = shared;
        kept = shared;
        copy.mutableData()[0] = mark;
        copy += mark;
        mismatches += copy[0] == mark && copy.back() == mark && kept == Letters(40) ? 0 : 1;
    }
}

TEST(ThreadSharing, CopiesStayIsolatedAcrossThreads) {
    const WString shared = Letters(40);
    std::atomic<int> mismatches{0};
    std::thread worker(CopyAndChange, std::cref(shared), u'W', std::ref(mismatches));
    CopyAndChange(shared, u'U', mismatches);
    worker.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(shared.shareCount(), 1u);
}

TEST(ThreadSharing, LastReleaseOnEitherThreadFreesOnce) {
    const std::int64_t baseline = allocation_probe::LiveBlocks();
    for (int round = 0; round < 2000; ++round) {
        std::vector<WString> handedOver(3, Letters(30));
        WString mine = handedOver[0];
        std::thread worker([texts = std::move(handedOver)]() mutable { texts[1] += u'x'; });
        mine.clear();
        worker.join();
    }
    EXPECT_EQ(allocation_probe::LiveBlocks(), baseline);
}

}  // namespace
