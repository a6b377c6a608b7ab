#include "app/ReportingFrontEnd.h"

#include <utility>

#include "l10n/Messages.h"
#include "platform/SystemPath.h"

ReportingFrontEnd::ReportingFrontEnd(std::unique_ptr<InstallerFrontEnd> inner,
                                     std::function<void(const RunEnding&)> abruptEnd)
    : inner_(std::move(inner)), abruptEnd_(std::move(abruptEnd)) {}

std::int32_t ReportingFrontEnd::ShowMessage(const WString& text, std::uint32_t flags) {
    told_.push_back(text);
    return inner_->ShowMessage(text, flags);
}

void ReportingFrontEnd::BeginInstallation(const WString& directory, ProgressState& progress) {
    AString system;
    templateDirectory_ = ToSystemPath(directory, &system) ? std::string(system.c_str(), system.size()) : std::string();
    inner_->BeginInstallation(directory, progress);
}

void ReportingFrontEnd::ShowOutcome(const ProgressReport& report, ExitStatus status) {
    outcome_ = OutcomeText(report, status);
    summary_ = report.summary;
    inner_->ShowOutcome(report, status);
}

void ReportingFrontEnd::ShowNote(const WString& text) {
    told_.push_back(text);
    inner_->ShowNote(text);
}

void ReportingFrontEnd::EndAbruptly(const ProgressReport& report, ExitStatus status) {
    if (!outcome_) {
        outcome_ = OutcomeText(report, status);
        summary_ = report.summary;
    }
    abruptEnd_(Ending(status));
    inner_->EndAbruptly(report, status);
}

RunEnding ReportingFrontEnd::Ending(ExitStatus status, std::shared_ptr<const RunSummary> summary) const {
    RunEnding ending;
    ending.status = status;
    ending.notes = told_;
    ending.templateDirectory = templateDirectory_;
    ending.summary = summary_ != nullptr ? summary_ : std::move(summary);
    if (outcome_) {
        ending.message = *outcome_;
    } else if (!ending.notes.empty()) {
        ending.message = ending.notes.back();
        ending.notes.pop_back();
    }
    return ending;
}

WString OutcomeText(const ProgressReport& report, ExitStatus status) {
    const bool uninstall = report.summary != nullptr && report.summary->kind == RunSummary::Kind::Uninstall;
    switch (status) {
        case ExitStatus::Success: return LoadResString(uninstall ? "IDS_UNINSTALL_SUCCESS" : "IDS_SUCCESS_FINISH");
        case ExitStatus::NoRecord: return report.message;  // it says that nothing was changed
        case ExitStatus::Cancelled: return LoadResString("IDS_CANCEL_FINISH");
        case ExitStatus::RollbackIncomplete:
            // Without a kept backup the job's message says what stayed, and where.
            if (report.keptBackup.empty()) return report.message;
            return LoadResString("IDS_BACKUP_KEPT") + u" " + report.keptBackup;
        default: return report.message + u"\n" + LoadResString("IDS_ERROR_FINISH");
    }
}
