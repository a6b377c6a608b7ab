// The storage policy of the string types: inline and heap forms, capacity
// growth, copy-on-write sharing and sources inside the string itself.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "text/AllocationProbe.h"
#include "text/TextTestSupport.h"
#include "text/WString.h"

namespace {

// ---- layout ---------------------------------------------------------------

TEST(StringLayout, TagAndStorageFitInThirtyTwoBytes) {
    EXPECT_EQ(sizeof(WString), 32u);
    EXPECT_EQ(sizeof(AString), 32u);
    EXPECT_EQ(WString::kHeapTag, 12u);
    EXPECT_EQ(AString::kHeapTag, 24u);
}

TEST(StringLayout, LongestInlineTextsStayInline) {
    const WString eleven = Letters(11);
    EXPECT_TRUE(eleven.isInline());
    EXPECT_EQ(eleven.capacity(), 11u);
    EXPECT_EQ(eleven.c_str()[11], u'\0');
    EXPECT_FALSE(Letters(12).isInline());
    EXPECT_TRUE(ALetters(23).isInline());
    EXPECT_FALSE(ALetters(24).isInline());
}

TEST(StringLayout, DefaultIsEmptyAndTerminated) {
    const WString empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(empty.isInline());
    EXPECT_EQ(empty.c_str()[0], u'\0');
    EXPECT_EQ(empty.bufferAddress(), nullptr);
    EXPECT_EQ(empty.shareCount(), 0u);
}

TEST(StringLayout, HeapTextKeepsHeaderBeforeCharacters) {
    const WString text = Letters(20);
    // The count fills the first 8 bytes of the block; the characters follow.
    EXPECT_EQ(static_cast<const void*>(text.c_str()),
              static_cast<const char*>(text.bufferAddress()) + 8);
    EXPECT_EQ(text.capacity(), 24u);  // exactly 20 + 4 header units
    EXPECT_EQ(text.c_str()[20], u'\0');
}

// ---- capacity growth ------------------------------------------------------

struct GrowthCase {
    const char* name;
    std::uint64_t startLength;   // heap string built exactly for this length
    std::uint64_t finalLength;   // reached by the operation below
    bool geometric;              // append (true) or resize without the flag
    std::uint64_t expectedCapacity;
};

class WStringGrowth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(WStringGrowth, CapacityFollowsTheRoundingTable) {
    const GrowthCase& c = GetParam();
    WString text = Letters(c.startLength);
    if (c.geometric) {
        text.append(Letters(c.finalLength - c.startLength));
    } else {
        text.resize(c.finalLength);
    }
    EXPECT_EQ(text.length(), c.finalLength);
    EXPECT_EQ(text.capacity(), c.expectedCapacity);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, WStringGrowth,
    ::testing::Values(
        // Leaving the inline form: exact, no rounding.
        GrowthCase{"ElevenPlusOne", 11, 12, true, 16}, GrowthCase{"InlineToLong", 3, 125, false, 129},
        // Half again: need 17, 16 + 8 = 24 units, 48 bytes.
        GrowthCase{"TwelvePlusOne", 12, 13, true, 24},
        // 129 units with the header are 258 bytes: multiple of 16 -> 272.
        GrowthCase{"Request258Bytes", 12, 125, false, 136},
        // 8200 bytes: multiple of 512 -> 8704 bytes.
        GrowthCase{"Request8200Bytes", 12, 4096, false, 4352},
        // 20000 bytes are taken unchanged.
        GrowthCase{"Request20000Bytes", 12, 9996, false, 10000},
        // Half again wins over a small need: 100 + 50 = 150 units, 300 bytes -> 304.
        GrowthCase{"HalfAgainRounded", 96, 97, true, 152},
        // A large need wins over half again.
        GrowthCase{"NeedWins", 12, 40, true, 44}),
    [](const ::testing::TestParamInfo<GrowthCase>& info) { return std::string(info.param.name); });

// AString units are bytes, so sizes map straight onto the table's rows.
class AStringRounding : public ::testing::TestWithParam<std::pair<std::uint64_t, std::uint64_t>> {};

TEST_P(AStringRounding, RequestedBytesRoundUp) {
    const auto [requestBytes, expectedBytes] = GetParam();
    AString text = ALetters(24);  // heap, capacity 32
    text.resize(requestBytes - AString::kHeaderUnits);
    EXPECT_EQ(text.capacity(), expectedBytes) << "request of " << requestBytes << " bytes";
}

INSTANTIATE_TEST_SUITE_P(
    Table, AStringRounding,
    ::testing::Values(std::pair<std::uint64_t, std::uint64_t>{33, 40}, std::pair<std::uint64_t, std::uint64_t>{256, 256},
                      std::pair<std::uint64_t, std::uint64_t>{257, 272}, std::pair<std::uint64_t, std::uint64_t>{512, 512},
                      std::pair<std::uint64_t, std::uint64_t>{513, 544}, std::pair<std::uint64_t, std::uint64_t>{1023, 1024},
                      std::pair<std::uint64_t, std::uint64_t>{1025, 1088}, std::pair<std::uint64_t, std::uint64_t>{2047, 2048},
                      std::pair<std::uint64_t, std::uint64_t>{2049, 2176}, std::pair<std::uint64_t, std::uint64_t>{4095, 4096},
                      std::pair<std::uint64_t, std::uint64_t>{4097, 4352}, std::pair<std::uint64_t, std::uint64_t>{8191, 8192},
                      std::pair<std::uint64_t, std::uint64_t>{8193, 8704}, std::pair<std::uint64_t, std::uint64_t>{16383, 16384},
                      std::pair<std::uint64_t, std::uint64_t>{16384, 16384},
                      std::pair<std::uint64_t, std::uint64_t>{16385, 16385}));

TEST(StringGrowth, AStringLeavesInlineFormExactlyThenGrowsByHalf) {
    AString text = ALetters(23);
    text += 'x';
    EXPECT_EQ(text.capacity(), 32u);
    text += 'y';
    EXPECT_EQ(text.capacity(), 48u);  // need 33, half again 48
}

TEST(StringGrowth, GeometricResizeUsesHalfAgain) {
    WString text = Letters(12);  // capacity 16
    text.resize(13, true);
    EXPECT_EQ(text.capacity(), 24u);
    WString exact = Letters(12);
    exact.resize(13);
    EXPECT_EQ(exact.capacity(), 20u);  // 17 units, 34 bytes -> 40 bytes
    exact.resize(21);
    EXPECT_EQ(exact.capacity(), 28u);  // 25 units -> 56 bytes
}

TEST(StringGrowth, RoomInTheBufferIsReusedWithoutReallocation) {
    WString text = Letters(12);
    text += u'x';  // capacity 24
    const void* block = text.bufferAddress();
    text.append(Letters(7));
    EXPECT_EQ(text.bufferAddress(), block);
    EXPECT_EQ(text.capacity(), 24u);
    EXPECT_EQ(text.length(), 20u);
}

TEST(StringGrowth, ConcatenationIsSizedExactly) {
    EXPECT_EQ((Letters(10) + Letters(10)).capacity(), 24u);
    EXPECT_EQ((Letters(7) + u"abcdefg").capacity(), 18u);
    EXPECT_TRUE((Letters(5) + Letters(6)).isInline());
    EXPECT_EQ((ALetters(20) + "abcd").capacity(), 32u);
    EXPECT_TRUE((ALetters(20) + "abc").isInline());
    EXPECT_EQ(Letters(7) + Letters(7), WString(u"abcdefgabcdefg"));
    EXPECT_EQ(AString("ab") + AString("cd"), AString("abcd"));
}

// ---- copy-on-write --------------------------------------------------------

TEST(CopyOnWrite, CopiesShareOneBuffer) {
    const WString original = Letters(30);
    const WString copy = original;  // NOLINT(performance-unnecessary-copy-initialization)
    EXPECT_EQ(copy.bufferAddress(), original.bufferAddress());
    EXPECT_EQ(original.shareCount(), 2u);
    {
        WString third;
        third = copy;
        EXPECT_EQ(original.shareCount(), 3u);
    }
    EXPECT_EQ(original.shareCount(), 2u);
}

struct Mutation {
    const char* name;
    std::function<void(WString&)> apply;
};

class CopyOnWriteMutation : public ::testing::TestWithParam<Mutation> {};

TEST_P(CopyOnWriteMutation, ChangingACopyLeavesTheOriginal) {
    const WString original = Letters(30);
    const WString snapshot(original.c_str(), original.length());
    WString copy = original;
    GetParam().apply(copy);
    EXPECT_EQ(original, snapshot);
    EXPECT_EQ(original.shareCount(), 1u);
    EXPECT_NE(copy, original);
    if (!copy.isInline()) {
        EXPECT_NE(copy.bufferAddress(), original.bufferAddress());
        EXPECT_EQ(copy.shareCount(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, CopyOnWriteMutation,
    ::testing::Values(Mutation{"Append", [](WString& s) { s += u"tail"; }},
                      Mutation{"AssignLong", [](WString& s) { s.assign(Letters(20).c_str() + 1, 14); }},
                      Mutation{"AssignShort", [](WString& s) { s = u"short"; }},
                      Mutation{"InsertFront", [](WString& s) { s.insert(0, WString(u"head")); }},
                      Mutation{"Erase", [](WString& s) { s.erase(3, 4); }},
                      Mutation{"ResizeShorter", [](WString& s) { s.resize(20); }},
                      Mutation{"ResizeToInline", [](WString& s) { s.resize(4); }},
                      Mutation{"WriteThroughMutableData", [](WString& s) { s.mutableData()[0] = u'Z'; }},
                      Mutation{"ReplaceSameLength", [](WString& s) { ReplaceAll(s, WString(u"c"), WString(u"C")); }},
                      Mutation{"ReplaceLonger", [](WString& s) { ReplaceAll(s, WString(u"c"), WString(u"CC")); }},
                      Mutation{"Clear", [](WString& s) { s.clear(); }}),
    [](const ::testing::TestParamInfo<Mutation>& info) { return std::string(info.param.name); });

TEST(CopyOnWrite, UnsharingCopiesToExactSize) {
    WString text = Letters(12);
    text += u'x';  // capacity 24, length 13
    WString copy = text;
    copy.mutableData();
    EXPECT_EQ(copy.capacity(), 17u);
    EXPECT_EQ(text.capacity(), 24u);
}

TEST(CopyOnWrite, SoleOwnerChangesInPlace) {
    WString text = Letters(30);
    const void* block = text.bufferAddress();
    text.mutableData()[0] = u'Z';
    text.erase(0, 1);
    EXPECT_EQ(text.bufferAddress(), block);
}

TEST(CopyOnWrite, MoveLeavesSourceEmptyAndKeepsTheBuffer) {
    WString source = Letters(30);
    const void* block = source.bufferAddress();
    WString target(std::move(source));
    EXPECT_EQ(target.bufferAddress(), block);
    EXPECT_EQ(target.shareCount(), 1u);
    EXPECT_TRUE(source.empty());  // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(source.isInline());
    WString other = Letters(3);
    other = std::move(target);
    EXPECT_EQ(other.bufferAddress(), block);
}

TEST(CopyOnWrite, SelfAssignmentChangesNothing) {
    WString text = Letters(30);
    const WString& alias = text;
    text = alias;
    EXPECT_EQ(text.shareCount(), 1u);
    EXPECT_EQ(text, Letters(30));
}

// ---- inline/heap transitions ------------------------------------------------

struct Shrink {
    const char* name;
    std::function<void(WString&)> apply;
    const char16_t* expected;
};

class ReturnToInline : public ::testing::TestWithParam<Shrink> {};

TEST_P(ReturnToInline, SoleBufferIsFreed) {
    WString text = Letters(40);
    const std::int64_t before = allocation_probe::LiveBlocks();
    GetParam().apply(text);
    EXPECT_TRUE(text.isInline());
    EXPECT_EQ(text, WString(GetParam().expected));
    EXPECT_EQ(text.c_str()[text.length()], u'\0');
    EXPECT_EQ(allocation_probe::LiveBlocks(), before - 1);
}

TEST_P(ReturnToInline, SharedBufferIsOnlyReleased) {
    WString text = Letters(40);
    const WString keeper = text;
    GetParam().apply(text);
    EXPECT_TRUE(text.isInline());
    EXPECT_EQ(keeper.shareCount(), 1u);
    EXPECT_EQ(keeper, Letters(40));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ReturnToInline,
    ::testing::Values(Shrink{"AssignFive", [](WString& s) { s.assign(u"12345", 5); }, u"12345"},
                      Shrink{"Resize", [](WString& s) { s.resize(11); }, u"abcdefghijk"},
                      Shrink{"ResizeToZero", [](WString& s) { s.resize(0); }, u""},
                      Shrink{"Erase", [](WString& s) { s.erase(2); }, u"ab"},
                      Shrink{"ReplaceAll",
                             [](WString& s) {
                                 s = Letters(26);
                                 ReplaceAll(s, WString(u"bcdefghijklmnopqrstuvwxy"), WString(u"-"));
                             },
                             u"a-z"},
                      Shrink{"Clear", [](WString& s) { s.clear(); }, u""}),
    [](const ::testing::TestParamInfo<Shrink>& info) { return std::string(info.param.name); });

TEST(StringTransitions, AStringReturnsToInlineBelowTwentyFour) {
    AString text = ALetters(30);
    text.resize(23);
    EXPECT_TRUE(text.isInline());
    EXPECT_EQ(text, AString("abcdefghijklmnopqrstuvw"));
    text.resize(24);
    EXPECT_FALSE(text.isInline());
    EXPECT_EQ(text.capacity(), 32u);
}

TEST(StringTransitions, ResizeKeepsPrefixAndTerminates) {
    WString text(u"abc");
    text.resize(14);
    EXPECT_EQ(text.length(), 14u);
    EXPECT_EQ(WString(text.c_str()), WString(u"abc"));  // added units are zero
    EXPECT_EQ(text.c_str()[14], u'\0');
    text.resize(2);
    EXPECT_EQ(text, WString(u"ab"));
}

// ---- sources inside the string itself ---------------------------------------

TEST(SelfOverlap, AssignSecondHalf) {
    for (const std::uint64_t length : {8u, 22u, 40u}) {
        WString text = Letters(length);
        const WString half(text.c_str() + length / 2, length - length / 2);
        text.assign(text.c_str() + length / 2, length - length / 2);
        EXPECT_EQ(text, half) << "length " << length;
    }
}

TEST(SelfOverlap, AssignFirstPartOfSharedBuffer) {
    WString text = Letters(40);
    const WString keeper = text;
    text.assign(text.c_str(), 30);
    EXPECT_EQ(text, Letters(30));
    EXPECT_EQ(keeper, Letters(40));
}

TEST(SelfOverlap, AppendOwnCharacters) {
    // Inline to heap, heap with reallocation, heap with room to spare.
    for (const std::uint64_t length : {6u, 20u}) {
        WString text = Letters(length);
        text.append(text.c_str(), length);
        EXPECT_EQ(text, Letters(length) + Letters(length)) << "length " << length;
    }
    WString roomy = Letters(12);
    roomy.append(Letters(20));
    roomy.resize(13);  // the buffer keeps its room
    const WString before(roomy.c_str(), roomy.length());
    const void* block = roomy.bufferAddress();
    roomy.append(roomy.c_str() + 1, 12);
    EXPECT_EQ(roomy.bufferAddress(), block);
    EXPECT_EQ(roomy, before + WString(before.c_str() + 1));
}

TEST(SelfOverlap, AppendWholeSelfAndPart) {
    WString text = Letters(12);
    text += text;
    EXPECT_EQ(text, Letters(12) + Letters(12));
    AString bytes("abc");
    bytes.append(bytes, 1, 1);
    EXPECT_EQ(bytes, AString("abcb"));
    bytes.append(bytes.c_str());
    EXPECT_EQ(bytes, AString("abcbabcb"));
}

TEST(SelfOverlap, InsertOwnRangeInTheMiddle) {
    for (const std::uint64_t length : {6u, 20u}) {
        const WString original = Letters(length);
        WString text = original;
        text.insert(text.c_str() + 2, text.c_str(), text.c_str() + length, true);
        const WString expected = original.substr(0, 2) + original + original.substr(2);
        EXPECT_EQ(text, expected) << "length " << length;
        EXPECT_EQ(original, Letters(length));
    }
}

TEST(SelfOverlap, InsertSelfAtPosition) {
    WString text(u"xyz");
    text.insert(1, text);
    EXPECT_EQ(text, WString(u"xxyzyz"));
}

// ---- reading ---------------------------------------------------------------

TEST(StringSearch, FindAndRfind) {
    const WString path(u"/home/user/file.txt");
    EXPECT_EQ(path.find(u'/'), 0u);
    EXPECT_EQ(path.find(u'/', 1), 5u);
    EXPECT_EQ(path.rfind(u'/'), 10u);
    EXPECT_EQ(path.rfind(u'/', 9), 5u);
    EXPECT_EQ(path.find(u'#'), WString::npos);
    EXPECT_EQ(path.find(WString(u"user")), 6u);
    EXPECT_EQ(path.find(WString(u"user"), 7), WString::npos);
    EXPECT_EQ(path.rfind(WString(u"e")), 14u);
    EXPECT_EQ(path.rfind(WString(u"e"), 13), 8u);
    EXPECT_EQ(path.rfind(WString(u"txt"), WString::npos), 16u);
    EXPECT_EQ(path.find(WString()), 0u);
    EXPECT_EQ(path.find(WString(), 40), WString::npos);
    EXPECT_EQ(WString().rfind(u'a'), WString::npos);
    EXPECT_TRUE(path.startsWith(WString(u"/home")));
    EXPECT_TRUE(path.endsWith(WString(u".txt")));
    EXPECT_FALSE(path.endsWith(WString(u"x/home/user/file.txt")));
    EXPECT_TRUE(path.contains(WString(u"file")));
}

TEST(StringSearch, Substr) {
    const WString path(u"/home/user/file.txt");
    EXPECT_EQ(path.substr(11), WString(u"file.txt"));
    EXPECT_EQ(path.substr(0, 5), WString(u"/home"));
    EXPECT_EQ(path.substr(19), WString());
    EXPECT_THROW(path.substr(20), std::out_of_range);
}

TEST(StringOrdering, AStringIsBytewiseUnsigned) {
    EXPECT_LT(AString("IDS_A"), AString("IDS_B"));
    EXPECT_LT(AString("ab"), AString("abc"));
    EXPECT_LT(AString(""), AString("a"));
    EXPECT_LT(AString("\x7f"), AString("\x80"));
    EXPECT_FALSE(AString("abc") < AString("abc"));
    EXPECT_FALSE(AString("abd") < AString("abc"));
    EXPECT_FALSE(AString("abc") < AString("ab"));
    EXPECT_LT(ALetters(30), ALetters(31));
}

TEST(StringEquality, ComparesLengthAndUnits) {
    EXPECT_EQ(WString(u"ab\0c", 4), WString(u"ab\0c", 4));
    EXPECT_NE(WString(u"ab\0c", 4), WString(u"ab"));
    EXPECT_NE(WString(u"abc"), WString(u"abd"));
}

}  // namespace
