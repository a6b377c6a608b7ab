// The command-line forms the installer recognises and those it passes over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

struct CommandLineCase {
    const char* name;
    std::vector<const char*> arguments;  // after the program name
    bool useCurrentDirectory;
    bool silent;
    bool hasLanguageOption;
    const char* languageCode;
    bool hasTargetOption = false;
    const char* targetDirectory = "";
    bool showHelp = false;
    bool terminal = false;
};

const CommandLineCase kCases[] = {
    {"no arguments", {}, false, false, false, ""},
    {"usecwd first", {"usecwd"}, true, false, false, ""},
    {"usecwd second is passed over", {"-s", "usecwd"}, false, true, false, ""},
    {"usecwd in capitals", {"USECWD"}, false, false, false, ""},
    {"usecwd with more after it", {"usecwdx"}, false, false, false, ""},
    {"usecwd cut short", {"usecw"}, false, false, false, ""},
    {"usecwd then options", {"usecwd", "/S", "-Lde"}, true, true, true, "de"},
    {"usecwd is not an option", {"usecwd", "usecwd"}, true, false, false, ""},
    {"solidus lower-case s with more after it", {"/silently"}, false, true, false, ""},
    {"hyphen upper-case S", {"-S"}, false, true, false, ""},
    {"S not introduced", {"S", "s", "xS"}, false, false, false, ""},
    {"other introducers", {"+S", "\\S", "--S"}, false, false, false, ""},
    {"L then S: S is not seen", {"-Lru", "-S"}, false, false, true, "ru"},
    {"S then L", {"-S", "-Lru"}, false, true, true, "ru"},
    {"two L options: the first counts", {"-LDE", "-Lde"}, false, false, true, "DE"},
    {"solidus lower-case l", {"/lru"}, false, false, true, "ru"},
    {"L with nothing after it", {"-L"}, false, false, true, ""},
    {"L with a long code", {"-Lru_RU"}, false, false, true, "ru_RU"},
    {"usecwd after the scan starts", {"-x", "usecwd", "/Luk"}, false, false, true, "uk"},
    {"empty and bare introducers", {"", "-", "/"}, false, false, false, ""},
    {"toolkit options are passed over", {"--display=:1", "--sync"}, false, false, false, ""},
    {"D with a path holding blanks", {"-D/opt/my templates"}, false, false, false, "", true, "/opt/my templates"},
    {"solidus lower-case d with a home path", {"/d~/t"}, false, false, false, "", true, "~/t"},
    {"D with nothing after it", {"-D"}, false, false, false, "", true, ""},
    {"two D options: the first counts", {"-D/a", "/D/b"}, false, false, false, "", true, "/a"},
    {"D after L still counts", {"-S", "-Lru", "-D/a"}, false, true, true, "ru", true, "/a"},
    {"D after usecwd", {"usecwd", "/D$HOME"}, true, false, false, "", true, "$HOME"},
    {"short help form", {"-h"}, false, false, false, "", false, "", true},
    {"long help form", {"--help"}, false, false, false, "", false, "", true},
    {"solidus question mark after L", {"-Lde", "/?"}, false, false, true, "de", false, "", true},
    {"help look-alikes", {"-H", "-help", "--HELP", "/h", "?", "-?"}, false, false, false, ""},
    {"hyphen lower-case t", {"-t"}, false, false, false, "", false, "", false, true},
    {"solidus T after L and S", {"-S", "-Lru", "/T"}, false, true, true, "ru", false, "", false, true},
};

CommandLineOptions Parse(const CommandLineCase& c) {
    std::vector<const char*> argv{"setup"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);
    return ParseCommandLine(argc, argv.data());
}

TEST(ParseCommandLine, RecognisesTheDocumentedForms) {
    for (const CommandLineCase& c : kCases) {
        const CommandLineOptions options = Parse(c);
        EXPECT_EQ(options.useCurrentDirectory, c.useCurrentDirectory) << c.name;
        EXPECT_EQ(options.silent, c.silent) << c.name;
        EXPECT_EQ(options.hasLanguageOption, c.hasLanguageOption) << c.name;
        EXPECT_EQ(std::string(options.languageCode.c_str(), options.languageCode.length()), c.languageCode) << c.name;
        EXPECT_EQ(options.hasTargetOption, c.hasTargetOption) << c.name;
        EXPECT_EQ(std::string(options.targetDirectory.c_str()), c.targetDirectory) << c.name;
        EXPECT_EQ(options.showHelp, c.showHelp) << c.name;
        EXPECT_EQ(options.terminal, c.terminal) << c.name;
    }
}

TEST(ParseCommandLine, ToleratesAnEmptyVector) {
    const char* const argv[] = {nullptr};
    const CommandLineOptions options = ParseCommandLine(0, argv);
    EXPECT_FALSE(options.useCurrentDirectory);
    EXPECT_FALSE(options.silent);
    EXPECT_FALSE(options.hasLanguageOption);
}

}  // namespace
