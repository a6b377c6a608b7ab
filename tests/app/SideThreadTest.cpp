// Work done beside the caller: what it throws (out of memory, say) reaches the caller's Wait() instead of ending the
// process; an object left without Wait() while its caller unwinds waits and drops it. Work shared out in blocks
// reaches every item once, and what either thread throws reaches the caller.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/SideThread.h"

namespace {

TEST(SideThread, WhatTheWorkThrowsIsThrownByWaitOnTheCallersThread) {
    std::atomic<bool> ran{false};
    SideThread side([&ran] {
        ran = true;
        throw std::bad_alloc();
    });
    EXPECT_THROW(side.Wait(), std::bad_alloc);
    EXPECT_TRUE(ran);
    EXPECT_NO_THROW(side.Wait());  // passed on once
    EXPECT_THROW(
        {
            SideThread dropped([] { throw std::runtime_error("the helper's"); });
            throw std::logic_error("the caller's");
        },
        std::logic_error);
}

TEST(SideThread, BlocksShareOutEveryItemOnceWhateverTheCount) {
    constexpr std::size_t kBlock = 8;
    constexpr std::size_t kAlone = 20;
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, kAlone, kAlone + 1, std::size_t{1001}}) {
        SCOPED_TRACE(count);
        std::vector<std::atomic<int>> seen(count);
        std::mutex mutex;
        std::vector<std::thread::id> threads;
        InBlocks(count, kBlock, kAlone, [&](std::size_t from, std::size_t to) {
            EXPECT_LT(from, to);
            EXPECT_LE(to - from, count > kAlone ? kBlock : count);
            for (std::size_t k = from; k < to; ++k) ++seen[k];
            // Slow enough that a side thread started late still finds blocks left among many.
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            const std::lock_guard<std::mutex> lock(mutex);
            threads.push_back(std::this_thread::get_id());
        });
        for (std::size_t k = 0; k < count; ++k) EXPECT_EQ(seen[k], 1) << "item " << k;
        // Over a hundred blocks: however late it starts, the side thread takes some.
        if (count > 100 * kBlock) {
            EXPECT_NE(std::count(threads.begin(), threads.end(), std::this_thread::get_id()), threads.size())
                << "the side thread took no block";
        }
    }
}

TEST(SideThread, BlocksPassOnWhatEitherThreadThrows) {
    const std::thread::id caller = std::this_thread::get_id();
    for (const bool callerThrows : {true, false}) {
        SCOPED_TRACE(callerThrows ? "the caller throws" : "the side thread throws");
        std::atomic<int> blocks{0};
        std::atomic<bool> sideStarted{false};
        EXPECT_THROW(InBlocks(4096, 16, 0,
                              [&](std::size_t, std::size_t) {
                                  ++blocks;
                                  const bool onCaller = std::this_thread::get_id() == caller;
                                  if (!onCaller) sideStarted = true;
                                  // Both at work before either throws, however late the side thread starts.
                                  for (int waited = 0; onCaller && !sideStarted && waited < 5000; ++waited) {
                                      std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                  }
                                  if (onCaller == callerThrows) throw std::bad_alloc();
                                  std::this_thread::sleep_for(std::chrono::microseconds(100));
                              }),
                     std::bad_alloc);
        // The other thread stops at its next block instead of working through the rest.
        EXPECT_LT(blocks, 4096 / 16);
    }
}

}  // namespace
