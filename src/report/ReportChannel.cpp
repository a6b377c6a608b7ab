#include "report/ReportChannel.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

ReportChannel::ReportChannel() {
    std::fflush(stdout);
    // Close-on-exec: no child inherits the document's descriptor.
    document_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (document_ >= 0) (void)dup2(STDERR_FILENO, STDOUT_FILENO);  // at worst, text lands in the document's stream
}

ReportChannel::~ReportChannel() {
    if (document_ < 0) return;
    std::fflush(stdout);
    (void)dup2(document_, STDOUT_FILENO);  // the process is ending; nothing left to tell
    close(document_);
}

void ReportChannel::Write(const RunEnding& ending) {
    if (written_) return;
    written_ = true;
    if (document_ < 0) return;
    const std::string document = JsonReportDocument(ending);
    std::size_t done = 0;
    while (done < document.size()) {
        const ssize_t n = write(document_, document.data() + done, document.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // a closed pipe: the reader has gone, nobody to tell
        done += static_cast<std::size_t>(n);
    }
}
