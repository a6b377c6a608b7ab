// The joining of the description document's path and the typed home directory.
#include <gtest/gtest.h>

#include "app/InstallerDlg.h"
#include "launcher/ScratchDirectory.h"

namespace {

struct JoinCase {
    const char16_t* directory;
    const char16_t* name;
    const char16_t* expected;
};

class DescriptionDocumentPathTest : public testing::TestWithParam<JoinCase> {};

TEST_P(DescriptionDocumentPathTest, JoinsWithOneSeparatorAndStaysInside) {
    EXPECT_TRUE(DescriptionDocumentPath(GetParam().directory, GetParam().name) == WString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DescriptionDocumentPathTest,
    testing::Values(JoinCase{u"/t", u"docs/readme.html", u"/t/docs/readme.html"},
                    JoinCase{u"/t/", u"docs/readme.html", u"/t/docs/readme.html"},
                    JoinCase{u"/t", u"/docs/readme.html", u"/t/docs/readme.html"},
                    JoinCase{u"/t", u"docs\\readme.html", u"/t/docs/readme.html"},
                    JoinCase{u"C:\\t\\", u"readme.html", u"C:/t/readme.html"},
                    JoinCase{u"", u"readme.html", u"readme.html"},
                    JoinCase{u"/t/", u"", u""},
                    JoinCase{u"/t/", u"../outside.html", u""},
                    JoinCase{u"/t/", u"docs\\..\\..\\x.html", u""},
                    JoinCase{u"/t/", u"docs/", u""}));

// A typed directory (the directory page, or -D): backslashes become "/", and
// only a leading "~" component names the home directory.
TEST(CleanTypedDirectoryTest, OnlyALeadingTildeComponentNamesTheHome) {
    scratch::Environment env;  // HOME points at a scratch directory
    const WString home = scratch::Wide(env.home());
    const struct {
        const char16_t* typed;
        WString cleaned;
    } cases[] = {
        {u"~", home},
        {u"~/my templates", home + u"/my templates"},
        {u"~\\it's $HOME", home + u"/it's $HOME"},
        {u"C:\\data\\tmpl", u"C:/data/tmpl"},
        {u"/opt/~/t", u"/opt/~/t"},
        {u"~user/t", u"~user/t"},
        {u"t~", u"t~"},
        {u"", u""},
        {u"./~", u"./~"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(CleanTypedDirectory(c.typed) == c.cleaned) << scratch::Narrow(c.typed);
    }
}

}  // namespace
