// Work done beside the calling thread: started when the object is made,
// waited for by Wait() or when the object ends. Where no thread can be
// started the work is done at once on the caller's thread, so it is done
// either way before Wait() returns.
#pragma once

#include <functional>
#include <thread>

class SideThread {
public:
    explicit SideThread(std::function<void()> work);
    ~SideThread() { Wait(); }
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;

    void Wait();

private:
    std::thread thread_;
};
