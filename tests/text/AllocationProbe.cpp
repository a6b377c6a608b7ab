// Counting, failure-injecting global operator new/delete for test_text.
#include "text/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::int64_t> g_live{0};
thread_local int t_remaining = -1;  // -1: never fail

// Requests beyond this are refused as a real allocator would refuse them,
// without asking malloc (a sanitizer would treat them as an error).
constexpr std::size_t kLargestRequest = std::size_t{1} << 36;

void* Allocate(std::size_t size) {
    if (t_remaining == 0 || size > kLargestRequest) {
        throw std::bad_alloc();
    }
    if (t_remaining > 0) {
        --t_remaining;
    }
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    g_live.fetch_add(1);
    return block;
}

void Free(void* block) noexcept {
    if (block != nullptr) {
        g_live.fetch_sub(1);
        std::free(block);
    }
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }

namespace allocation_probe {

std::int64_t LiveBlocks() { return g_live.load(); }

FailAfter::FailAfter(int successes) { t_remaining = successes; }

FailAfter::~FailAfter() { t_remaining = -1; }

}  // namespace allocation_probe
