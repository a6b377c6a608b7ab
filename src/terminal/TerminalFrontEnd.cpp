#include "terminal/TerminalFrontEnd.h"

#include "app/InstallerController.h"
#include "app/MessageFlags.h"
#include "l10n/Messages.h"
#include "launcher/LauncherPaths.h"
#include "platform/TerminalWidth.h"
#include "text/Convert.h"
#include "text/VisibleText.h"
#include "text/WordWrap.h"

WString AbbreviateHome(const WString& path) {
    WString home = HomeDirectory();
    while (!home.empty() && home.back() == u'/') home.erase(home.length() - 1, 1);
    // A root or unknown home would turn every path into "~...".
    if (home.empty()) return path;
    if (path == home) return WString(u"~");
    if (path.startsWith(home + u"/")) return u"~" + path.substr(home.length());
    return path;
}

WString DirectoryQuestion(const WString& shownProposal) {
    WString label = LoadResString("IDS_TEMPLATE_CATALOG");
    while (!label.empty() && (label.back() == u':' || label.back() == u' ')) label.erase(label.length() - 1, 1);
    return label + u" [" + Visible(shownProposal) + u"]: ";
}

TerminalFrontEnd::TerminalFrontEnd(std::FILE* in, std::FILE* out, const WString& title, bool lineEditing)
    : out_(out), title_(title), console_(out, true, title), reader_(in, out, lineEditing) {}

void TerminalFrontEnd::ConnectController(InstallerController* controller) {
    controller_ = controller;
    console_.ConnectController(controller);
}

std::int32_t TerminalFrontEnd::ShowMessage(const WString& text, std::uint32_t flags) {
    if (flags != MB_QUESTION_YESNO) return console_.ShowMessage(text, flags);
    // A question is answered as the welcome is: Enter says yes, Ctrl+C no.
    WriteLine(text);
    const bool yes = Ask(LoadResString("IDS_TERMINAL_CONTINUE") + u" ", WString()).has_value();
    return yes ? IDYES : IDNO;
}

void TerminalFrontEnd::ShowWelcome(const WString& text, bool) { welcome_ = text; }

void TerminalFrontEnd::AskDirectory(const WString& proposal) { proposal_ = proposal; }

void TerminalFrontEnd::WaitUntilClosed() {
    closed_ = false;
    while (!closed_ && controller_ != nullptr) {
        switch (controller_->state()) {
        case STATE_WELCOME:
            if (!AskToContinue()) return SayCancelled();
            controller_->Next();
            break;
        case STATE_DIRECTORY: {
            const std::optional<WString> answer = AskForDirectory();
            if (!answer) return SayCancelled();
            controller_->AcceptDirectory(*answer);
            break;
        }
        case STATE_SUCCESS:
        case STATE_ERROR:
            controller_->Next();  // Finish
            break;
        default:
            return;
        }
    }
}

// Nothing has been changed yet: the run ends as cancelled.
void TerminalFrontEnd::SayCancelled() { WriteLine(LoadResString("IDS_CANCEL_FINISH")); }

bool TerminalFrontEnd::AskToContinue() {
    WriteLine(title_);
    WriteLine(welcome_);
    return Ask(LoadResString("IDS_TERMINAL_CONTINUE") + u" ", WString()).has_value();
}

std::optional<WString> TerminalFrontEnd::AskForDirectory() {
    WriteLine(WString());
    WriteLine(LoadResString("IDS_DESTINATION_PROMPT"));
    const WString shown = AbbreviateHome(proposal_);
    for (;;) {
        const std::optional<TypedLine> line = Ask(DirectoryQuestion(shown), shown);
        if (!line) return std::nullopt;
        // As on the wizard's page: a path the locale cannot carry whole would
        // name some other directory.
        const WString typed = ToWString(line->text);
        if (line->whole && ToAString(typed) == line->text) return typed;
        console_.ShowMessage(LoadResString("IDS_TERMINAL_BADPATH"), MB_PLAIN_OK);
    }
}

void TerminalFrontEnd::Close() { closed_ = true; }

void TerminalFrontEnd::BeginInstallation(const WString& directory, ProgressState& progress) {
    console_.BeginInstallation(directory, progress);
}

void TerminalFrontEnd::ShowProgress(const ProgressReport& report) { console_.ShowProgress(report); }

void TerminalFrontEnd::WaitForProgress(ProgressState& progress) { console_.WaitForProgress(progress); }

void TerminalFrontEnd::ShowOutcome(const ProgressReport& report, ExitStatus status) {
    console_.ShowOutcome(report, status);
}

void TerminalFrontEnd::ShowNote(const WString& text) { console_.ShowNote(text); }

void TerminalFrontEnd::OfferDescriptionDocument(const WString& path) {
    WriteLine(LoadResString("IDS_SUCCESS_OPENDESCR") + u": " + Visible(path));
}

// The line editor redraws only its last line, and the answer must follow the
// prompt there: the lines before it are written once, as a paragraph.
std::optional<TypedLine> TerminalFrontEnd::Ask(const WString& prompt, const WString& answer) {
    const WString wrapped = WrapPrompt(prompt, answer, TerminalColumns(out_));
    const std::size_t lastLine = wrapped.rfind(u'\n');
    if (lastLine == WString::npos) return reader_.ReadLine(ToAString(wrapped), ToAString(answer));
    std::fprintf(out_, "%s\n", ToAString(wrapped.substr(0, lastLine)).c_str());
    std::fflush(out_);
    return reader_.ReadLine(ToAString(wrapped.substr(lastLine + 1)), ToAString(answer));
}

void TerminalFrontEnd::WriteLine(const WString& text) {
    // A kit's names and file names are part of what is written: their control characters are shown.
    std::fprintf(out_, "%s\n", ToAString(WrapWords(Visible(text, true), TerminalColumns(out_))).c_str());
    std::fflush(out_);
}
