#include "app/SideThread.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <utility>

SideThread::SideThread(std::function<void()> work) {
    try {
        thread_ = std::thread([this, work] {
            try {
                work();
            } catch (...) {
                failure_ = std::current_exception();
            }
        });
        return;
    } catch (const std::system_error&) {  // no thread: the caller does the work
    }
    work();
}

SideThread::~SideThread() {
    if (thread_.joinable()) thread_.join();
}

void SideThread::Wait() {
    if (thread_.joinable()) thread_.join();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void InBlocks(std::size_t count, std::size_t block, std::size_t alone,
              const std::function<void(std::size_t, std::size_t)>& work) {
    if (count == 0) return;
    if (count <= alone || count <= block) {
        work(0, count);
        return;
    }
    std::atomic<std::size_t> next{0};
    const auto take = [&] {
        try {
            for (std::size_t from = next.fetch_add(block); from < count; from = next.fetch_add(block)) {
                work(from, std::min(count, from + block));
            }
        } catch (...) {
            next = count;  // the other thread stops at its next block
            throw;
        }
    };
    SideThread helper(take);
    take();
    helper.Wait();
}
