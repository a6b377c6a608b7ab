#include "app/SideThread.h"

#include <optional>
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

void InHalves(std::size_t count, std::size_t alone, const std::function<void(std::size_t, std::size_t)>& work) {
    const std::size_t half = count > alone && count > 1 ? count / 2 : count;
    std::optional<SideThread> helper;
    if (half < count) helper.emplace([&work, half, count] { work(half, count); });
    work(0, half);
    if (helper) helper->Wait();
}
