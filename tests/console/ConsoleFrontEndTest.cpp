// The windowless front end where end-to-end tests cannot reach: outcomes, answers, a terminal's progress line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/MessageFlags.h"
#include "console/ConsoleFrontEnd.h"

namespace {

// Everything the front end writes, kept in memory.
struct CapturedStream {
    ~CapturedStream() {
        std::fclose(file);
        std::free(buffer);
    }
    std::string text() {
        std::fflush(file);
        return {buffer, size};
    }

    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* file = open_memstream(&buffer, &size);
};

ProgressReport Report(ErrorCode status, const char16_t* message, std::int32_t percent) {
    return {status, message, percent, {}, {}, {}};
}

const std::string kKept = "Setup: Not every original file could be put back. The originals that remain are kept in this "
                          "folder: ";

// (name, report, status, output)
const std::tuple<const char*, ProgressReport, ExitStatus, std::string> kOutcomes[] = {
    {"installed", {ERR_NONE, u"Copying complete...", 100, {7, 2, 3}, u"", {}}, ExitStatus::Success,
     "Configuration installed successfully.\nFiles written: 7\nFiles already up to date: 2\n"
     "Files replaced (their originals were kept in a backup until the end of the installation): 3\n"},
    {"failed, rolled back", Report(ERR_CANT_WRITE, u"Installation error", 40), ExitStatus::Failed,
     "Setup: Installation error\nAn error occurred during the installation process. Installation canceled. "
     "Template directory has not been changed.\n"},
    {"cancelled, rolled back", Report(ERR_CANCELLED, u"Installation canceled.", 40), ExitStatus::Cancelled,
     "Installation canceled. Template directory has not been changed.\n"},
    {"failed, rollback incomplete", {ERR_CANT_WRITE, u"Installation error", 40, {}, u"/tmp/xorup3", {}},
     ExitStatus::RollbackIncomplete, kKept + "/tmp/xorup3\n"},
    {"cancelled, rollback incomplete",
     {ERR_CANCELLED, u"Installation canceled. Template directory has not been changed.", 40, {}, u"/tmp/xorup4", {}},
     ExitStatus::RollbackIncomplete, kKept + "/tmp/xorup4\n"},
};

TEST(ConsoleFrontEndTest, EachOutcomeGivesItsStatusAndLines) {
    for (const auto& [name, report, status, output] : kOutcomes) {
        CapturedStream out;
        ConsoleFrontEnd console(out.file, false, u"Setup");
        EXPECT_EQ(ExitStatusOf(report), status) << name;
        console.ShowOutcome(report, status);
        EXPECT_EQ(out.text(), output) << name;
    }
}

TEST(ConsoleFrontEndTest, NobodySaysYes) {
    CapturedStream out;
    ConsoleFrontEnd console(out.file, true, u"Setup");
    EXPECT_EQ(console.ShowMessage(u"Disk full %s", MB_ERROR_OK), IDOK);
    EXPECT_EQ(console.ShowMessage(u"Go on?", MB_QUESTION_YESNO), IDNO);
    EXPECT_EQ(out.text(), "Setup: Disk full %s\nSetup: Go on?\n");
}

TEST(ConsoleFrontEndTest, ProgressIsRedrawnInPlaceOnATerminalAtMostFourTimesASecond) {
    // (clock in milliseconds, percent) in the order the progress loop sees them.
    const std::vector<std::pair<std::int64_t, std::int32_t>> ticks = {
        {1000, 0}, {1100, 5}, {1249, 6}, {1250, 7}, {1300, 8}, {1400, 8}, {1600, 10}, {1700, 60}, {1849, 99}, {1900, 100}};
    for (const bool terminal : {true, false}) {
        SCOPED_TRACE(terminal ? "terminal" : "file");
        CapturedStream out;
        std::int64_t now = 0;
        ConsoleFrontEnd console(out.file, terminal, u"Setup", [&now] { return now; });
        for (const auto& [at, percent] : ticks) {
            now = at;
            console.ShowProgress(Report(ERR_NONE, u"/t/file.tpl", percent));
        }
        // A failure report is never drawn as progress.
        console.ShowProgress(Report(ERR_CANCELLED, u"", 100));
        console.ShowOutcome(Report(ERR_CANCELLED, u"", 100), ExitStatus::Cancelled);
        const std::string end = "Installation canceled. Template directory has not been changed.\n";
        const std::string drawn = "\rFiles being copied... 0%\rFiles being copied... 7%\rFiles being copied... 10%"
                                  "\rFiles being copied... 100%\n";
        EXPECT_EQ(out.text(), terminal ? drawn + end : end);
    }
}

// For a screen reader: a line that stays at each new tenth reached, into a file as on a terminal.
TEST(ConsoleFrontEndTest, ProgressLinesComeEveryTenthOfTheWay) {
    CapturedStream out;
    ConsoleFrontEnd console(out.file, false, u"Setup", [] { return 0; });
    console.SetProgressLines(true);
    for (const std::int32_t percent : {0, 0, 5, 10, 19, 20, 47, 48, 99, 100}) {
        console.ShowProgress(Report(ERR_NONE, u"/t/file.tpl", percent));
    }
    console.ShowProgress(Report(ERR_CANCELLED, u"", 100));
    EXPECT_EQ(out.text(), "Files being copied... 0%\nFiles being copied... 10%\nFiles being copied... 20%\n"
                          "Files being copied... 47%\nFiles being copied... 99%\nFiles being copied... 100%\n");
}

}  // namespace
