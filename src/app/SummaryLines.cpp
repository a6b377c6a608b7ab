#include "app/SummaryLines.h"

#include "app/InstallRecord.h"

namespace {

void AddAll(std::vector<std::string>& lines, const char* word, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) lines.push_back(std::string(word) + " " + EscapedPath(path));
}

}  // namespace

std::string EscapedPath(const std::string& path) { return EscapePathBytes(path); }

std::vector<std::string> DryRunLines(const RunSummary& summary) {
    std::vector<std::string> lines;
    AddAll(lines, "create", summary.created);
    AddAll(lines, "replace", summary.replaced);
    AddAll(lines, "up-to-date", summary.upToDate);
    std::size_t asideCount = 0;
    for (const RunSummary::KeptEdit& kept : summary.keptEdits) {
        if (kept.keptAs == kept.path) continue;
        lines.push_back("keep-aside " + EscapedPath(kept.path) + " " + EscapedPath(kept.keptAs));
        ++asideCount;
    }
    for (const RunSummary::KeptEdit& kept : summary.keptEdits) {
        if (kept.keptAs == kept.path) lines.push_back("keep-edited " + EscapedPath(kept.path));
    }
    AddAll(lines, "remove", summary.removed);
    lines.push_back("total create=" + std::to_string(summary.created.size()) +
                    " replace=" + std::to_string(summary.replaced.size()) +
                    " up-to-date=" + std::to_string(summary.upToDate.size()) +
                    " keep-aside=" + std::to_string(asideCount) +
                    " keep-edited=" + std::to_string(summary.keptEdits.size() - asideCount) +
                    " remove=" + std::to_string(summary.removed.size()) +
                    " bytes-written=" + std::to_string(summary.bytesWritten) +
                    " bytes-removed=" + std::to_string(summary.bytesRemoved));
    return lines;
}

std::vector<std::string> VerifyLines(const RunSummary& summary) {
    std::vector<std::string> lines;
    for (const RunSummary::Difference& difference : summary.differences) {
        const char* word = "missing";
        switch (difference.what) {
            case RunSummary::Difference::What::Missing: word = "missing"; break;
            case RunSummary::Difference::What::ContentChanged: word = "changed"; break;
            case RunSummary::Difference::What::TimeChanged: word = "time"; break;
            case RunSummary::Difference::What::NewInKit: word = "new"; break;
        }
        lines.push_back(std::string(word) + " " + EscapedPath(difference.path));
    }
    return lines;
}
