#include "app/WorkerThread.h"

#include "app/InstallJob.h"
#include "app/InstallTransaction.h"
#include "app/ProgressState.h"
#include "l10n/Messages.h"

WorkerThread::~WorkerThread() { Join(); }

std::int32_t WorkerThread::StartWorker(ProgressState& progress) {
    stopRequested_ = false;
    progressState_ = &progress;
    createResult_ = -1;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return createResult_;
    createResult_ = pthread_create(&thread_, &attributes, &WorkerThread::WorkerMain, this);
    pthread_attr_destroy(&attributes);
    joinable_ = createResult_ == 0;
    return createResult_;
}

void WorkerThread::RequestStop() {
    stopRequested_ = true;
    if (progressState_ != nullptr) progressState_->RequestCancel();
}

void WorkerThread::Join() {
    if (!joinable_) return;
    pthread_join(thread_, nullptr);
    joinable_ = false;
}

void* WorkerThread::WorkerMain(void* self) {
    auto* worker = static_cast<WorkerThread*>(self);
    if (worker->stopRequested_) {
        // Stopped before it began: nothing was touched, say so and end.
        worker->progressState_->PostProgress(ERR_CANCELLED, LoadResString("IDS_CANCEL_FINISH"), 0);
        return nullptr;
    }
    InstallTransaction transaction;
    // Everything the user-interface thread needs has been posted by the job.
    (void)RunInstallJob(transaction, *worker->progressState_);
    return nullptr;
}
