// Failures of string operations: the exceptions they throw and the promise
// that the string is left valid and unchanged, with no buffer leaked.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

#include "text/AllocationProbe.h"
#include "text/Convert.h"
#include "text/TextTestSupport.h"
#include "text/WString.h"

namespace {

using allocation_probe::FailAfter;
using allocation_probe::LiveBlocks;

struct AllocationFailure {
    const char* name;
    std::function<WString()> make;         // the string before the operation
    int successes;                          // allocations allowed to succeed
    std::function<void(WString&)> operation;
};

class FailedAllocation : public ::testing::TestWithParam<AllocationFailure> {};

TEST_P(FailedAllocation, LeavesTheStringUnchanged) {
    const AllocationFailure& c = GetParam();
    const std::int64_t baseline = LiveBlocks();
    {
        WString text = c.make();
        const WString other = text;  // shares a heap buffer, if any
        const WString expected(text.c_str(), text.length());
        const std::uint64_t capacity = text.capacity();
        {
            const FailAfter failing(c.successes);
            EXPECT_THROW(c.operation(text), std::bad_alloc);
        }
        EXPECT_EQ(text, expected);
        EXPECT_EQ(text.c_str()[text.length()], u'\0');
        EXPECT_EQ(other, expected);
        if (c.successes == 0) {
            EXPECT_EQ(text.capacity(), capacity);
        }
        text += u"still usable";
        EXPECT_TRUE(text.endsWith(WString(u"still usable")));
    }
    EXPECT_EQ(LiveBlocks(), baseline) << "a buffer leaked";
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FailedAllocation,
    ::testing::Values(
        AllocationFailure{"LeavingInlineForm", [] { return Letters(11); }, 0, [](WString& s) { s += u'x'; }},
        AllocationFailure{"GrowingSharedBuffer", [] { return Letters(12); }, 0, [](WString& s) { s += u"xyz"; }},
        // Un-sharing succeeds, the growth after it fails.
        AllocationFailure{"GrowingAfterUnsharing", [] { return Letters(12); }, 1,
                          [](WString& s) { s.append(Letters(30)); }},
        AllocationFailure{"UnsharingForWrite", [] { return Letters(20); }, 0, [](WString& s) { s.mutableData(); }},
        AllocationFailure{"AssignLonger", [] { return Letters(3); }, 0, [](WString& s) { s = Letters(40); }},
        AllocationFailure{"AppendOwnCharacters", [] { return Letters(20); }, 0,
                          [](WString& s) { s.append(s.c_str(), s.length()); }},
        AllocationFailure{"InsertOwnRange", [] { return Letters(20); }, 0,
                          [](WString& s) { s.insert(s.c_str() + 1, s.c_str(), s.c_str() + 15, true); }},
        AllocationFailure{"ReplaceAllLonger", [] { return WString(u"a\\b\\c\\d\\e\\f"); }, 0,
                          [](WString& s) { ReplaceAll(s, WString(u"\\"), WString(u"\\\\")); }},
        AllocationFailure{"ReplaceAllResult", [] { return WString(u"a\\b\\c\\d\\e\\f"); }, 1,
                          [](WString& s) { ReplaceAll(s, WString(u"\\"), WString(u"\\\\")); }},
        AllocationFailure{"ReplaceAllSameLengthShared", [] { return Letters(20); }, 0,
                          [](WString& s) { ReplaceAll(s, WString(u"c"), WString(u"C")); }},
        AllocationFailure{"LengthBeyondSigned64", [] { return Letters(20); }, -1,
                          [](WString& s) { s.resize((std::uint64_t{1} << 63) - 4); }},
        AllocationFailure{"LargestAllocationRefused", [] { return Letters(20); }, -1,
                          [](WString& s) { s.resize((std::uint64_t{1} << 63) - 6); }},
        AllocationFailure{"AppendCountOverflows", [] { return Letters(20); }, -1,
                          [](WString& s) { s.append(u"x", WString::npos - 2); }},
        AllocationFailure{"ResizeToNpos", [] { return Letters(5); }, -1, [](WString& s) { s.resize(WString::npos); }}),
    [](const ::testing::TestParamInfo<AllocationFailure>& info) { return std::string(info.param.name); });

TEST(AllocationFailure, SoleOwnerKeepsItsBufferWhenGrowthFails) {
    WString text = Letters(12);
    const void* block = text.bufferAddress();
    {
        const FailAfter failing(0);
        EXPECT_THROW(text.append(Letters(5)), std::bad_alloc);
    }
    EXPECT_EQ(text.bufferAddress(), block);
    EXPECT_EQ(text.capacity(), 16u);
    EXPECT_EQ(text.shareCount(), 1u);
    EXPECT_EQ(text, Letters(12));
}

TEST(AllocationFailure, ConcatenationAndConversionPassTheFailureOn) {
    const std::int64_t baseline = LiveBlocks();
    {
        const WString left = Letters(10);
        const FailAfter failing(0);
        EXPECT_THROW(left + Letters(5).c_str(), std::bad_alloc);
        EXPECT_THROW(WString(Letters(5).c_str(), 5) + left, std::bad_alloc);
    }
    {
        const WString text = Letters(30);
        const FailAfter failing(0);
        EXPECT_THROW(ToAString(text), std::bad_alloc);
    }
    EXPECT_EQ(LiveBlocks(), baseline);
}

void ExpectBasicStringMessage(const std::function<void()>& operation) {
    try {
        operation();
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "basic_string");
    }
}

