// Test-only global allocator: counts live blocks, so that tests can tell a
// buffer was freed, and fails chosen allocations on the calling thread.
#pragma once

#include <cstdint>

namespace allocation_probe {

// Blocks allocated and not yet freed, over all threads.
std::int64_t LiveBlocks();

// While alive, the calling thread's allocations after the first `successes` (-1: all succeed) throw std::bad_alloc.
class FailAfter {
public:
    explicit FailAfter(int successes);
    ~FailAfter();
    FailAfter(const FailAfter&) = delete;
    FailAfter& operator=(const FailAfter&) = delete;
};

}  // namespace allocation_probe
