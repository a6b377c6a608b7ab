// The string core shared by WString (16-bit units) and AString (8-bit units):
// short texts live inline in the object, longer ones in a reference-counted
// heap buffer that copies share and that is copied before it is changed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

template <typename Unit, std::uint32_t InlineUnits, std::uint64_t HeaderUnits>
class BasicString {
public:
    using size_type = std::uint64_t;
    using value_type = Unit;
    static constexpr size_type npos = ~size_type{0};
    // Tag value of the heap form; 0..InlineUnits-1 is the inline length.
    static constexpr std::uint32_t kHeapTag = InlineUnits;
    static constexpr size_type kHeaderUnits = HeaderUnits;

    BasicString() noexcept;
    BasicString(const Unit* text);                   // up to the first zero unit
    BasicString(const Unit* text, size_type count);
    BasicString(const BasicString& other) noexcept;  // shares a heap buffer
    BasicString(BasicString&& other) noexcept;       // leaves `other` empty
    BasicString& operator=(const BasicString& other) noexcept;
    BasicString& operator=(BasicString&& other) noexcept;
    BasicString& operator=(const Unit* text);
    ~BasicString();
    void swap(BasicString& other) noexcept;

    // Defined here, where every caller can inline them: paths go through them a unit at a time.
    size_type length() const noexcept {
        return isHeap() ? static_cast<size_type>(storage_.heap.end - storage_.heap.buffer) - kHeaderUnits : tag_;
    }
    size_type size() const noexcept { return length(); }
    bool empty() const noexcept { return length() == 0; }
    const Unit* c_str() const noexcept { return chars(); }  // always zero-terminated
    const Unit* data() const noexcept { return c_str(); }
    Unit operator[](size_type pos) const noexcept { return c_str()[pos]; }
    Unit back() const noexcept { return c_str()[length() - 1]; }

    // Introspection for tests of the storage policy.
    bool isInline() const noexcept;
    size_type capacity() const noexcept;             // heap form: units without the terminator; inline: InlineUnits - 1
    std::uint64_t shareCount() const noexcept;       // heap form: the buffer's count; inline: 0
    const void* bufferAddress() const noexcept;      // heap form: the block; inline: nullptr

    // Searching: position of the first/last occurrence, or npos.
    size_type find(Unit unit, size_type pos = 0) const noexcept;
    size_type find(const BasicString& text, size_type pos = 0) const noexcept;
    size_type rfind(Unit unit, size_type pos = npos) const noexcept;
    size_type rfind(const BasicString& text, size_type pos = npos) const noexcept;
    bool contains(const BasicString& text) const noexcept { return find(text) != npos; }
    bool startsWith(const BasicString& text) const noexcept;
    bool endsWith(const BasicString& text) const noexcept;

    // Throws std::out_of_range("basic_string") when pos > length().
    BasicString substr(size_type pos = 0, size_type count = npos) const;

    // Changing operations un-share a shared buffer first. Sources may lie
    // inside the string itself. Allocation failure throws std::bad_alloc and
    // leaves the string as it was.
    BasicString& assign(const Unit* text, size_type count);
    BasicString& assign(const BasicString& other) { return *this = other; }
    // Throws std::out_of_range("basic_string") when pos > other.length().
    BasicString& append(const BasicString& other, size_type pos = 0, size_type count = npos);
    BasicString& append(const Unit* text, size_type count);
    BasicString& append(const Unit* text);
    BasicString& operator+=(const BasicString& other) { return append(other); }
    BasicString& operator+=(const Unit* text) { return append(text); }
    BasicString& operator+=(Unit unit) { return append(&unit, 1); }
    void push_back(Unit unit) { append(&unit, 1); }
    // Inserts [first, last) before `at`, a pointer into this string's own
    // characters; `inside` tells that the range lies inside this string.
    void insert(const Unit* at, const Unit* first, const Unit* last, bool inside);
    void insert(size_type pos, const BasicString& text);
    BasicString& erase(size_type pos, size_type count = npos);
    // Sets the length; added units are left for the caller to fill through
    // mutableData(). Length 0 returns to the empty inline form.
    void resize(size_type length, bool geometric = false);
    // Writable characters; un-shares first.
    Unit* mutableData();
    void clear() noexcept;

    friend bool operator==(const BasicString& a, const BasicString& b) noexcept {
        return a.length() == b.length() && compareUnits(a.c_str(), b.c_str(), a.length()) == 0;
    }
    // Unit-wise lexicographic on unsigned units; a shorter prefix sorts first.
    friend bool operator<(const BasicString& a, const BasicString& b) noexcept {
        const size_type common = a.length() < b.length() ? a.length() : b.length();
        const int c = compareUnits(a.c_str(), b.c_str(), common);
        return c < 0 || (c == 0 && a.length() < b.length());
    }

private:
    static int compareUnits(const Unit* a, const Unit* b, size_type count) noexcept;

    // The heap form: the block, the terminating unit inside it, and the
    // block's units without the terminator (header units included).
    struct Heap {
        Unit* buffer;
        Unit* end;
        size_type capacity;
    };
    union Storage {
        Unit units[InlineUnits];
        Heap heap;
    };
    static_assert(sizeof(Unit) * HeaderUnits == sizeof(std::int64_t), "the count fills the header units");
    static_assert(sizeof(Storage) == 24, "24 bytes of storage in both forms");

    using Count = std::atomic<std::int64_t>;
    static_assert(Count::is_always_lock_free, "buffer counts must be lock-free");

    bool isHeap() const noexcept { return tag_ == kHeapTag; }
    // The first character, in either form.
    Unit* chars() noexcept { return isHeap() ? storage_.heap.buffer + kHeaderUnits : storage_.units; }
    const Unit* chars() const noexcept { return isHeap() ? storage_.heap.buffer + kHeaderUnits : storage_.units; }
    // Whether [first, first + count) touches this string's characters.
    bool overlaps(const Unit* first, size_type count) const noexcept;

    // The count in the header units of a block.
    static Count& countOf(Unit* block) noexcept;
    // Largest capacity whose block size (capacity + 1) fits signed 64 bits.
    static size_type maxCapacity() noexcept;
    // `need` units rounded up by the size table.
    static size_type roundCapacity(size_type need);
    // Capacity for `length` characters, half again larger when geometric.
    static size_type grownCapacity(size_type capacity, size_type length, bool geometric);
    // A block of capacity + 1 units with count 1; throws std::bad_alloc.
    static Unit* allocateBlock(size_type capacity);
    // Drops one reference; the owner of the last one frees the block.
    static void releaseBlock(Unit* block) noexcept;

    // Takes the inline form with `count` (< InlineUnits) characters copied
    // from `text` (which may be this string's own), releasing any buffer.
    void becomeInline(const Unit* text, size_type count) noexcept;
    // Points the heap fields at `block`, which already holds the text.
    void becomeHeap(Unit* block, size_type length, size_type capacity) noexcept;
    // Copies the first `keep` characters into a new private block.
    void moveToBlock(size_type capacity, size_type keep);
    // Heap form with count 1 and room for `newLength` characters; the
    // string is unchanged in value if this throws.
    void makeWritable(size_type newLength, bool geometric);
    // Replaces `removed` units at `pos` by `count` units from `text`.
    void replaceRange(size_type pos, size_type removed, const Unit* text, size_type count, bool geometric);

    std::uint32_t tag_ = 0;
    Storage storage_{};
};

#include "text/BasicStringImpl.h"