TEST(OutOfRange, AppendPositionBeyondTheOtherString) {
    WString text(u"abc");
    const WString other = Letters(20);
    text.append(other, 20);
    EXPECT_EQ(text, WString(u"abc"));
    text.append(other, 19, 5);
    EXPECT_EQ(text, WString(u"abct"));
    ExpectBasicStringMessage([&] { text.append(other, 21); });
    EXPECT_EQ(text, WString(u"abct"));
    ExpectBasicStringMessage([&] { text.append(text, 5); });
    EXPECT_EQ(text, WString(u"abct"));
}

TEST(OutOfRange, PositionsBeyondTheString) {
    WString text = Letters(15);
    ExpectBasicStringMessage([&] { (void)text.substr(16); });
    ExpectBasicStringMessage([&] { text.insert(16, WString(u"x")); });
    ExpectBasicStringMessage([&] { text.erase(16); });
    EXPECT_EQ(text, Letters(15));
}

struct LengthCase {
    std::uint64_t text;
    std::uint64_t what;
    std::uint64_t with;
    std::uint64_t matches;
    std::uint64_t expected;  // 0 with `throws`
    bool throws;
};

void PrintTo(const LengthCase& c, std::ostream* out) {
    *out << c.matches << " x (" << c.what << " -> " << c.with << ") in " << c.text;
}

class ReplacedLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ReplacedLength, LimitsTheResult) {
    const LengthCase& c = GetParam();
    if (!c.throws) {
        EXPECT_EQ(text_detail::ReplacedLength(c.text, c.what, c.with, c.matches), c.expected);
        return;
    }
    try {
        text_detail::ReplacedLength(c.text, c.what, c.with, c.matches);
        ADD_FAILURE() << "no exception";
    } catch (const std::length_error& error) {
        EXPECT_STREQ(error.what(), "basic_string");
    }
}

constexpr std::uint64_t kLongest = 0x7ffffffffffffffeULL;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplacedLength,
    ::testing::Values(LengthCase{10, 1, 2, 5, 15, false}, LengthCase{10, 2, 1, 5, 5, false},
                      LengthCase{10, 3, 3, 3, 10, false}, LengthCase{kLongest - 4, 1, 2, 4, kLongest, false},
                      LengthCase{kLongest - 4, 1, 2, 5, 0, true}, LengthCase{8, 1, std::uint64_t{1} << 62, 2, 0, true},
                      LengthCase{4, 1, ~std::uint64_t{0}, 4, 0, true},
                      LengthCase{1, 1, std::uint64_t{1} << 32, std::uint64_t{1} << 32, 0, true}));

}  // namespace
