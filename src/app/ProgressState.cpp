#include "app/ProgressState.h"

#include <cerrno>
#include <utility>

// Holds the semaphore for one scope; a wait interrupted by a signal is retried.
class ProgressState::Lock {
public:
    explicit Lock(sem_t& semaphore) : semaphore_(semaphore) {
        while (sem_wait(&semaphore_) != 0 && errno == EINTR) {
        }
    }
    ~Lock() { sem_post(&semaphore_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    sem_t& semaphore_;
};

ProgressState::ProgressState() { sem_init(&mutex_, 0, 1); }

ProgressState::~ProgressState() { sem_destroy(&mutex_); }

void ProgressState::StartJob(KitReader& job, const WString& target) {
    WString copy = target;
    if (!copy.empty() && copy.back() != u'/' && copy.back() != u'\\') copy += u"/";
    Lock lock(mutex_);
    cancelRequested_ = false;
    status_ = ERR_NONE;
    percent_ = 0;
    counts_ = FileCounts{};
    job_ = &job;
    jobTarget_ = std::move(copy);
}

JobParameters ProgressState::ReadJob() {
    Lock lock(mutex_);
    return JobParameters{job_, jobTarget_};
}

void ProgressState::PostProgress(ErrorCode status, const WString& message, std::int32_t percent,
                                 const WString& keptBackup) {
    {
        Lock lock(mutex_);
        status_ = status;
        message_ = message;
        percent_ = percent;
        keptBackup_ = keptBackup;
    }
    if (wakeUp_) wakeUp_();
}

ProgressReport ProgressState::ReadProgress() {
    Lock lock(mutex_);
    return ProgressReport{status_, message_, percent_, counts_, keptBackup_};
}

void ProgressState::CountEntry(EntryOutcome outcome) {
    Lock lock(mutex_);
    if (outcome == EntryOutcome::UpToDate) {
        ++counts_.upToDate;
        return;
    }
    ++counts_.written;
    if (outcome == EntryOutcome::Replaced) ++counts_.replaced;
}

void ProgressState::RequestCancel() {
    Lock lock(mutex_);
    cancelRequested_ = true;
}

bool ProgressState::IsCancelRequested() {
    Lock lock(mutex_);
    return cancelRequested_;
}

void ProgressState::SetWakeUp(std::function<void()> wakeUp) {
    // Installed before the worker starts, so it needs no lock, like its reads.
    wakeUp_ = std::move(wakeUp);
}
