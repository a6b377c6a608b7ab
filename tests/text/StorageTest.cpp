// The storage policy of the string types: inline and heap forms,
// copy-on-write sharing and sources inside the string itself.
#include <gtest/gtest.h>

#include "text/AllocationProbe.h"
#include "text/TextTestSupport.h"

namespace {

// Changes applied to Letters(14), "abcdefghijklmn", a heap string.
struct Change {
    const char* name;
    void (*apply)(WString&);
    const char16_t* expected;
};

// Makes the zero units that resizing added visible in a comparison.
void ZerosToDigits(WString& s) { ReplaceAll(s, WString(u"\0", 1), WString(u"0")); }

const Change kChanges[] = {
    {"Append", [](WString& s) { s += u"tail"; }, u"abcdefghijklmntail"},
    {"Erase", [](WString& s) { s.erase(3, 1); }, u"abcefghijklmn"},
    {"AppendPartOfAnother", [](WString& s) { s.append(Letters(20), 19, 5); }, u"abcdefghijklmnt"},
    {"ResizeShorter", [](WString& s) { s.resize(12); }, u"abcdefghijkl"},
    {"ResizeZeroesAddedUnits", [](WString& s) { s.resize(12); s.resize(14); ZerosToDigits(s); }, u"abcdefghijkl00"},
    {"ReplaceSameLength", [](WString& s) { ReplaceAll(s, WString(u"c"), WString(u"C")); }, u"abCdefghijklmn"},
    // Sources inside the string itself.
    {"AssignOwnHead", [](WString& s) { s.assign(s.c_str(), 12); }, u"abcdefghijkl"},
    {"AssignOwnTailToInline", [](WString& s) { s.assign(s.c_str() + 4, 10); }, u"efghijklmn"},
    {"AppendSelf", [](WString& s) { s.append(s.c_str(), s.length()); }, u"abcdefghijklmnabcdefghijklmn"},
    {"AppendSelfLeavingInline", [](WString& s) { s.resize(6); s.append(s.c_str(), 6); }, u"abcdefabcdef"},
    {"InsertSelf", [](WString& s) { s.insert(s.data() + 2, s.data(), s.data() + 4, true); }, u"ababcdcdefghijklmn"},
    {"ReplaceAllWithItself", [](WString& s) { ReplaceAll(s, WString(u"n"), s); }, u"abcdefghijklmabcdefghijklmn"},
    {"ReplaceAllOfItself", [](WString& s) { ReplaceAll(s, s, WString(u"x")); }, u"x"},
    // Below the tag value the string returns to the inline form.
    {"ResizeToInline", [](WString& s) { s.resize(11); }, u"abcdefghijk"},
    {"EraseToInline", [](WString& s) { s.erase(2); }, u"ab"},
    {"ReplaceAllToInline", [](WString& s) { ReplaceAll(s, WString(u"bcdefghijklm"), WString(u"-")); }, u"a-n"},
    {"Clear", [](WString& s) { s.clear(); }, u""},
};

TEST(CopyOnWrite, ChangingACopyLeavesTheOriginalAndTheLastOwnerFreesTheBuffer) {
    for (const Change& c : kChanges) {
        SCOPED_TRACE(c.name);
        WString original = Letters(14);
        WString copy = original;
        EXPECT_EQ(copy.bufferAddress(), original.bufferAddress());
        c.apply(copy);
        EXPECT_EQ(copy, WString(c.expected));
        EXPECT_EQ(copy.isInline(), copy.length() < 12);
        EXPECT_EQ(copy.shareCount(), copy.isInline() ? 0u : 1u);
        EXPECT_EQ(original, Letters(14));
        EXPECT_EQ(original.shareCount(), 1u);
        // The same change by the buffer's only owner; the inline form frees the buffer.
        const std::int64_t before = allocation_probe::LiveBlocks();
        c.apply(original);
        EXPECT_EQ(original, copy);
        EXPECT_EQ(allocation_probe::LiveBlocks(), before - (copy.isInline() ? 1 : 0));
    }
}

TEST(StringOrder, AStringSortsByUnsignedBytesWithAShorterPrefixFirst) {
    for (const auto& [low, high] : {std::pair{"IDS_A", "IDS_B"}, {"ab", "abc"}, {"", "a"}, {"\x7f", "\x80"}}) {
        EXPECT_TRUE(AString(low) < AString(high)) << low << " < " << high;
        EXPECT_FALSE(AString(high) < AString(low)) << high << " < " << low;
    }
    EXPECT_FALSE(AString("abc") < AString("abc"));
}

}  // namespace
