#include "app/FolderTable.h"

#include <cstring>
#include <functional>

namespace {

// A path never crosses blocks; the longest path the plan accepts is far shorter.
constexpr std::uint32_t kBlockBits = 16;
constexpr std::uint32_t kBlockSize = 1u << kBlockBits;

}  // namespace

std::size_t FolderTable::SlotOf(std::string_view path) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(path) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = slots_[slot];
        if (held == 0 || PathOf(held - 1) == path) return slot;
    }
}

std::uint32_t FolderTable::Find(std::string_view path) const {
    if (slots_.empty()) return kNone;
    const std::uint32_t held = slots_[SlotOf(path)];
    return held == 0 ? kNone : held - 1;
}

std::uint32_t FolderTable::Add(std::string_view path, const Folder& folder) {
    // At most half full, so that a probe ends soon.
    if ((records_.size() + 1) * 2 > slots_.size()) Grow();
    const std::uint32_t number = size();
    records_.push_back({folder, StorePath(path), static_cast<std::uint32_t>(path.size())});
    slots_[SlotOf(path)] = number + 1;
    return number;
}

std::string_view FolderTable::PathOf(std::uint32_t number) const {
    const Record& record = records_[number];
    return {blocks_[record.pathStart >> kBlockBits].get() + (record.pathStart & (kBlockSize - 1)), record.pathLength};
}

void FolderTable::Clear() {
    std::deque<Record>().swap(records_);
    std::vector<std::uint32_t>().swap(slots_);
    std::vector<std::unique_ptr<char[]>>().swap(blocks_);
    blockUsed_ = 0;
}

void FolderTable::Grow() {
    std::vector<std::uint32_t>(slots_.empty() ? 64 : slots_.size() * 2).swap(slots_);
    for (std::uint32_t number = 0; number < size(); ++number) slots_[SlotOf(PathOf(number))] = number + 1;
}

std::uint32_t FolderTable::StorePath(std::string_view path) {
    if (blocks_.empty() || blockUsed_ + path.size() > kBlockSize) {
        blocks_.emplace_back(new char[kBlockSize]);
        blockUsed_ = 0;
    }
    std::memcpy(blocks_.back().get() + blockUsed_, path.data(), path.size());
    const std::uint32_t start = static_cast<std::uint32_t>((blocks_.size() - 1) << kBlockBits) + blockUsed_;
    blockUsed_ += static_cast<std::uint32_t>(path.size());
    return start;
}
