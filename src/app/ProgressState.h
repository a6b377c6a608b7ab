// The record through which the user-interface thread hands the installation
// job to the worker and through which progress, status and message come
// back. Every field is read and written only under the semaphore.
#pragma once

#include <semaphore.h>

#include <cstdint>
#include <functional>

#include "platform/ErrorCode.h"
#include "text/WString.h"

class KitReader;

struct ProgressReport {
    ErrorCode status = ERR_NONE;
    WString message;
    std::int32_t percent = 0;
};

struct JobParameters {
    KitReader* job = nullptr;
    WString target;
};

class ProgressState {
public:
    ProgressState();  // InitProgressState
    ~ProgressState();
    ProgressState(const ProgressState&) = delete;
    ProgressState& operator=(const ProgressState&) = delete;

    // UI thread: clears the cancel flag, zeroes status and percent, stores the
    // job and a copy of the target with a separator appended when it lacks one.
    void StartJob(KitReader& job, const WString& target);
    // Worker: the job and a copy of its target.
    JobParameters ReadJob();
    // Worker (and the dialog's constructor): stores all three, then wakes the
    // user-interface thread if a wake-up was installed.
    void PostProgress(ErrorCode status, const WString& message, std::int32_t percent);
    // UI thread: copies of status, message and percent.
    ProgressReport ReadProgress();
    // UI thread: asks the running job to stop after the entry in hand.
    void RequestCancel();
    // Worker: whether a cancellation has been asked for.
    bool IsCancelRequested();
    // Called after every PostProgress, outside the lock, on the posting thread.
    // Install before the worker starts.
    void SetWakeUp(std::function<void()> wakeUp);

private:
    class Lock;

    sem_t mutex_;
    KitReader* job_ = nullptr;
    WString jobTarget_;
    bool cancelRequested_ = false;
    ErrorCode status_ = ERR_NONE;
    WString message_;
    std::int32_t percent_ = 0;
    std::function<void()> wakeUp_;
};
