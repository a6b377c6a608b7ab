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

// Work on `count` items in blocks of `block`: the calling thread and, when
// there are more than `alone` items, a side thread each take the next block
// not yet taken, so that neither waits long for the other, however late the
// side thread starts. work(from, to) runs once for each block, and never for
// no items; returns once all are done, rethrowing what the side thread threw.
void InBlocks(std::size_t count, std::size_t block, std::size_t alone,
              const std::function<void(std::size_t from, std::size_t to)>& work);
