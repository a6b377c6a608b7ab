#include "console/ConsoleFrontEnd.h"

#include <chrono>
#include <utility>

#include "l10n/Messages.h"
#include "platform/TerminalWidth.h"
#include "text/Convert.h"
#include "text/VisibleText.h"
#include "text/WordWrap.h"
#include "app/MessageFlags.h"

namespace {

// A person reads a few updates a second; more only costs the copy time.
constexpr std::int64_t kRedrawIntervalMs = 250;
constexpr std::int32_t kPollIntervalMs = 100;
constexpr std::uint32_t kButtonsMask = 0xFFu;
constexpr std::uint32_t kButtonsYesNo = 0x02u;

}  // namespace

ConsoleFrontEnd::ConsoleFrontEnd(std::FILE* out, bool terminal, const WString& title, Clock clock)
    : out_(out), terminal_(terminal), title_(title), clock_(std::move(clock)) {}

std::int64_t ConsoleFrontEnd::SteadyMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

std::int32_t ConsoleFrontEnd::ShowMessage(const WString& text, std::uint32_t flags) {
    EndProgressLine();
    WriteLine(title_ + u": " + text);
    // Nobody can answer: the answer that commits to nothing more.
    return (flags & kButtonsMask) == kButtonsYesNo ? IDNO : IDOK;
}

void ConsoleFrontEnd::ConnectController(InstallerController* controller) {
    if (controller == nullptr) {
        signals_.reset();
    } else if (signals_ == nullptr) {
        signals_ = std::make_unique<TerminationSignals>();
    }
}

void ConsoleFrontEnd::ShowWelcome(const WString&, bool) {}

void ConsoleFrontEnd::AskDirectory(const WString&) {}

void ConsoleFrontEnd::WaitUntilClosed() {}

void ConsoleFrontEnd::Close() {}

void ConsoleFrontEnd::BeginInstallation(const WString& directory, ProgressState&) {
    WriteLine(LoadResString("IDS_TEMPLATE_CATALOG") + u" " + Visible(directory));
}

void ConsoleFrontEnd::ShowProgress(const ProgressReport& report) {
    if (progressLines_) {
        if (report.status == ERR_NONE) WriteProgressLine(report.percent);
        return;
    }
    if (!terminal_ || report.status != ERR_NONE || report.percent == drawnPercent_) return;
    const std::int64_t now = clock_();
    if (progressLineOpen_ && now - drawnAt_ < kRedrawIntervalMs) return;
    std::fprintf(out_, "\r%s", ToAString(ProgressLine(report.percent)).c_str());
    std::fflush(out_);
    progressLineOpen_ = true;
    drawnPercent_ = report.percent;
    drawnAt_ = now;
}

// The wait ends early when the job does, so its end is noticed at once; the
// interval only bounds how late a signal or a redraw of the line can be.
void ConsoleFrontEnd::WaitForProgress(ProgressState& progress) { progress.WaitForEnd(kPollIntervalMs); }

void ConsoleFrontEnd::ShowOutcome(const ProgressReport& report, ExitStatus status) {
    EndProgressLine();
    switch (status) {
    case ExitStatus::Success:
        // What an uninstallation removed and kept follows in the run's note.
        if (report.summary != nullptr && report.summary->kind == RunSummary::Kind::Uninstall) {
            WriteLine(LoadResString("IDS_UNINSTALL_SUCCESS"));
            return;
        }
        WriteLine(LoadResString("IDS_SUCCESS_FINISH"));
        WriteCount("IDS_SUMMARY_WRITTEN", report.counts.written);
        WriteCount("IDS_SUMMARY_UPTODATE", report.counts.upToDate);
        WriteCount("IDS_SUMMARY_REPLACED", report.counts.replaced);
        return;
    case ExitStatus::Cancelled:
        WriteLine(LoadResString("IDS_CANCEL_FINISH"));
        return;
    case ExitStatus::NoRecord:
        WriteLine(title_ + u": " + report.message);  // it says that nothing was changed
        return;
    case ExitStatus::RollbackIncomplete:
        // The directory has changed: the job's message (a cancellation's or
        // a full disk's) may claim otherwise, so only where the rest is is said,
        // as the window's box says it.
        WriteLine(title_ + u": " +
                  (report.keptBackup.empty() ? report.message
                                             : LoadResString("IDS_BACKUP_KEPT") + u" " + Visible(report.keptBackup)));
        return;
    default:
        WriteLine(title_ + u": " + report.message);
        WriteLine(LoadResString("IDS_ERROR_FINISH"));
        return;
    }
}

void ConsoleFrontEnd::WriteProgressLine(std::int32_t percent) {
    if (percent < nextProgressLine_) return;
    WriteLine(LoadResString("IDS_PROGRESS_START") + u" " + IntToWString(percent, 10) + u"%");
    nextProgressLine_ = (percent / 10 + 1) * 10;
}

// A line the terminal wraps is redrawn below itself, leaving the rest behind;
// one that fills the last column wraps on some terminals at the next
// character. So it stays short of the width, the percentage whole.
WString ConsoleFrontEnd::ProgressLine(std::int32_t percent) const {
    const WString figure = u" " + IntToWString(percent, 10) + u"%";
    const WString line = LoadResString("IDS_PROGRESS_START") + figure;
    const std::size_t columns = TerminalColumns(out_);
    return columns > 1 ? ShortenLine(line, figure.length(), columns - 1) : line;
}

void ConsoleFrontEnd::WriteLine(const WString& text) {
    // A kit's names and file names are part of what is written: their control characters are shown.
    const std::size_t columns = terminal_ ? TerminalColumns(out_) : 0;
    std::fprintf(out_, "%s\n", ToAString(WrapWords(Visible(text, true), columns)).c_str());
    std::fflush(out_);
}

void ConsoleFrontEnd::WriteCount(const char* labelId, std::uint32_t count) {
    WriteLine(LoadResString(labelId) + u" " + IntToWString(static_cast<std::int32_t>(count), 10));
}

void ConsoleFrontEnd::EndProgressLine() {
    if (!progressLineOpen_) return;
    std::fputc('\n', out_);
    progressLineOpen_ = false;
}

void ConsoleFrontEnd::ShowNote(const WString& text) { WriteLine(title_ + u": " + text); }

void ConsoleFrontEnd::OfferDescriptionDocument(const WString& path) { WriteLine(title_ + u": " + Visible(path)); }
