// What a recorded location names as a local directory, as proposed, probed
// and compared.
#include <gtest/gtest.h>

#include "launcher/LocationCleaning.h"
#include "launcher/TemplateLocations.h"

namespace {

struct CleaningCase {
    const char16_t* recorded;
    const char16_t* sanitized;  // SanitizeTargetDirectory
    const char16_t* local;      // LocalDirectoryOf
};

class LocationCleaningTest : public testing::TestWithParam<CleaningCase> {};

TEST_P(LocationCleaningTest, RemovesRemoteAddressesSchemeAndLineBreaks) {
    WString sanitized = GetParam().recorded;
    SanitizeTargetDirectory(sanitized);
    EXPECT_TRUE(sanitized == WString(GetParam().sanitized));
    EXPECT_TRUE(LocalDirectoryOf(GetParam().recorded) == WString(GetParam().local));
}

INSTANTIATE_TEST_SUITE_P(
    Locations, LocationCleaningTest,
    testing::Values(CleaningCase{u"/home/u/templates", u"/home/u/templates", u"/home/u/templates"},
                    CleaningCase{u"http://server/templates", u"", u""},
                    CleaningCase{u"/mnt/https://x", u"", u""},
                    CleaningCase{u"ftp://host/t", u"", u""},
                    CleaningCase{u"HTTP://server/t", u"HTTP://server/t", u"HTTP://server/t"},
                    CleaningCase{u"file:///home/u/t", u"/home/u/t", u"/home/u/t"},
                    CleaningCase{u"xfile://y", u"xy", u"xy"},
                    CleaningCase{u"file://a/file://b", u"a/file://b", u"a/file://b"},
                    CleaningCase{u"/home/u/t\r\n", u"/home/u/t", u"/home/u/t"},
                    CleaningCase{u"/ho\nme/\ru/t", u"/home/u/t", u"/home/u/t"},
                    CleaningCase{u"file:\\\\\\C:\\t\r", u"file:\\\\\\C:\\t", u"/C:/t"},
                    CleaningCase{u"", u"", u""}));

// Two recorded spellings of one local directory are one location; remote
// ones and ones whose bytes cannot be decoded are told apart by their bytes.
TEST(RemoveDuplicatePathsTest, KeepsTheFirstSpellingOfEachLocation) {
    const auto read = [](const std::string& bytes, const char16_t* text) {
        const bool exact = std::u16string_view(text).find(u'\uFFFD') == std::u16string_view::npos;
        return ConfigValue{WString(text), "K=" + bytes, 2, exact};
    };
    std::vector<ConfigValue> paths = {
        {WString(u"/data/T")},           read("\\data\\t\\", u"\\data\\t\\"), read("file:///DATA/t", u"file:///DATA/t"),
        read("/data/t\r", u"/data/t\r"), {WString(u"http://a")},               {WString(u"HTTP://A/")},
        {WString(u"http://b")},          read("/x\xFF", u"/x\uFFFD"),           read("/x\xFE", u"/x\uFFFD"),
        read("/x\xFE/", u"/x\uFFFD/"),   {WString(u"")},                      read("", u""),
    };
    RemoveDuplicatePaths(paths);
    std::vector<std::string> kept;
    for (const ConfigValue& path : paths) kept.push_back(path.Bytes());
    EXPECT_EQ(kept, (std::vector<std::string>{"/data/T", "http://a", "http://b", "/x\xFF", "/x\xFE", ""}));
}

}  // namespace
