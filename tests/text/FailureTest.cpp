// Failures of string operations: the exceptions they throw and the promise
// that the string is left valid and unchanged, with no buffer leaked.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "text/AllocationProbe.h"
#include "text/TextTestSupport.h"

namespace {

// The kind and text of what `operation` throws.
std::string Thrown(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const std::bad_alloc&) {
        return "bad_alloc";
    } catch (const std::out_of_range& error) {
        return std::string("out_of_range: ") + error.what();
    } catch (const std::length_error& error) {
        return std::string("length_error: ") + error.what();
    }
    return "nothing";
}

// The operation on Letters(length), which shares its buffer with a copy, after
// `successes` allocations that succeed (-1: all do), and what it throws.
const std::tuple<const char*, std::uint64_t, int, void (*)(WString&), const char*> kFailures[] = {
    {"LeavingInlineForm", 11, 0, [](WString& s) { s += u'x'; }, "bad_alloc"},
    {"UnsharingForWrite", 20, 0, [](WString& s) { s.mutableData(); }, "bad_alloc"},
    {"GrowingAfterUnsharing", 12, 1, [](WString& s) { s.append(u"0123456789abcdefghij"); }, "bad_alloc"},
    {"ReplaceAllResult", 20, 1, [](WString& s) { ReplaceAll(s, WString(u"c"), WString(u"CC")); }, "bad_alloc"},
    // Lengths no block can hold are refused before the size arithmetic overflows.
    {"LengthBeyondSigned64", 20, -1, [](WString& s) { s.resize((std::uint64_t{1} << 63) - 4); }, "bad_alloc"},
    {"AppendCountOverflows", 20, -1, [](WString& s) { s.append(u"x", WString::npos - 2); }, "bad_alloc"},
    {"AppendFromBeyondTheOther", 15, -1, [](WString& s) { s.append(Letters(20), 21); }, "out_of_range: basic_string"},
    {"SubstrBeyondTheEnd", 15, -1, [](WString& s) { (void)s.substr(16); }, "out_of_range: basic_string"},
    {"InsertBeyondTheEnd", 15, -1, [](WString& s) { s.insert(16, WString(u"x")); }, "out_of_range: basic_string"},
    {"EraseBeyondTheEnd", 15, -1, [](WString& s) { s.erase(16); }, "out_of_range: basic_string"},
};

TEST(StringFailure, LeavesTheStringUnchangedAndLeaksNothing) {
    for (const auto& [name, length, successes, operation, thrown] : kFailures) {
        SCOPED_TRACE(name);
        const std::int64_t baseline = allocation_probe::LiveBlocks();
        {
            WString text = Letters(length);
            const WString other = text;
            EXPECT_EQ(Thrown([&, successes = successes, operation = operation] {
                          const allocation_probe::FailAfter failing(successes);
                          operation(text);
                      }),
                      thrown);
            EXPECT_EQ(text, Letters(length));
            EXPECT_EQ(text.c_str()[length], u'\0');
            EXPECT_EQ(text.capacity(), other.capacity());
            EXPECT_EQ(other, Letters(length));
        }
        EXPECT_EQ(allocation_probe::LiveBlocks(), baseline) << "a buffer leaked";
    }
}

// ReplaceAll sizes its result with this before it changes anything.
TEST(ReplacedLength, ResultsBeyondTheLongestStringThrowLengthError) {
    constexpr std::uint64_t kLongest = 0x7ffffffffffffffeULL;
    constexpr std::uint64_t k2To32 = std::uint64_t{1} << 32;
    EXPECT_EQ(text_detail::ReplacedLength(kLongest - 4, 1, 2, 4), kLongest);
    EXPECT_EQ(Thrown([] { text_detail::ReplacedLength(kLongest - 4, 1, 2, 5); }), "length_error: basic_string");
    EXPECT_EQ(Thrown([] { text_detail::ReplacedLength(4, 1, ~std::uint64_t{0}, 4); }), "length_error: basic_string");
    EXPECT_EQ(Thrown([] { text_detail::ReplacedLength(1, 1, k2To32, k2To32); }), "length_error: basic_string");
}

}  // namespace
