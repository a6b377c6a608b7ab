// Standard output reserved for the one machine-readable document of a run:
// from construction on, whatever else writes to descriptor 1 (the usage
// text, a child process, a library's warning) lands on standard error, and
// the document alone goes to the original standard output.
#pragma once

#include "report/JsonReport.h"

class ReportChannel {
public:
    // Takes standard output over. Without a usable standard output the
    // document is simply not written.
    ReportChannel();
    // Gives descriptor 1 back to the original standard output.
    ~ReportChannel();
    ReportChannel(const ReportChannel&) = delete;
    ReportChannel& operator=(const ReportChannel&) = delete;

    // Writes the document for `ending` the first time it is called (whatever
    // ends the run first says how it ended); later calls write nothing.
    // Also called on the way to _exit, where no destructor runs.
    void Write(const RunEnding& ending);
    bool Written() const { return written_; }

private:
    int document_ = -1;
    bool written_ = false;
};
