// The windowless front end where end-to-end tests cannot reach: outcomes, answers, a terminal's progress line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/MessageFlags.h"
#include "app/ProgressState.h"
#include "console/ConsoleFrontEnd.h"
#include "terminal/TerminalFrontEnd.h"

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

// A terminal's line is redrawn at most four times a second; a file gets none, unless progress lines are asked
// for (a screen reader's): then a line that stays at each new tenth reached, on a terminal or not.
TEST(ConsoleFrontEndTest, ProgressIsRedrawnOnATerminalAtMostFourTimesASecondOrWrittenEveryTenth) {
    // (clock in milliseconds, percent) in the order the progress loop sees them.
    const std::vector<std::pair<std::int64_t, std::int32_t>> ticks = {
        {1000, 0}, {1100, 5}, {1249, 6}, {1250, 7}, {1300, 8}, {1400, 8}, {1600, 10}, {1700, 60}, {1849, 99}, {1900, 100}};
    const std::string p = "Files being copied... ";
    // (terminal, progress lines, what comes before the outcome)
    const std::tuple<bool, bool, std::string> kKinds[] = {
        {true, false, "\r" + p + "0%\r" + p + "7%\r" + p + "10%\r" + p + "100%\n"},
        {false, false, ""},
        {false, true, p + "0%\n" + p + "10%\n" + p + "60%\n" + p + "99%\n" + p + "100%\n"}};
    for (const auto& [terminal, lines, drawn] : kKinds) {
        SCOPED_TRACE(drawn);
        CapturedStream out;
        std::int64_t now = 0;
        ConsoleFrontEnd console(out.file, terminal, u"Setup", [&now] { return now; });
        console.SetProgressLines(lines);
        for (const auto& [at, percent] : ticks) {
            now = at;
            console.ShowProgress(Report(ERR_NONE, u"/t/file.tpl", percent));
        }
        // A failure report is never drawn as progress.
        console.ShowProgress(Report(ERR_CANCELLED, u"", 100));
        console.ShowOutcome(Report(ERR_CANCELLED, u"", 100), ExitStatus::Cancelled);
        EXPECT_EQ(out.text(), drawn + "Installation canceled. Template directory has not been changed.\n");
    }
}

// A kit's names and file names reach the terminal with their control characters (C0, DEL, C1) shown, never
// obeyed; a message's own line breaks stay. The terminal front end writes in the console's words and its own.
TEST(ConsoleFrontEndTest, ControlCharactersOfNamesAreShownNotSent) {
    const WString name = u"t\x1b]0;owned\x07\x9b" u"2J\x7f\n";
    for (const bool terminal : {false, true}) {
        CapturedStream out, in;
        std::unique_ptr<InstallerFrontEnd> front;
        if (terminal) front = std::make_unique<TerminalFrontEnd>(in.file, out.file, u"Setup");
        if (!terminal) front = std::make_unique<ConsoleFrontEnd>(out.file, false, u"Setup");
        ProgressState progress;
        front->BeginInstallation(name, progress);
        front->OfferDescriptionDocument(name);
        front->ShowOutcome({ERR_CANT_WRITE, u"", 0, {}, name, {}}, ExitStatus::RollbackIncomplete);
        front->ShowMessage(u"two\nlines " + name, MB_PLAIN_OK);  // a notice naming a directory
        const std::string text = out.text();
        std::size_t names = 0;
        for (std::size_t at = 0; (at = text.find("t^[]0;owned^GM-^[2J^?^J\n", at)) != std::string::npos; ++at) ++names;
        EXPECT_EQ(names, 3u) << text;  // the directory, the document, the backup folder: one line each
        EXPECT_NE(text.find("two\nlines t^[]0;owned^GM-^[2J^?\n"), std::string::npos) << text;
    }
}

}  // namespace
