#include "app/EntryQueue.h"

bool EntryQueue::Take(std::size_t* first, std::size_t* last) {
    if (stopped()) return false;
    const std::size_t start = next_.fetch_add(chunk_, std::memory_order_relaxed);
    if (start >= count_) return false;
    *first = start;
    *last = count_ - start < chunk_ ? count_ : start + chunk_;
    return true;
}

void EntryQueue::Stop(ErrorCode code) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!stopped()) failure_ = code;
    stopped_.store(true, std::memory_order_release);
}

ErrorCode EntryQueue::failure() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
}
