// The command-line forms the installer recognises and those it passes over.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/CommandLine.h"

namespace {

// The options found, in one line: "usecwd silent L=<code> D=<directory> help terminal", each only when set.
std::string Summary(const CommandLineOptions& options) {
    std::string summary;
    if (options.useCurrentDirectory) summary += " usecwd";
    if (options.silent) summary += " silent";
    if (options.hasLanguageOption) summary += " L=" + std::string(options.languageCode.c_str());
    if (options.hasTargetOption) summary += " D=" + std::string(options.targetDirectory.c_str());
    if (options.showHelp) summary += " help";
    if (options.terminal) summary += " terminal";
    if (options.dryRun) summary += " dry-run";
    if (options.verify) summary += " verify";
    if (options.uninstall) summary += " uninstall";
    if (options.json) summary += " json";
    if (options.progressLines) summary += " lines";
    return summary.empty() ? summary : summary.substr(1);
}

// (name, the arguments after the program's name, the options found)
const std::tuple<const char*, std::vector<const char*>, const char*> kCases[] = {
    {"usecwd in capitals", {"USECWD"}, ""},
    {"usecwd with more after it", {"usecwdx"}, ""},
    {"usecwd cut short", {"usecw"}, ""},
    {"usecwd then options", {"usecwd", "/S", "-Lde"}, "usecwd silent L=de"},
    {"usecwd is not an option", {"usecwd", "usecwd"}, "usecwd"},
    {"solidus lower-case s with more after it", {"/silently"}, "silent"},
    {"S not introduced", {"S", "s", "xS"}, ""},
    {"other introducers", {"+S", "\\S", "--S"}, ""},
    {"L then S: S is not seen", {"-Lru", "-S"}, "L=ru"},
    {"S then L", {"-S", "-Lru"}, "silent L=ru"},
    {"two L options: the first counts", {"-LDE", "-Lde"}, "L=DE"},
    {"solidus lower-case l", {"/lru"}, "L=ru"},
    {"L with nothing after it", {"-L"}, "L="},
    {"L with a long code", {"-Lru_RU"}, "L=ru_RU"},
    {"usecwd after the scan starts", {"-x", "usecwd", "/Luk"}, "L=uk"},
    {"empty and bare introducers", {"", "-", "/"}, ""},
    {"D with a path holding blanks", {"-D/opt/my templates"}, "D=/opt/my templates"},
    {"solidus lower-case d with a home path", {"/d~/t"}, "D=~/t"},
    {"D with nothing after it", {"-D"}, "D="},
    {"two D options: the first counts", {"-D/a", "/D/b"}, "D=/a"},
    {"D after L still counts", {"-S", "-Lru", "-D/a"}, "silent L=ru D=/a"},
    {"D after usecwd", {"usecwd", "/D$HOME"}, "usecwd D=$HOME"},
    {"short help form", {"-h"}, "help"},
    {"long help form", {"--help"}, "help"},
    {"solidus question mark after L", {"-Lde", "/?"}, "L=de help"},
    {"help look-alikes", {"-H", "-help", "--HELP", "/h", "?", "-?"}, ""},
    {"hyphen lower-case t", {"-t"}, "terminal"},
    {"solidus T after L and S", {"-S", "-Lru", "/T"}, "silent L=ru terminal"},
    {"run kinds, long forms, after usecwd", {"usecwd", "--dry-run", "--verify", "--uninstall"}, "usecwd dry-run verify uninstall"},
    {"run kinds, short forms, any case, after L", {"-Lde", "-n", "/V", "/u"}, "L=de dry-run verify uninstall"},
    {"run-kind look-alikes", {"-Verbose", "-Nope", "--DRY-RUN", "--uninstal", "/Ux"}, ""},
    {"json after L and D, its look-alikes passed over", {"-S", "-Lru", "-D/a", "--json", "-json", "/json", "--JSON"},
     "silent L=ru D=/a json"},
    {"progress lines after L and S", {"-S", "-Lru", "--progress-lines"}, "silent L=ru lines"},
    {"progress-lines look-alikes", {"--progress-line", "--PROGRESS-LINES", "/progress-lines"}, ""},};

TEST(ParseCommandLine, RecognisesTheDocumentedForms) {
    for (const auto& [name, arguments, options] : kCases) {
        std::vector<const char*> argv{"setup"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        argv.push_back(nullptr);
        EXPECT_EQ(Summary(ParseCommandLine(static_cast<int>(argv.size()) - 1, argv.data())), options) << name;
    }
    const char* const empty[] = {nullptr};
    EXPECT_EQ(Summary(ParseCommandLine(0, empty)), "");  // an empty vector is no harm
}

}  // namespace
