#include "app/SideThread.h"

#include <system_error>

SideThread::SideThread(std::function<void()> work) {
    try {
        thread_ = std::thread(work);
        return;
    } catch (const std::system_error&) {  // no thread: the caller does the work
    }
    work();
}

void SideThread::Wait() {
    if (thread_.joinable()) thread_.join();
}
