// The shortcut for a kit entry's name in ASCII gives exactly the bytes the
// full conversion gives, and leaves every other name to it.
#include <gtest/gtest.h>

#include <string>

#include "platform/SystemPath.h"
#include "text/Convert.h"

namespace {

TEST(SystemPath, AnAsciiEntryNameIsTheBytesTheConversionGives) {
    // (the entry's name, whether the shortcut takes it)
    const std::pair<std::u16string, bool> kCases[] = {
        {u"plain.tpl", true},
        {u"forms\\invoice.tpl", true},
        {u"a/b\\c d\\100%.tpl", true},
        {u"~$&'\"`;|*?\x7f", true},
        {u"", true},
        {u"\x80", false},
        {u"Отчёт.tpl", false},
        {u"a\\\u00e9", false},
        {std::u16string(u"a\0b", 3), false},
    };
    for (const auto& [units, taken] : kCases) {
        const WString name(units.data(), units.size());
        std::string shortcut = "untouched";
        ASSERT_EQ(AsciiEntryPath(name, &shortcut), taken) << ToAString(name).c_str();
        if (!taken) {
            EXPECT_EQ(shortcut, "untouched");
            continue;
        }
        WString slashed = name;
        ReplaceAll(slashed, u"\\", u"/");
        AString converted;
        ASSERT_TRUE(ToSystemPath(slashed, &converted));
        EXPECT_EQ(shortcut, std::string(converted.c_str(), converted.size()));
    }
}

}  // namespace
