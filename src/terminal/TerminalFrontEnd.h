// The front end of a run in a terminal without a window: the wizard's pages
// as a dialogue on the terminal. The welcome waits for Enter; the directory
// question offers the proposal to edit; the progress line, the outcome and
// the notes are the console's; at the end the description document is named,
// not opened. Ctrl+C at a question ends the dialogue as cancelled. Its
// paragraphs and questions are broken at blanks to the terminal's width.
#pragma once

#include <cstdio>
#include <optional>

#include "app/InstallerFrontEnd.h"
#include "console/ConsoleFrontEnd.h"
#include "terminal/LineReader.h"

class TerminalFrontEnd final : public InstallerFrontEnd {
public:
    // Asks on `in` and writes to `out`, both terminals (not owned); `title`
    // heads the dialogue and prefixes every message.
    // With `lineEditing` false the answers are read as plain lines.
    TerminalFrontEnd(std::FILE* in, std::FILE* out, const WString& title, bool lineEditing = true);

    // As the console: the termination signals only raise the flag that the
    // questions and the controller watch.
    void ConnectController(InstallerController* controller) override;
    bool CanAsk() const override { return true; }
    std::int32_t ShowMessage(const WString& text, std::uint32_t flags) override;
    // Kept for the dialogue, which shows it and waits for Enter.
    void ShowWelcome(const WString& text, bool silent) override;
    // Kept for the dialogue, which asks with it as the editable answer.
    void AskDirectory(const WString& proposal) override;
    // The questions in the controller's order until the end has been shown;
    // an interrupted question says the installation was cancelled.
    void WaitUntilClosed() override;
    void Close() override;
    void BeginInstallation(const WString& directory, ProgressState& progress) override;
    void ShowProgress(const ProgressReport& report) override;
    // As the console's: a new line every tenth of the way instead of one redrawn.
    void SetProgressLines(bool lines) { console_.SetProgressLines(lines); }
    void WaitForProgress(ProgressState& progress) override;
    void ShowOutcome(const ProgressReport& report, ExitStatus status) override;
    void ShowNote(const WString& text) override;
    // The line "<Open description...>: <path>".
    void OfferDescriptionDocument(const WString& path) override;

private:
    // False when the user interrupted instead of pressing Enter.
    bool AskToContinue();
    // The answer, decodable in the locale; empty when the user interrupted.
    std::optional<WString> AskForDirectory();
    void SayCancelled();
    // `prompt`, broken at blanks to the terminal's width, then the line read
    // after it, starting as `answer`; empty when the user interrupted.
    std::optional<TypedLine> Ask(const WString& prompt, const WString& answer);
    void WriteLine(const WString& text);

    std::FILE* out_;
    WString title_;
    ConsoleFrontEnd console_;
    LineReader reader_;
    InstallerController* controller_ = nullptr;
    WString welcome_;
    WString proposal_;
    bool closed_ = false;
};

// `path` with the home directory at its start written "~", as a person would
// type it; unchanged when it does not start there.
WString AbbreviateHome(const WString& path);

// The label of the directory question: the page's "Template directory:"
// without its colon, then the proposal in brackets (a control character
// shown as "?") and the colon.
WString DirectoryQuestion(const WString& shownProposal);
