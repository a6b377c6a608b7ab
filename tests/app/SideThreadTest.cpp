// Work done beside the caller: what it throws (out of memory, say) reaches the caller's Wait() instead of ending the
// process; an object left without Wait() while its caller unwinds waits and drops it.
#include <atomic>
#include <new>
#include <stdexcept>

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

}  // namespace
