// A recorded location as proposed and as compared, a typed one, and the description document's path.
#include <filesystem>
#include <tuple>

#include "app/InstallerController.h"
#include "launcher/LocationCleaning.h"
#include "launcher/ScratchDirectory.h"

namespace {

// Remote addresses are never proposed; only a leading "~" component names the home.
TEST(DirectoryCleaning, RecordedAndTypedDirectories) {
    // (name, text, sanitized, local, typed: HOME is /home/me, $CWD stands for the working directory)
    const std::tuple<const char*, const char16_t*, const char16_t*, const char16_t*, const char16_t*> cases[] = {
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
    for (const auto& [name, text, expectedSanitized, local, expectedTyped] : cases) {
        SCOPED_TRACE(name);
        WString sanitized = text;
        SanitizeTargetDirectory(sanitized);
        EXPECT_TRUE(sanitized == WString(expectedSanitized)) << scratch::Narrow(sanitized);
        EXPECT_TRUE(LocalDirectoryOf(text) == WString(local)) << scratch::Narrow(LocalDirectoryOf(text));
        WString typed = expectedTyped;
        if (typed.startsWith(u"$CWD")) typed = cwd + typed.substr(4);
        EXPECT_TRUE(CleanTypedDirectory(text) == typed) << scratch::Narrow(CleanTypedDirectory(text));
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
    // (name, directory, document, the joined path)
    const std::tuple<const char*, const char16_t*, const char16_t*, const char16_t*> cases[] = {
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
    for (const auto& [name, directory, document, expected] : cases) {
        EXPECT_TRUE(DescriptionDocumentPath(directory, document) == WString(expected)) << name;
    }
}

}  // namespace
