// Member definitions of BasicString: the inline/heap storage policy, the
// shared counted buffers and the capacity growth. Included by BasicString.h.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#define QORN_BASIC_STRING_TEMPLATE template <typename Unit, std::uint32_t InlineUnits, std::uint64_t HeaderUnits>
#define QORN_BASIC_STRING BasicString<Unit, InlineUnits, HeaderUnits>

// ---- construction and lifetime ---------------------------------------------

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING::BasicString() noexcept = default;

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING::BasicString(const Unit* text)
    : BasicString(text, text == nullptr ? 0 : std::char_traits<Unit>::length(text)) {}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING::BasicString(const Unit* text, size_type count) {
    if (count < InlineUnits) {
        std::copy_n(text, count, storage_.units);
        tag_ = static_cast<std::uint32_t>(count);
        return;
    }
    if (count > maxCapacity() - kHeaderUnits) {
        throw std::bad_alloc();
    }
    const size_type capacity = count + kHeaderUnits;
    Unit* block = allocateBlock(capacity);
    std::copy_n(text, count, block + kHeaderUnits);
    block[capacity] = Unit{};
    becomeHeap(block, count, capacity);
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING::BasicString(const BasicString& other) noexcept : tag_(other.tag_), storage_(other.storage_) {
    if (isHeap()) {
        countOf(storage_.heap.buffer).fetch_add(1, std::memory_order_seq_cst);
    }
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING::BasicString(BasicString&& other) noexcept {
    swap(other);
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::operator=(const BasicString& other) noexcept {
    if (this == &other) {
        return *this;
    }
    // Take the new reference before dropping the old one: both may be the
    // same buffer.
    if (other.isHeap()) {
        countOf(other.storage_.heap.buffer).fetch_add(1, std::memory_order_seq_cst);
    }
    Unit* old = isHeap() ? storage_.heap.buffer : nullptr;
    tag_ = other.tag_;
    storage_ = other.storage_;
    if (old != nullptr) {
        releaseBlock(old);
    }
    return *this;
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::operator=(BasicString&& other) noexcept {
    BasicString taken(std::move(other));
    swap(taken);
    return *this;
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::operator=(const Unit* text) {
    return assign(text, text == nullptr ? 0 : std::char_traits<Unit>::length(text));
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING::~BasicString() {
    if (isHeap()) {
        releaseBlock(storage_.heap.buffer);
    }
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::swap(BasicString& other) noexcept {
    std::swap(tag_, other.tag_);
    std::swap(storage_, other.storage_);
}

// ---- reading ----------------------------------------------------------------

QORN_BASIC_STRING_TEMPLATE
bool QORN_BASIC_STRING::isInline() const noexcept {
    return !isHeap();
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::capacity() const noexcept {
    return isHeap() ? storage_.heap.capacity : InlineUnits - 1;
}

QORN_BASIC_STRING_TEMPLATE
std::uint64_t QORN_BASIC_STRING::shareCount() const noexcept {
    if (!isHeap()) {
        return 0;
    }
    return static_cast<std::uint64_t>(countOf(storage_.heap.buffer).load(std::memory_order_seq_cst));
}

QORN_BASIC_STRING_TEMPLATE
const void* QORN_BASIC_STRING::bufferAddress() const noexcept {
    return isHeap() ? storage_.heap.buffer : nullptr;
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::find(Unit unit, size_type pos) const noexcept {
    const size_type len = length();
    const Unit* text = chars();
    for (size_type i = pos; i < len; ++i) {
        if (text[i] == unit) {
            return i;
        }
    }
    return npos;
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::find(const BasicString& text, size_type pos) const noexcept {
    const size_type len = length();
    const size_type wanted = text.length();
    if (pos > len || wanted > len - pos) {
        return npos;
    }
    for (size_type i = pos; i <= len - wanted; ++i) {
        if (compareUnits(chars() + i, text.chars(), wanted) == 0) {
            return i;
        }
    }
    return npos;
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::rfind(Unit unit, size_type pos) const noexcept {
    const size_type len = length();
    if (len == 0) {
        return npos;
    }
    const Unit* text = chars();
    for (size_type i = std::min(pos, len - 1) + 1; i-- > 0;) {
        if (text[i] == unit) {
            return i;
        }
    }
    return npos;
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::rfind(const BasicString& text, size_type pos) const noexcept {
    const size_type len = length();
    const size_type wanted = text.length();
    if (wanted > len) {
        return npos;
    }
    for (size_type i = std::min(pos, len - wanted) + 1; i-- > 0;) {
        if (compareUnits(chars() + i, text.chars(), wanted) == 0) {
            return i;
        }
    }
    return npos;
}

QORN_BASIC_STRING_TEMPLATE
bool QORN_BASIC_STRING::startsWith(const BasicString& text) const noexcept {
    return text.length() <= length() && compareUnits(chars(), text.chars(), text.length()) == 0;
}

QORN_BASIC_STRING_TEMPLATE
bool QORN_BASIC_STRING::endsWith(const BasicString& text) const noexcept {
    return text.length() <= length() &&
           compareUnits(chars() + (length() - text.length()), text.chars(), text.length()) == 0;
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING QORN_BASIC_STRING::substr(size_type pos, size_type count) const {
    const size_type len = length();
    if (pos > len) {
        throw std::out_of_range("basic_string");
    }
    return BasicString(chars() + pos, std::min(count, len - pos));
}

// ---- changing ---------------------------------------------------------------

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::assign(const Unit* text, size_type count) {
    replaceRange(0, length(), text, count, false);
    return *this;
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::append(const BasicString& other, size_type pos, size_type count) {
    const size_type available = other.length();
    if (pos > available) {
        throw std::out_of_range("basic_string");
    }
    replaceRange(length(), 0, other.chars() + pos, std::min(count, available - pos), true);
    return *this;
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::append(const Unit* text, size_type count) {
    replaceRange(length(), 0, text, count, true);
    return *this;
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::append(const Unit* text) {
    return append(text, text == nullptr ? 0 : std::char_traits<Unit>::length(text));
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::insert(const Unit* at, const Unit* first, const Unit* last, bool inside) {
    const size_type pos = static_cast<size_type>(at - chars());
    const size_type count = static_cast<size_type>(last - first);
    if (inside && count != 0) {
        const BasicString copy(first, count);
        replaceRange(pos, 0, copy.chars(), count, true);
        return;
    }
    replaceRange(pos, 0, first, count, true);
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::insert(size_type pos, const BasicString& text) {
    if (pos > length()) {
        throw std::out_of_range("basic_string");
    }
    replaceRange(pos, 0, text.chars(), text.length(), true);
}

QORN_BASIC_STRING_TEMPLATE
QORN_BASIC_STRING& QORN_BASIC_STRING::erase(size_type pos, size_type count) {
    const size_type len = length();
    if (pos > len) {
        throw std::out_of_range("basic_string");
    }
    replaceRange(pos, std::min(count, len - pos), nullptr, 0, false);
    return *this;
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::resize(size_type newLength, bool geometric) {
    const size_type len = length();
    const size_type kept = std::min(len, newLength);
    if (newLength < InlineUnits) {
        Unit joined[InlineUnits] = {};
        std::copy_n(chars(), kept, joined);
        becomeInline(joined, newLength);
        return;
    }
    makeWritable(newLength, geometric);
    Unit* text = chars();
    // Added units are zeroed so that a caller who fills fewer of them than it
    // asked for never exposes stale memory.
    std::fill(text + kept, text + newLength, Unit{});
    text[newLength] = Unit{};
    storage_.heap.end = text + newLength;
}

QORN_BASIC_STRING_TEMPLATE
Unit* QORN_BASIC_STRING::mutableData() {
    if (isHeap() && countOf(storage_.heap.buffer).load(std::memory_order_seq_cst) != 1) {
        moveToBlock(length() + kHeaderUnits, length());
    }
    return chars();
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::clear() noexcept {
    becomeInline(nullptr, 0);
}

QORN_BASIC_STRING_TEMPLATE
int QORN_BASIC_STRING::compareUnits(const Unit* a, const Unit* b, size_type count) noexcept {
    using Unsigned = std::make_unsigned_t<Unit>;
    for (size_type i = 0; i < count; ++i) {
        const auto x = static_cast<Unsigned>(a[i]);
        const auto y = static_cast<Unsigned>(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return 0;
}

// ---- storage policy -----------------------------------------------------------

QORN_BASIC_STRING_TEMPLATE
bool QORN_BASIC_STRING::overlaps(const Unit* first, size_type count) const noexcept {
    // Compared as addresses: the source may be any memory at all.
    const auto begin = reinterpret_cast<std::uintptr_t>(chars());
    const auto end = begin + (length() + 1) * sizeof(Unit);
    const auto from = reinterpret_cast<std::uintptr_t>(first);
    return count != 0 && from < end && begin < from + count * sizeof(Unit);
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::Count& QORN_BASIC_STRING::countOf(Unit* block) noexcept {
    return *std::launder(reinterpret_cast<Count*>(block));
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::maxCapacity() noexcept {
    // The block holds capacity + 1 units, and that must fit a signed 64-bit
    // count.
    return static_cast<size_type>(std::numeric_limits<std::int64_t>::max()) - 1;
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::roundCapacity(size_type need) {
    const size_type bytes = need * sizeof(Unit);
    size_type step = 1;
    if (bytes <= 256) {
        step = 8;
    } else if (bytes <= 512) {
        step = 16;
    } else if (bytes <= 1023) {
        step = 32;
    } else if (bytes <= 2047) {
        step = 64;
    } else if (bytes <= 4095) {
        step = 128;
    } else if (bytes <= 8191) {
        step = 256;
    } else if (bytes <= 16383) {
        step = 512;
    }
    return (bytes + step - 1) / step * step / sizeof(Unit);
}

QORN_BASIC_STRING_TEMPLATE
typename QORN_BASIC_STRING::size_type QORN_BASIC_STRING::grownCapacity(size_type capacity, size_type length,
                                                                        bool geometric) {
    size_type need = length + kHeaderUnits;
    if (geometric) {
        need = std::max(need, std::min(capacity + capacity / 2, maxCapacity()));
    }
    return roundCapacity(need);
}

QORN_BASIC_STRING_TEMPLATE
Unit* QORN_BASIC_STRING::allocateBlock(size_type capacity) {
    if (capacity > maxCapacity()) {
        throw std::bad_alloc();
    }
    void* block = ::operator new((capacity + 1) * sizeof(Unit));
    new (block) Count(1);
    return static_cast<Unit*>(block);
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::releaseBlock(Unit* block) noexcept {
    Count& count = countOf(block);
    if (count.fetch_sub(1, std::memory_order_seq_cst) == 1) {
        count.~Count();
        ::operator delete(block);
    }
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::becomeInline(const Unit* text, size_type count) noexcept {
    Storage fresh{};
    std::copy_n(text, count, fresh.units);
    Unit* old = isHeap() ? storage_.heap.buffer : nullptr;
    tag_ = static_cast<std::uint32_t>(count);
    storage_ = fresh;
    if (old != nullptr) {
        releaseBlock(old);
    }
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::becomeHeap(Unit* block, size_type length, size_type capacity) noexcept {
    Storage fresh;
    fresh.heap = Heap{block, block + kHeaderUnits + length, capacity};
    tag_ = kHeapTag;
    storage_ = fresh;
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::moveToBlock(size_type capacity, size_type keep) {
    Unit* block = allocateBlock(capacity);
    std::copy_n(chars(), keep, block + kHeaderUnits);
    block[kHeaderUnits + keep] = Unit{};
    if (isHeap()) {
        releaseBlock(storage_.heap.buffer);
    }
    becomeHeap(block, keep, capacity);
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::makeWritable(size_type newLength, bool geometric) {
    if (newLength > maxCapacity() - kHeaderUnits) {
        throw std::bad_alloc();
    }
    const size_type len = length();
    if (!isHeap()) {
        moveToBlock(newLength + kHeaderUnits, len);
        return;
    }
    if (countOf(storage_.heap.buffer).load(std::memory_order_seq_cst) != 1) {
        moveToBlock(len + kHeaderUnits, len);
    }
    if (storage_.heap.capacity < newLength + kHeaderUnits) {
        moveToBlock(grownCapacity(storage_.heap.capacity, newLength, geometric), len);
    }
}

QORN_BASIC_STRING_TEMPLATE
void QORN_BASIC_STRING::replaceRange(size_type pos, size_type removed, const Unit* text, size_type count,
                                     bool geometric) {
    const size_type len = length();
    const size_type rest = len - removed;
    if (count > maxCapacity() - kHeaderUnits - rest) {
        throw std::bad_alloc();
    }
    if (overlaps(text, count)) {
        // The source would move or vanish under the change: work from a copy.
        const BasicString copy(text, count);
        replaceRange(pos, removed, copy.chars(), count, geometric);
        return;
    }
    const size_type newLength = rest + count;
    const size_type tail = len - pos - removed;
    if (newLength < InlineUnits) {
        Unit joined[InlineUnits] = {};
        std::copy_n(chars(), pos, joined);
        std::copy_n(text, count, joined + pos);
        std::copy_n(chars() + pos + removed, tail, joined + pos + count);
        becomeInline(joined, newLength);
        return;
    }
    makeWritable(newLength, geometric);
    Unit* target = chars();
    std::memmove(target + pos + count, target + pos + removed, tail * sizeof(Unit));
    std::copy_n(text, count, target + pos);
    target[newLength] = Unit{};
    storage_.heap.end = target + newLength;
}

#undef QORN_BASIC_STRING
#undef QORN_BASIC_STRING_TEMPLATE
