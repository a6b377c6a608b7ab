// The front end of a silent run without a display: every message, the
// template directory and the outcome with its file counts become lines on one
// stream (standard error); while the job runs, a progress line is redrawn in
// place, only when the stream is a terminal and at most a few times a second,
// or, for a screen reader, written as a new line every tenth of the way. On a
// terminal, lines are broken at blanks to its width, and the line redrawn in
// place is cut short of it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/InstallerFrontEnd.h"
#include "app/TerminationSignals.h"

class ConsoleFrontEnd final : public InstallerFrontEnd {
public:
    // Milliseconds on a clock that never goes back.
    using Clock = std::function<std::int64_t()>;

    // Writes to `out` (not owned); `terminal` says whether a line may be
    // redrawn in place; `title` prefixes every message.
    ConsoleFrontEnd(std::FILE* out, bool terminal, const WString& title, Clock clock = SteadyMilliseconds);

    // The termination signals only raise the flag the controller polls.
    void ConnectController(InstallerController* controller) override;
    // No: nobody is there to answer.
    bool CanAsk() const override { return false; }
    // "<title>: <text>"; answers IDOK, or IDNO to a question.
    std::int32_t ShowMessage(const WString& text, std::uint32_t flags) override;
    // Nothing: the welcome is for a person watching a window.
    void ShowWelcome(const WString& text, bool silent) override;
    // Nothing: the controller never asks where nobody answers.
    void AskDirectory(const WString& proposal) override;
    // Returns at once: nobody is there to close anything.
    void WaitUntilClosed() override;
    void Close() override;
    // The line "<Template directory:> <directory>".
    void BeginInstallation(const WString& directory, ProgressState& progress) override;
    // Redraws the progress line on a terminal when the percent changed and
    // the last drawing is old enough; writes nothing otherwise. With progress
    // lines: a line of its own when the percent reaches the next tenth, on a
    // terminal or not.
    void ShowProgress(const ProgressReport& report) override;
    // Progress as lines that stay, which a screen reader reads as they come.
    void SetProgressLines(bool lines) { progressLines_ = lines; }
    // Sleeps a tenth of a second.
    void WaitForProgress(ProgressState& progress) override;
    // Ends an open progress line, then the outcome: on success the success
    // text and the three counts, otherwise the reported message and the
    // text saying what became of the template directory.
    void ShowOutcome(const ProgressReport& report, ExitStatus status) override;
    // "<title>: <text>".
    void ShowNote(const WString& text) override;
    // The line "<title>: <path>": there is no viewer to open it in.
    void OfferDescriptionDocument(const WString& path) override;

    static std::int64_t SteadyMilliseconds();

private:
    void WriteLine(const WString& text);
    void WriteCount(const char* labelId, std::uint32_t count);
    void EndProgressLine();
    void WriteProgressLine(std::int32_t percent);
    // The line redrawn in place, within the terminal's width when it is known.
    WString ProgressLine(std::int32_t percent) const;

    std::FILE* out_;
    bool terminal_;
    WString title_;
    Clock clock_;
    bool progressLines_ = false;
    std::int32_t nextProgressLine_ = 0;  // the percent that earns the next progress line
    bool progressLineOpen_ = false;
    std::int32_t drawnPercent_ = -1;
    std::int64_t drawnAt_ = 0;
    std::unique_ptr<TerminationSignals> signals_;
};
