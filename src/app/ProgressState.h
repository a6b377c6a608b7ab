// The record through which the user-interface thread hands the installation
// job to the worker and through which progress, status and message come
// back. Every field is read and written only under the semaphore.
#pragma once

#include <semaphore.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/RunSummary.h"
#include "platform/ErrorCode.h"
#include "text/WString.h"

class KitReader;

// What the job has done with its entries so far.
struct FileCounts {
    std::uint32_t written = 0;   // files created or replaced
    std::uint32_t upToDate = 0;  // files left alone: as new as the kit's copy or newer
    std::uint32_t replaced = 0;  // of the written ones, those whose original went into the backup
};

struct ProgressReport {
    ErrorCode status = ERR_NONE;
    WString message;
    std::int32_t percent = 0;
    FileCounts counts;
    WString keptBackup;  // the backup folder a rollback could not empty; empty when all went back
    std::shared_ptr<const RunSummary> summary;  // posted with the report that ends the job; null before
};

struct JobParameters {
    KitReader* job = nullptr;
    WString target;
    RunSummary::Kind kind = RunSummary::Kind::Install;  // an installation or an uninstallation
};

class ProgressState {
public:
    ProgressState();  // InitProgressState
    ~ProgressState();
    ProgressState(const ProgressState&) = delete;
    ProgressState& operator=(const ProgressState&) = delete;

    // UI thread: clears the cancel flag, zeroes status, percent and counts, stores the
    // job and a copy of the target with a separator appended when it lacks one.
    void StartJob(KitReader& job, const WString& target, RunSummary::Kind kind = RunSummary::Kind::Install);
    // Worker: the job and a copy of its target.
    JobParameters ReadJob();
    // Worker (and the dialog's constructor): stores them with the kept backup
    // folder (empty unless a rollback could not put everything back), then
    // wakes the user-interface thread if a wake-up was installed and the
    // status or the percentage changed (a new message alone is not worth a wake-up).
    void PostProgress(ErrorCode status, const WString& message, std::int32_t percent,
                      const WString& keptBackup = WString());
    // Waits until a report ends the job (a status other than 0, or 100
    // percent), at most `milliseconds`, or less when a signal interrupts it;
    // true once the job has ended.
    bool WaitForEnd(std::int32_t milliseconds);
    // UI thread: copies of status, message, percent, counts and kept backup.
    ProgressReport ReadProgress();
    // Worker: adds what one of the job's threads has counted.
    void AddCounts(const FileCounts& counts);
    // Worker: what the run did, before the report that ends the job; UI
    // thread, once the job has ended: the same with what came after it.
    void SetSummary(std::shared_ptr<const RunSummary> summary);
    // UI thread: asks the running job to stop after the entry in hand.
    void RequestCancel();
    // Worker: whether a cancellation has been asked for.
    bool IsCancelRequested();
    // Called after a PostProgress that changed the status or the percentage,
    // outside the lock, on the posting thread; `endsTheJob` for the report
    // that ended the job. Install before the worker starts.
    using WakeUp = std::function<void(bool endsTheJob)>;
    void SetWakeUp(WakeUp wakeUp);

private:
    class Lock;

    sem_t mutex_;
    // Posted once by the report that ends the job; a waiter puts it back.
    sem_t ended_;
    bool endPosted_ = false;
    KitReader* job_ = nullptr;
    WString jobTarget_;
    RunSummary::Kind jobKind_ = RunSummary::Kind::Install;
    bool cancelRequested_ = false;
    ErrorCode status_ = ERR_NONE;
    WString message_;
    std::int32_t percent_ = 0;
    FileCounts counts_;
    WString keptBackup_;
    std::shared_ptr<const RunSummary> summary_;
    WakeUp wakeUp_;
};
