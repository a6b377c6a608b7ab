// A verification: the installed files compared with the kit's record,
// read-only and without the directory's lock (it reads nothing another run
// could leave half-written: a file is always either the old or the new one).
#pragma once

#include <string>

#include "app/InstallRecord.h"
#include "app/RecordReadAhead.h"
#include "app/RunSummary.h"
#include "kit/KitReader.h"

struct VerificationResult {
    RecordState record = RecordState::Missing;  // differences are only looked for with a Found record
    RunSummary summary;                         // kind Verify, its differences in the record's order
};

// Compares every recorded file below `target` (absolute, system bytes, "/"
// at the end) with the record: missing, another content (size or checksum),
// or only another time; then every file of `kit` the record does not list
// and that is not there. A file whose size and time are the recorded ones
// and whose status has not changed since the record was put in place is not
// read again. Changes nothing. The record is taken from `ahead` where it
// read this directory's.
VerificationResult VerifyInstallation(const std::string& target, const KitReader& kit,
                                      RecordReadAhead* ahead = nullptr);
