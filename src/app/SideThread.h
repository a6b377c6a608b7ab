// Work done beside the calling thread: started when the object is made and
// waited for by Wait(), which then throws on the caller's thread whatever
// the work threw (out of memory, say), as if the caller had done it. Where
// no thread can be started the work is done at once, on the caller's
// thread. The object's end waits too, but drops what Wait() did not pass on:
// the caller is then leaving by an exception of its own.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <thread>

class SideThread {
public:
    explicit SideThread(std::function<void()> work);
    ~SideThread();
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;

    void Wait();

private:
    std::thread thread_;
    std::exception_ptr failure_;
};

// Work on `count` items in two halves at once: work(0, count / 2) on the
// calling thread and work(count / 2, count) on a side thread, when there are
// more than `alone` items; else work(0, count) alone. Returns once both are
// done, rethrowing what the side thread threw.
void InHalves(std::size_t count, std::size_t alone, const std::function<void(std::size_t from, std::size_t to)>& work);
