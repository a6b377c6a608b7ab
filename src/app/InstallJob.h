// The installation job that the worker thread runs: every kit entry is copied
// into the template directory inside one transaction, committed when all went
// well and rolled back on an error or a cancellation.
#pragma once

#include <cstdint>

#include "platform/ErrorCode.h"

struct InstallTransaction;
class ProgressState;

// Runs the job posted in `progress`. Posts a report per entry and counts how
// each was handled, then 100 on success; on failure rolls back and posts the
// failing code with the text of "IDS_INSTALL_ERROR"; on cancellation rolls
// back and posts ERR_CANCELLED with the text of "IDS_CANCEL_FINISH". Returns
// the code it ended with.
ErrorCode RunInstallJob(InstallTransaction& transaction, ProgressState& progress);

// Rolls the transaction back, then posts `code` with the text of
// "IDS_INSTALL_ERROR" and `percent`; returns `code`.
ErrorCode ReportInstallError(InstallTransaction& transaction, ProgressState& progress, ErrorCode code,
                             std::int32_t percent);

// Rolls the transaction back, then posts ERR_CANCELLED with the text of
// "IDS_CANCEL_FINISH"; returns ERR_CANCELLED.
ErrorCode ReportCancellation(InstallTransaction& transaction, ProgressState& progress, std::int32_t percent);
