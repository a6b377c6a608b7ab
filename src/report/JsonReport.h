// The machine-readable report of a run: one JSON document that says how the
// run ended (the exit status, its name, what a person was told) and, once the
// run has a summary, what it did or would do to the template directory.
// The document's format is docs/report.schema.json.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/ExitStatus.h"
#include "app/RunSummary.h"
#include "text/WString.h"

struct RunEnding {
    ExitStatus status = ExitStatus::Unexpected;
    WString message;                // the outcome as a person read it
    std::vector<WString> notes;     // everything else the run told, in order
    std::string templateDirectory;  // system bytes; empty when the run never got to one
    std::shared_ptr<const RunSummary> summary;  // null when the run ended before it had one
};

// The status's stable name: "success", "could-not-start", ..., "journal-waiting".
const char* ExitStatusName(ExitStatus status);

// The document on one line, ending in a newline. Texts are JSON strings; a
// path is a string when its bytes are valid UTF-8 and otherwise the object
// {"base64": <its bytes in base64>}, so that no name is changed on the way.
std::string JsonReportDocument(const RunEnding& ending);
