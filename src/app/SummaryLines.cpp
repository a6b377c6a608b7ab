#include "app/SummaryLines.h"

#include "app/InstallRecord.h"

namespace {

// One line at a time, in a buffer that the next line reuses.
class LineMaker {
public:
    explicit LineMaker(const LineSink& sink) : sink_(sink) {}
    void Put(const char* word, std::string_view path, const std::string* second = nullptr) {
        line_.assign(word);
        line_ += ' ';
        AppendEscapedPathBytes(path, &line_);
        if (second != nullptr) {
            line_ += ' ';
            AppendEscapedPathBytes(*second, &line_);
        }
        sink_(line_);
    }
    void PutAll(const char* word, const PathList& paths) {
        for (const std::string_view path : paths) Put(word, path);
    }

private:
    const LineSink& sink_;
    std::string line_;
};

}  // namespace

void DryRunLines(const RunSummary& summary, const LineSink& sink) {
    LineMaker lines(sink);
    lines.PutAll("create", summary.created);
    lines.PutAll("replace", summary.replaced);
    lines.PutAll("up-to-date", summary.upToDate);
    std::size_t asideCount = 0;
    for (const RunSummary::KeptEdit& kept : summary.keptEdits) {
        if (kept.keptAs == kept.path) continue;
        lines.Put("keep-aside", kept.path, &kept.keptAs);
        ++asideCount;
    }
    for (const RunSummary::KeptEdit& kept : summary.keptEdits) {
        if (kept.keptAs == kept.path) lines.Put("keep-edited", kept.path);
    }
    lines.PutAll("remove", summary.removed);
    sink("total create=" + std::to_string(summary.created.size()) +
         " replace=" + std::to_string(summary.replaced.size()) +
         " up-to-date=" + std::to_string(summary.upToDate.size()) +
         " keep-aside=" + std::to_string(asideCount) +
         " keep-edited=" + std::to_string(summary.keptEdits.size() - asideCount) +
         " remove=" + std::to_string(summary.removed.size()) +
         " bytes-written=" + std::to_string(summary.bytesWritten) +
         " bytes-removed=" + std::to_string(summary.bytesRemoved));
}

void VerifyLines(const RunSummary& summary, const LineSink& sink) {
    LineMaker lines(sink);
    for (const RunSummary::Difference& difference : summary.differences) {
        const char* word = "missing";
        switch (difference.what) {
            case RunSummary::Difference::What::Missing: word = "missing"; break;
            case RunSummary::Difference::What::ContentChanged: word = "changed"; break;
            case RunSummary::Difference::What::TimeChanged: word = "time"; break;
            case RunSummary::Difference::What::NewInKit: word = "new"; break;
        }
        lines.Put(word, difference.path);
    }
}
