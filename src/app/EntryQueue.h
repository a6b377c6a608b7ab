// Hands the entries of one installation to the threads that install them:
// in kit order, a chunk at a time, so that each thread mostly works in a
// folder of its own; and stops handing out at the first failure or stop.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>

#include "platform/ErrorCode.h"

class EntryQueue {
public:
    EntryQueue(std::size_t count, std::size_t chunk) : count_(count), chunk_(chunk == 0 ? 1 : chunk) {}

    // The next chunk [*first, *last); false once every entry is handed out
    // or the run has stopped.
    bool Take(std::size_t* first, std::size_t* last);
    // Ends the handing out. The first code given is the run's.
    void Stop(ErrorCode code);
    // `count` more entries handled.
    void Done(std::size_t count) { done_.fetch_add(count, std::memory_order_relaxed); }

    std::size_t count() const { return count_; }
    std::size_t done() const { return done_.load(std::memory_order_relaxed); }
    bool stopped() const { return stopped_.load(std::memory_order_acquire); }
    // 0 unless Stop was called.
    ErrorCode failure() const;

private:
    const std::size_t count_;
    const std::size_t chunk_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> done_{0};
    std::atomic<bool> stopped_{false};
    mutable std::mutex mutex_;
    ErrorCode failure_ = ERR_NONE;
};
