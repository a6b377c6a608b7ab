// Counting, failure-injecting global operator new/delete for test_text.
#include "text/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::int64_t> g_live{0};
thread_local int t_remaining = -1;  // -1: never fail

}  // namespace

// Requests beyond 64 GiB are refused as a real allocator would refuse them,
// without asking malloc (a sanitizer would treat them as an error).
void* operator new(std::size_t size) {
    void* block = t_remaining == 0 || size > (std::size_t{1} << 36) ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    t_remaining -= t_remaining > 0 ? 1 : 0;
    g_live.fetch_add(1);
    return block;
}
void operator delete(void* block) noexcept {
    g_live.fetch_sub(block != nullptr ? 1 : 0);
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

std::int64_t allocation_probe::LiveBlocks() { return g_live.load(); }
allocation_probe::FailAfter::FailAfter(int successes) { t_remaining = successes; }
allocation_probe::FailAfter::~FailAfter() { t_remaining = -1; }
