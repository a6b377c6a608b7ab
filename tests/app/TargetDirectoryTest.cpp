// A recorded location as proposed and as compared, a typed one, and the description document's path.
#include <unistd.h>

#include <filesystem>

#include "CaseName.h"
#include "app/InstallerController.h"
#include "launcher/LocationCleaning.h"
#include "launcher/ScratchDirectory.h"

namespace {

// HOME is /home/me for the typed column, where $CWD stands for the working
// directory.
struct DirectoryCase {
    const char* name;
    const char16_t* text;
    const char16_t* sanitized;
    const char16_t* local;
    const char16_t* typed;
    friend void PrintTo(const DirectoryCase& c, std::ostream* out) { *out << c.name; }
};

class DirectoryCleaningTest : public testing::TestWithParam<DirectoryCase> {
protected:
    void SetUp() override { ASSERT_EQ(chdir(env_.root().c_str()), 0); }
    void TearDown() override { ASSERT_EQ(chdir(saved_.c_str()), 0); }
    scratch::Environment env_;  // restores HOME
    std::string saved_ = std::filesystem::current_path();
};

TEST_P(DirectoryCleaningTest, RecordedAndTypedDirectories) {
    setenv("HOME", "/home/me", 1);
    const DirectoryCase& c = GetParam();
    WString sanitized = c.text;
    SanitizeTargetDirectory(sanitized);
    EXPECT_TRUE(sanitized == WString(c.sanitized)) << scratch::Narrow(sanitized);
    EXPECT_TRUE(LocalDirectoryOf(c.text) == WString(c.local)) << scratch::Narrow(LocalDirectoryOf(c.text));
    WString typed = c.typed;
    if (typed.startsWith(u"$CWD")) typed = scratch::Wide(env_.root()) + typed.substr(4);
    EXPECT_TRUE(CleanTypedDirectory(c.text) == typed) << scratch::Narrow(CleanTypedDirectory(c.text));
}

// Remote addresses are never proposed; only a leading "~" component names the home.
INSTANTIATE_TEST_SUITE_P(
    Paths, DirectoryCleaningTest,
    testing::Values(
        DirectoryCase{"plain", u"/home/u/t", u"/home/u/t", u"/home/u/t", u"/home/u/t"},
        DirectoryCase{"http", u"http://server/t", u"", u"", u"$CWD/http://server/t"},
        DirectoryCase{"https inside", u"/mnt/https://x", u"", u"", u"/mnt/https://x"},
        DirectoryCase{"ftp", u"ftp://host/t", u"", u"", u"$CWD/ftp://host/t"},
        DirectoryCase{"scheme in capitals", u"HTTP://server/t", u"HTTP://server/t", u"HTTP://server/t",
                      u"$CWD/HTTP://server/t"},
        DirectoryCase{"file scheme", u"file:///home/u/t", u"/home/u/t", u"/home/u/t", u"$CWD/file:///home/u/t"},
        DirectoryCase{"file scheme inside a word", u"xfile://y", u"xy", u"xy", u"$CWD/xfile://y"},
        DirectoryCase{"only the first file scheme", u"file://a/file://b", u"a/file://b", u"a/file://b",
                      u"$CWD/file://a/file://b"},
        DirectoryCase{"CR LF end", u"/home/u/t\r\n", u"/home/u/t", u"/home/u/t", u"/home/u/t\r\n"},
        DirectoryCase{"line breaks inside", u"/ho\nme/\ru/t", u"/home/u/t", u"/home/u/t", u"/ho\nme/\ru/t"},
        DirectoryCase{"backslashes", u"file:\\\\\\C:\\t\r", u"file:\\\\\\C:\\t", u"/C:/t", u"$CWD/file:///C:/t\r"},
        DirectoryCase{"empty", u"", u"", u"", u""},
        DirectoryCase{"tilde alone", u"~", u"~", u"~", u"/home/me"},
        DirectoryCase{"tilde and a blank", u"~/my templates", u"~/my templates", u"~/my templates",
                      u"/home/me/my templates"},
        DirectoryCase{"tilde and a backslash", u"~\\it's $HOME", u"~\\it's $HOME", u"~/it's $HOME",
                      u"/home/me/it's $HOME"},
        DirectoryCase{"tilde inside", u"/opt/~/t", u"/opt/~/t", u"/opt/~/t", u"/opt/~/t"},
        DirectoryCase{"tilde and a user", u"~user/t", u"~user/t", u"~user/t", u"$CWD/~user/t"},
        DirectoryCase{"tilde last", u"t~", u"t~", u"t~", u"$CWD/t~"},
        DirectoryCase{"tilde after a dot", u"./~", u"./~", u"./~", u"$CWD/~"},
        DirectoryCase{"relative", u"rel\\templates", u"rel\\templates", u"rel/templates", u"$CWD/rel/templates"},
        DirectoryCase{"working directory", u"./.", u"./.", u"./.", u"$CWD"}),
    CaseName<DirectoryCase>);

struct JoinCase {
    const char* name;
    const char16_t* directory;
    const char16_t* document;
    const char16_t* expected;
    friend void PrintTo(const JoinCase& c, std::ostream* out) { *out << c.name; }
};

class DescriptionDocumentPathTest : public testing::TestWithParam<JoinCase> {};

// A kit that names "../../somewhere" does not get to open a file of its choice.
TEST_P(DescriptionDocumentPathTest, JoinsWithOneSeparatorAndStaysInside) {
    EXPECT_TRUE(DescriptionDocumentPath(GetParam().directory, GetParam().document) == WString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DescriptionDocumentPathTest,
    testing::Values(JoinCase{"plain", u"/t", u"docs/readme.html", u"/t/docs/readme.html"},
                    JoinCase{"directory with separator", u"/t/", u"docs/readme.html", u"/t/docs/readme.html"},
                    JoinCase{"document with separator", u"/t", u"/docs/readme.html", u"/t/docs/readme.html"},
                    JoinCase{"backslash in document", u"/t", u"docs\\readme.html", u"/t/docs/readme.html"},
                    JoinCase{"backslashes in directory", u"C:\\t\\", u"readme.html", u"C:/t/readme.html"},
                    JoinCase{"no directory", u"", u"readme.html", u"readme.html"},
                    JoinCase{"no document", u"/t/", u"", u""},
                    JoinCase{"document outside", u"/t/", u"../outside.html", u""},
                    JoinCase{"document outside by backslashes", u"/t/", u"docs\\..\\..\\x.html", u""},
                    JoinCase{"document is a folder", u"/t/", u"docs/", u""}),
    CaseName<JoinCase>);

}  // namespace
