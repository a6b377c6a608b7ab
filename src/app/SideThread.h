// Work done beside the calling thread: started when the object is made and
// waited for by Wait(), which then throws on the caller's thread whatever
// the work threw (out of memory, say), as if the caller had done it. Where
// no thread can be started the work is done at once, on the caller's
// thread. The object's end waits too, but drops what Wait() did not pass on:
// the caller is then leaving by an exception of its own.
#pragma once

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
