// The one worker thread of an installer run: it runs the installation job
// once and never touches the toolkit. It is joined before its owner goes
// away, so a commit or a rollback always runs to its end.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstdint>

class ProgressState;

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread();  // joins a started thread
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the thread on `progress`; returns the creation result (0 when
    // the thread runs), also kept in createResult().
    std::int32_t StartWorker(ProgressState& progress);
    // Asks the job to stop after the entry in hand and roll back.
    void RequestStop();
    // Waits for a started thread to end; does nothing otherwise.
    void Join();
    std::int32_t createResult() const { return createResult_; }

private:
    static void* WorkerMain(void* self);

    ProgressState* progressState_ = nullptr;
    std::atomic<bool> stopRequested_{false};
    pthread_t thread_{};
    std::int32_t createResult_ = -1;
    bool joinable_ = false;
};
