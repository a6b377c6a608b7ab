// A front end around the one that shows the run: it passes every call on
// and keeps what the machine-readable report needs, the template directory,
// what the run told and the outcome with the job's summary.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/InstallerFrontEnd.h"
#include "report/JsonReport.h"

class ReportingFrontEnd final : public InstallerFrontEnd {
public:
    // Shows everything through `inner`; `abruptEnd` gets the run's ending
    // when the process is about to end without returning (see EndAbruptly).
    ReportingFrontEnd(std::unique_ptr<InstallerFrontEnd> inner, std::function<void(const RunEnding&)> abruptEnd);

    // How the run ended with `status`: the outcome's text and summary when
    // the job reached its end; otherwise the last thing the run told is the
    // message, and `summary` (what a run without a job made, or null) is the summary.
    RunEnding Ending(ExitStatus status, std::shared_ptr<const RunSummary> summary = nullptr) const;

    void ConnectController(InstallerController* controller) override { inner_->ConnectController(controller); }
    bool CanAsk() const override { return inner_->CanAsk(); }
    std::int32_t ShowMessage(const WString& text, std::uint32_t flags) override;
    void ShowWelcome(const WString& text, bool silent) override { inner_->ShowWelcome(text, silent); }
    void AskDirectory(const WString& proposal) override { inner_->AskDirectory(proposal); }
    void WaitUntilClosed() override { inner_->WaitUntilClosed(); }
    void Close() override { inner_->Close(); }
    void BeginInstallation(const WString& directory, ProgressState& progress) override;
    void ShowProgress(const ProgressReport& report) override { inner_->ShowProgress(report); }
    void WaitForProgress(ProgressState& progress) override { inner_->WaitForProgress(progress); }
    void ShowOutcome(const ProgressReport& report, ExitStatus status) override;
    void ShowNote(const WString& text) override;
    void OfferDescriptionDocument(const WString& path) override { inner_->OfferDescriptionDocument(path); }
    void EndAbruptly(const ProgressReport& report, ExitStatus status) override;

private:
    std::unique_ptr<InstallerFrontEnd> inner_;
    std::function<void(const RunEnding&)> abruptEnd_;
    std::vector<WString> told_;
    std::string templateDirectory_;
    std::optional<WString> outcome_;
    std::shared_ptr<const RunSummary> summary_;
};

// What a person reads as the outcome of a job that ended as `report` says
// with `status`: the words of the console's last lines.
WString OutcomeText(const ProgressReport& report, ExitStatus status);
