#include "app/SideThread.h"

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
