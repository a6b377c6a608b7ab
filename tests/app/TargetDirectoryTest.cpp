// A recorded location as proposed and as compared, a typed one, and the description document's path.
#include <filesystem>

#include "app/InstallerController.h"
#include "launcher/LocationCleaning.h"
#include "launcher/ScratchDirectory.h"

namespace {

// Remote addresses are never proposed; only a leading "~" component names the home.
TEST(DirectoryCleaning, RecordedAndTypedDirectories) {
    struct Case {
        const char* name;
        const char16_t* text;
        const char16_t* sanitized;
        const char16_t* local;
        const char16_t* typed;  // HOME is /home/me, and $CWD stands for the working directory
    };
    const Case cases[] = {
        {"http", u"http://server/t", u"", u"", u"$CWD/http://server/t"},
        {"https inside", u"/mnt/https://x", u"", u"", u"/mnt/https://x"},
        {"ftp", u"ftp://host/t", u"", u"", u"$CWD/ftp://host/t"},
        {"scheme in capitals", u"HTTP://server/t", u"HTTP://server/t", u"HTTP://server/t", u"$CWD/HTTP://server/t"},
        {"file scheme", u"file:///home/u/t", u"/home/u/t", u"/home/u/t", u"$CWD/file:///home/u/t"},
        {"file scheme inside a word", u"xfile://y", u"xy", u"xy", u"$CWD/xfile://y"},
        {"only the first file scheme", u"file://a/file://b", u"a/file://b", u"a/file://b", u"$CWD/file://a/file://b"},
        {"line breaks inside", u"/ho\nme/\ru/t", u"/home/u/t", u"/home/u/t", u"/ho\nme/\ru/t"},
        {"backslashes", u"file:\\\\\\C:\\t\r", u"file:\\\\\\C:\\t", u"/C:/t", u"$CWD/file:///C:/t\r"},
        {"empty", u"", u"", u"", u""},
        {"tilde alone", u"~", u"~", u"~", u"/home/me"},
        {"tilde and a blank", u"~/my templates", u"~/my templates", u"~/my templates", u"/home/me/my templates"},
        {"tilde and a backslash", u"~\\it's $HOME", u"~\\it's $HOME", u"~/it's $HOME", u"/home/me/it's $HOME"},
        {"tilde inside", u"/opt/~/t", u"/opt/~/t", u"/opt/~/t", u"/opt/~/t"},
        {"tilde and a user", u"~user/t", u"~user/t", u"~user/t", u"$CWD/~user/t"},
        {"tilde last", u"t~", u"t~", u"t~", u"$CWD/t~"},
        {"tilde after a dot", u"./~", u"./~", u"./~", u"$CWD/~"},
        {"relative", u"rel\\templates", u"rel\\templates", u"rel/templates", u"$CWD/rel/templates"},
        {"working directory", u"./.", u"./.", u"./.", u"$CWD"},
    };
    scratch::Environment env;  // restores HOME
    setenv("HOME", "/home/me", 1);
    const WString cwd = scratch::Wide(std::filesystem::current_path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WString sanitized = c.text;
        SanitizeTargetDirectory(sanitized);
        EXPECT_TRUE(sanitized == WString(c.sanitized)) << scratch::Narrow(sanitized);
        EXPECT_TRUE(LocalDirectoryOf(c.text) == WString(c.local)) << scratch::Narrow(LocalDirectoryOf(c.text));
        WString typed = c.typed;
        if (typed.startsWith(u"$CWD")) typed = cwd + typed.substr(4);
        EXPECT_TRUE(CleanTypedDirectory(c.text) == typed) << scratch::Narrow(CleanTypedDirectory(c.text));
    }
}

// Folders yet to be made cannot hold "." or ".." for the kernel or the launcher; existing parts keep theirs.
TEST(DirectoryCleaning, DotsBeyondTheExistingFoldersAreWorkedOutByName) {
    const scratch::Environment env;
    const std::pair<const char*, const char*> cases[] = {
        {"/new/./x", "/new/x"},      {"/new/x/..", "/new"},   {"/new/../other/", "/other/"},
        {"/new/../../x", "/../x"}, {"/../new/./x", "/../new/x"}, {"/new/x", "/new/x"},
    };
    for (const auto& [typed, expected] : cases) {
        const WString cleaned = WithoutDotsInMissingPart(scratch::Wide(env.root() + typed));
        EXPECT_EQ(scratch::Narrow(cleaned), env.root() + expected) << typed;
    }
}

// A kit that names "../../somewhere" does not get to open a file of its choice.
TEST(DescriptionDocumentPath, JoinsWithOneSeparatorAndStaysInside) {
    struct Case {
        const char* name;
        const char16_t* directory;
        const char16_t* document;
        const char16_t* expected;
    };
    const Case cases[] = {
        {"plain", u"/t", u"docs/readme.html", u"/t/docs/readme.html"},
        {"directory with separator", u"/t/", u"docs/readme.html", u"/t/docs/readme.html"},
        {"document with separator", u"/t", u"/docs/readme.html", u"/t/docs/readme.html"},
        {"backslash in document", u"/t", u"docs\\readme.html", u"/t/docs/readme.html"},
        {"backslashes in directory", u"C:\\t\\", u"readme.html", u"C:/t/readme.html"},
        {"no directory", u"", u"readme.html", u"readme.html"},
        {"no document", u"/t/", u"", u""},
        {"document outside", u"/t/", u"../outside.html", u""},
        {"document outside by backslashes", u"/t/", u"docs\\..\\..\\x.html", u""},
        {"document is a folder", u"/t/", u"docs/", u""},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(DescriptionDocumentPath(c.directory, c.document) == WString(c.expected)) << c.name;
    }
}

}  // namespace
