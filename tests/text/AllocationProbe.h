// Test-only replacement of the global allocator: counts live blocks so tests
// can tell that a buffer was freed, and fails chosen allocations on the
// calling thread so tests can check what a string looks like afterwards.
#pragma once

#include <cstdint>

namespace allocation_probe {

// Blocks allocated and not yet freed, over all threads.
std::int64_t LiveBlocks();

// While alive, the calling thread's allocations fail with std::bad_alloc
// after the first `successes` of them.
class FailAfter {
public:
    explicit FailAfter(int successes);
    ~FailAfter();
    FailAfter(const FailAfter&) = delete;
    FailAfter& operator=(const FailAfter&) = delete;
};

}  // namespace allocation_probe
